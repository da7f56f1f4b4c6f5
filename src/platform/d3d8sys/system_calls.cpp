// Forwards the plain-typed calls of system_calls.h to the system's Direct3D 8
// objects. The only file of the viewer that includes <d3d8.h>.
#include "platform/d3d8sys/system_calls.h"

#include <windows.h>
#include <d3d8.h>

namespace d3dsys {

static_assert(sizeof(D3DPRESENT_PARAMETERS) == kPresentParametersSize);
static_assert(sizeof(D3DDISPLAYMODE) == kDisplayModeSize);
static_assert(sizeof(D3DMATRIX) == kMatrixSize);
static_assert(sizeof(D3DVIEWPORT8) == kViewportSize);
static_assert(sizeof(D3DLOCKED_RECT) == kLockedRectSize);
static_assert(sizeof(RECT) == kRectSize);

namespace {

IDirect3D8* d3d(Ptr p) { return static_cast<IDirect3D8*>(p); }
IDirect3DDevice8* dev(Ptr p) { return static_cast<IDirect3DDevice8*>(p); }
IDirect3DTexture8* tex(Ptr p) { return static_cast<IDirect3DTexture8*>(p); }
IDirect3DVertexBuffer8* vb(Ptr p) { return static_cast<IDirect3DVertexBuffer8*>(p); }
IDirect3DIndexBuffer8* ib(Ptr p) { return static_cast<IDirect3DIndexBuffer8*>(p); }

// The 64-bit MinGW-w64 has no import library for d3d8.dll: the entry point
// is looked up at run time, once.
using CreateFn = IDirect3D8*(WINAPI*)(UINT);
CreateFn createFunction() {
    static CreateFn fn = [] {
        HMODULE module = LoadLibraryA("d3d8.dll");
        if (module == nullptr) return CreateFn{};
        return reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(module, "Direct3DCreate8")));
    }();
    return fn;
}

}  // namespace

Ptr create(unsigned sdkVersion) {
    CreateFn fn = createFunction();
    return fn != nullptr ? fn(sdkVersion) : nullptr;
}

unsigned addRef(Ptr object) { return static_cast<IUnknown*>(object)->AddRef(); }
unsigned release(Ptr object) { return static_cast<IUnknown*>(object)->Release(); }

Result getAdapterDisplayMode(Ptr p, unsigned adapter, void* mode) {
    return d3d(p)->GetAdapterDisplayMode(adapter, static_cast<D3DDISPLAYMODE*>(mode));
}

Result createDevice(Ptr p, unsigned adapter, unsigned deviceType, void* focusWindow, unsigned behaviorFlags,
                    void* presentParameters, Ptr* device) {
    IDirect3DDevice8* made = nullptr;
    const HRESULT hr = d3d(p)->CreateDevice(adapter, static_cast<D3DDEVTYPE>(deviceType), static_cast<HWND>(focusWindow),
                                            behaviorFlags, static_cast<D3DPRESENT_PARAMETERS*>(presentParameters), &made);
    *device = made;
    return hr;
}

Result testCooperativeLevel(Ptr p) { return dev(p)->TestCooperativeLevel(); }
Result reset(Ptr p, void* params) { return dev(p)->Reset(static_cast<D3DPRESENT_PARAMETERS*>(params)); }

Result present(Ptr p, const void* sourceRect, const void* destRect, void* destWindowOverride, const void* dirtyRegion) {
    return dev(p)->Present(static_cast<const RECT*>(sourceRect), static_cast<const RECT*>(destRect),
                           static_cast<HWND>(destWindowOverride), static_cast<const RGNDATA*>(dirtyRegion));
}

Result createTexture(Ptr p, unsigned width, unsigned height, unsigned levels, unsigned usage, unsigned format,
                     unsigned pool, Ptr* texture) {
    IDirect3DTexture8* made = nullptr;
    const HRESULT hr = dev(p)->CreateTexture(width, height, levels, usage, static_cast<D3DFORMAT>(format),
                                             static_cast<D3DPOOL>(pool), &made);
    *texture = made;
    return hr;
}

