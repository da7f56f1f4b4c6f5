// Drawing the body: the textured surfaces (while meshVisible), the skeleton
// lines, then the attached models placed at their bones. Only draw calls on
// the buffers the last frame change filled; nothing is recomputed.
#include "model/mdc.h"
#include "model/mds.h"

void MDS::draw(IDirect3DDevice8* device) {
    if (!loaded_) return;
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);

    if (meshVisible) {
        for (std::uint32_t s = 0; s < index_.surfaces.size(); ++s) {
            IDirect3DVertexBuffer8* vb = vertexBuffers_[s];
            IDirect3DIndexBuffer8* ib = indexBuffers_[s];
            if (!vb || !ib) continue;
            IDirect3DTexture8* texture = s < textures_.size() ? textures_[s] : nullptr;
            device->SetStreamSource(0, vb, kModelVertexStride);
            device->SetVertexShader(kModelVertexFvf);
            device->SetIndices(ib, 0);
            device->SetTexture(0, texture);
            // The texture alone: the vertex colour does not tint it.
            device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
            device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
            device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
            device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(index_.surfaces[s].header.NumVertices), 0,
                                         static_cast<UINT>(index_.surfaces[s].header.NumTriangles));
        }
    }
    device->SetTexture(0, nullptr);

    if (skeletonLines_) {
        device->SetStreamSource(0, skeletonLines_, kModelVertexStride);
        device->SetVertexShader(kModelVertexFvf);
        device->DrawPrimitive(D3DPT_LINELIST, 0, static_cast<UINT>(poses_.size()));
    }

    for (int slot = BeltLeft; slot < SlotCount; ++slot) {
        MDC* model = slots_[slot];
        if (!model) continue;
        attachToBone(model, kSlotBone[slot]);
        model->draw(device);
    }
}
