// Drawing the body: the textured surfaces (while meshVisible), the skeleton
// lines, then the attached models placed at their bones. Only draw calls on
// the buffers the last frame change filled; nothing is recomputed.
#include "model/mdc.h"
#include "model/mds.h"
#include "model/surface_draw.h"

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
            bindSurface(device, vb, ib, true, texture);
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