Result createVertexBuffer(Ptr p, unsigned length, unsigned usage, unsigned fvf, unsigned pool, Ptr* buffer) {
    IDirect3DVertexBuffer8* made = nullptr;
    const HRESULT hr = dev(p)->CreateVertexBuffer(length, usage, fvf, static_cast<D3DPOOL>(pool), &made);
    *buffer = made;
    return hr;
}

Result createIndexBuffer(Ptr p, unsigned length, unsigned usage, unsigned format, unsigned pool, Ptr* buffer) {
    IDirect3DIndexBuffer8* made = nullptr;
    const HRESULT hr = dev(p)->CreateIndexBuffer(length, usage, static_cast<D3DFORMAT>(format),
                                                 static_cast<D3DPOOL>(pool), &made);
    *buffer = made;
    return hr;
}

Result beginScene(Ptr p) { return dev(p)->BeginScene(); }
Result endScene(Ptr p) { return dev(p)->EndScene(); }

Result clear(Ptr p, unsigned count, const void* rects, unsigned flags, std::uint32_t color, float z, unsigned stencil) {
    return dev(p)->Clear(count, static_cast<const D3DRECT*>(rects), flags, color, z, stencil);
}

Result setTransform(Ptr p, unsigned state, const void* matrix) {
    return dev(p)->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(state), static_cast<const D3DMATRIX*>(matrix));
}

Result getViewport(Ptr p, void* viewport) { return dev(p)->GetViewport(static_cast<D3DVIEWPORT8*>(viewport)); }

Result setRenderState(Ptr p, unsigned state, unsigned value) {
    return dev(p)->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), value);
}

Result setTexture(Ptr p, unsigned stage, Ptr texture) { return dev(p)->SetTexture(stage, tex(texture)); }

Result setTextureStageState(Ptr p, unsigned stage, unsigned type, unsigned value) {
    return dev(p)->SetTextureStageState(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(type), value);
}

Result drawPrimitive(Ptr p, unsigned primitiveType, unsigned startVertex, unsigned primitiveCount) {
    return dev(p)->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(primitiveType), startVertex, primitiveCount);
}

Result drawIndexedPrimitive(Ptr p, unsigned primitiveType, unsigned minIndex, unsigned numVertices,
                            unsigned startIndex, unsigned primitiveCount) {
    return dev(p)->DrawIndexedPrimitive(static_cast<D3DPRIMITIVETYPE>(primitiveType), minIndex, numVertices,
                                        startIndex, primitiveCount);
}

Result setVertexShader(Ptr p, unsigned handle) { return dev(p)->SetVertexShader(handle); }
Result setStreamSource(Ptr p, unsigned stream, Ptr buffer, unsigned stride) {
    return dev(p)->SetStreamSource(stream, vb(buffer), stride);
}
Result setIndices(Ptr p, Ptr buffer, unsigned baseVertexIndex) { return dev(p)->SetIndices(ib(buffer), baseVertexIndex); }

unsigned getLevelCount(Ptr texture) { return tex(texture)->GetLevelCount(); }
Result lockRect(Ptr texture, unsigned level, void* lockedRect, const void* rect, unsigned flags) {
    return tex(texture)->LockRect(level, static_cast<D3DLOCKED_RECT*>(lockedRect), static_cast<const RECT*>(rect), flags);
}
Result unlockRect(Ptr texture, unsigned level) { return tex(texture)->UnlockRect(level); }

Result lockVertexBuffer(Ptr buffer, unsigned offset, unsigned size, std::uint8_t** data, unsigned flags) {
    return vb(buffer)->Lock(offset, size, data, flags);
}
Result unlockVertexBuffer(Ptr buffer) { return vb(buffer)->Unlock(); }
Result lockIndexBuffer(Ptr buffer, unsigned offset, unsigned size, std::uint8_t** data, unsigned flags) {
    return ib(buffer)->Lock(offset, size, data, flags);
}
Result unlockIndexBuffer(Ptr buffer) { return ib(buffer)->Unlock(); }

}  // namespace d3dsys
