// State setters of the OpenGL device: they only record what Direct3D 8
// would hold; the draw calls apply it.
#include "platform/gl/gl_device.h"

namespace {

// Swaps a held reference for another one (either may be null).
template <class T>
void hold(T*& slot, T* next) {
    if (next != nullptr) {
        next->AddRef();
    }
    if (slot != nullptr) {
        slot->Release();
    }
    slot = next;
}

}  // namespace

HRESULT GlDevice::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
    if (pMatrix == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    switch (State) {
        case D3DTS_WORLD: world_ = *pMatrix; break;
        case D3DTS_VIEW: view_ = *pMatrix; break;
        case D3DTS_PROJECTION: projection_ = *pMatrix; break;
        default: break;  // texture transforms: not used by the viewer
    }
    return D3D_OK;
}

HRESULT GlDevice::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
    switch (State) {
        case D3DRS_ZENABLE: zEnable_ = Value; break;
        case D3DRS_CULLMODE: cullMode_ = Value; break;
        case D3DRS_LIGHTING: lighting_ = Value; break;
        default: break;  // other states keep their Direct3D defaults
    }
    return D3D_OK;
}

HRESULT GlDevice::SetTexture(DWORD Stage, IDirect3DBaseTexture8* pTexture) {
    if (Stage >= kStages) {
        return D3DERR_INVALIDCALL;
    }
    GlTexture* texture = nullptr;
    if (pTexture != nullptr) {
        texture = dynamic_cast<GlTexture*>(pTexture);
        if (texture == nullptr) {
            return D3DERR_INVALIDCALL;  // made by another device
        }
    }
    hold(textures_[Stage], texture);
    return D3D_OK;
}

HRESULT GlDevice::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) {
    if (Stage >= kStages) {
        return D3DERR_INVALIDCALL;
    }
    switch (Type) {
        case D3DTSS_COLOROP: colorOp_[Stage] = Value; break;
        case D3DTSS_COLORARG1: colorArg1_[Stage] = Value; break;
        case D3DTSS_COLORARG2: colorArg2_[Stage] = Value; break;
        default: break;
    }
    return D3D_OK;
}

HRESULT GlDevice::SetVertexShader(DWORD Handle) {
    fvf_ = Handle;
    return D3D_OK;
}

HRESULT GlDevice::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8* pStreamData, UINT Stride) {
    if (StreamNumber != 0) {
        return D3DERR_INVALIDCALL;  // one stream is all a flexible vertex format uses
    }
    GlVertexBuffer* buffer = nullptr;
    if (pStreamData != nullptr) {
        buffer = dynamic_cast<GlVertexBuffer*>(pStreamData);
        if (buffer == nullptr) {
            return D3DERR_INVALIDCALL;
        }
    }
    hold(stream_, buffer);
    streamStride_ = Stride;
    return D3D_OK;
}

HRESULT GlDevice::SetIndices(IDirect3DIndexBuffer8* pIndexData, UINT BaseVertexIndex) {
    GlIndexBuffer* buffer = nullptr;
    if (pIndexData != nullptr) {
        buffer = dynamic_cast<GlIndexBuffer*>(pIndexData);
        if (buffer == nullptr) {
            return D3DERR_INVALIDCALL;
        }
    }
    hold(indices_, buffer);
    baseVertex_ = BaseVertexIndex;
    return D3D_OK;
}
