// Resource creation on the OpenGL device. Every pool is treated as the
// managed pool: the resource keeps a CPU copy and uploads it on use.
#include <new>
#include <utility>

#include "platform/gl/gl_device.h"

namespace {

// A resource whose CPU copy the heap cannot hold is out of memory, reported
// as E_OUTOFMEMORY like any other creation failure: the copy is a container,
// so the nothrow form of new alone would still let its std::bad_alloc out.
template <class Resource, class... Args>
Resource* make(Args&&... args) noexcept {
    try {
        return new Resource(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

HRESULT GlDevice::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                IDirect3DTexture8** ppTexture) {
    (void)Usage;
    (void)Pool;
    if (ppTexture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppTexture = nullptr;
    if (Width == 0 || Height == 0 || (Format != D3DFMT_A8R8G8B8 && Format != D3DFMT_X8R8G8B8)) {
        return D3DERR_INVALIDCALL;
    }
    const UINT full = GlTexture::fullChainLevels(Width, Height);
    if (Levels > full) {
        return D3DERR_INVALIDCALL;
    }
    // Level count 0 asks for the whole chain down to 1 × 1.
    auto* texture = make<GlTexture>(context_, Width, Height, Levels == 0 ? full : Levels, Format);
    if (texture == nullptr) {
        return E_OUTOFMEMORY;
    }
    *ppTexture = texture;
    return D3D_OK;
}

HRESULT GlDevice::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                     IDirect3DVertexBuffer8** ppVertexBuffer) {
    (void)Usage;
    (void)Pool;
    if (ppVertexBuffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppVertexBuffer = nullptr;
    if (Length == 0) {
        return D3DERR_INVALIDCALL;
    }
    auto* buffer = make<GlVertexBuffer>(context_, Length, FVF);
    if (buffer == nullptr) {
        return E_OUTOFMEMORY;
    }
    *ppVertexBuffer = buffer;
    return D3D_OK;
}

HRESULT GlDevice::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                    IDirect3DIndexBuffer8** ppIndexBuffer) {
    (void)Usage;
    (void)Pool;
    if (ppIndexBuffer == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppIndexBuffer = nullptr;
    if (Length == 0 || (Format != D3DFMT_INDEX16 && Format != D3DFMT_INDEX32)) {
        return D3DERR_INVALIDCALL;
    }
    auto* buffer = make<GlIndexBuffer>(context_, Length, Format);
    if (buffer == nullptr) {
        return E_OUTOFMEMORY;
    }
    *ppIndexBuffer = buffer;
    return D3D_OK;
}
