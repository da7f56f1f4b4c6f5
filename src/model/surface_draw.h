// Binding one surface for an indexed draw, the same for every model that
// draws ModelVertex buffers: the body, the MDC models and the drawables of
// src/drawables. Stream 0, the vertex format and the indices; then texture
// stage 0: with textures, the surface's texture alone (the vertex colour
// does not tint it); without, the vertex colour.
#pragma once

#include "model/model_vertex.h"
#include "platform/d3d8/d3d8.h"

inline void bindSurface(IDirect3DDevice8* device, IDirect3DVertexBuffer8* vb, IDirect3DIndexBuffer8* ib,
                        bool textured, IDirect3DTexture8* texture) {
    device->SetStreamSource(0, vb, kModelVertexStride);
    device->SetVertexShader(kModelVertexFvf);
    device->SetIndices(ib, 0);
    if (textured) {
        device->SetTexture(0, texture);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    } else {
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    }
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
}
