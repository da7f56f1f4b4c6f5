// Our Direct3D interfaces forwarded to the system's objects. Every wrapper
// holds exactly one reference to its system object and gives it back when
// its own count reaches zero; the device maps our resources back to the
// system's when it binds them.
#include "platform/d3d8sys/system_direct3d.h"

#include <new>

#include "platform/d3d8sys/system_calls.h"

static_assert(sizeof(D3DPRESENT_PARAMETERS) == d3dsys::kPresentParametersSize);
static_assert(sizeof(D3DDISPLAYMODE) == d3dsys::kDisplayModeSize);
static_assert(sizeof(D3DMATRIX) == d3dsys::kMatrixSize);
static_assert(sizeof(D3DVIEWPORT8) == d3dsys::kViewportSize);
static_assert(sizeof(D3DLOCKED_RECT) == d3dsys::kLockedRectSize);
static_assert(sizeof(RECT) == d3dsys::kRectSize);

namespace {

template <class Interface>
class Forward : public Interface {
public:
    explicit Forward(d3dsys::Ptr system) : system_(system) {}
    UINT AddRef() override { return ++refs_; }
    UINT Release() override {
        const UINT left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    d3dsys::Ptr system() const { return system_; }

protected:
    ~Forward() override { d3dsys::release(system_); }

private:
    d3dsys::Ptr system_;
    UINT refs_ = 1;
};

class SystemTexture final : public Forward<IDirect3DTexture8> {
public:
    using Forward::Forward;
    DWORD GetLevelCount() override { return d3dsys::getLevelCount(system()); }
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override {
        return d3dsys::lockRect(system(), level, locked, rect, flags);
    }
    HRESULT UnlockRect(UINT level) override { return d3dsys::unlockRect(system(), level); }
};

class SystemVertexBuffer final : public Forward<IDirect3DVertexBuffer8> {
public:
    using Forward::Forward;
    HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override {
        return d3dsys::lockVertexBuffer(system(), offset, size, data, flags);
    }
    HRESULT Unlock() override { return d3dsys::unlockVertexBuffer(system()); }
};

class SystemIndexBuffer final : public Forward<IDirect3DIndexBuffer8> {
public:
    using Forward::Forward;
    HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override {
        return d3dsys::lockIndexBuffer(system(), offset, size, data, flags);
    }
    HRESULT Unlock() override { return d3dsys::unlockIndexBuffer(system()); }
};

// Every resource bound to the device was made by it, so its wrapper type is
// known.
d3dsys::Ptr systemOf(IDirect3DBaseTexture8* t) {
    return t != nullptr ? static_cast<SystemTexture*>(t)->system() : nullptr;
}
d3dsys::Ptr systemOf(IDirect3DVertexBuffer8* b) {
    return b != nullptr ? static_cast<SystemVertexBuffer*>(b)->system() : nullptr;
}
d3dsys::Ptr systemOf(IDirect3DIndexBuffer8* b) {
    return b != nullptr ? static_cast<SystemIndexBuffer*>(b)->system() : nullptr;
}

template <class Wrapper, class Interface>
HRESULT wrap(HRESULT hr, d3dsys::Ptr made, Interface** out) {
    if (out == nullptr) {
        if (made != nullptr) d3dsys::release(made);
        return D3DERR_INVALIDCALL;
    }
    *out = nullptr;
    if (FAILED(hr)) {
        if (made != nullptr) d3dsys::release(made);
        return hr;
    }
    if (made == nullptr) return hr;
    // A wrapper that cannot be had gives the system's object back: the
    // caller sees out of memory, as if the system had refused.
    *out = new (std::nothrow) Wrapper(made);
    if (*out == nullptr) {
        d3dsys::release(made);
        return E_OUTOFMEMORY;
    }
    return hr;
}

class SystemDevice final : public Forward<IDirect3DDevice8> {
public:
    using Forward::Forward;
    HRESULT TestCooperativeLevel() override { return d3dsys::testCooperativeLevel(system()); }
    HRESULT Reset(D3DPRESENT_PARAMETERS* params) override { return d3dsys::reset(system(), params); }
    HRESULT Present(const RECT* source, const RECT* dest, HWND window, const RGNDATA* region) override {
        return d3dsys::present(system(), source, dest, window, region);
    }
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture8** out) override {
        d3dsys::Ptr made = nullptr;
        const HRESULT hr = d3dsys::createTexture(system(), width, height, levels, usage, format, pool, &made);
        return wrap<SystemTexture>(hr, made, out);
    }
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** out) override {
        d3dsys::Ptr made = nullptr;
        const HRESULT hr = d3dsys::createVertexBuffer(system(), length, usage, fvf, pool, &made);
        return wrap<SystemVertexBuffer>(hr, made, out);
    }
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer8** out) override {
        d3dsys::Ptr made = nullptr;
        const HRESULT hr = d3dsys::createIndexBuffer(system(), length, usage, format, pool, &made);
        return wrap<SystemIndexBuffer>(hr, made, out);
    }
    HRESULT BeginScene() override { return d3dsys::beginScene(system()); }
    HRESULT EndScene() override { return d3dsys::endScene(system()); }
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override {
        return d3dsys::clear(system(), count, rects, flags, color, z, stencil);
    }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        return d3dsys::setTransform(system(), state, matrix);
    }
    HRESULT GetViewport(D3DVIEWPORT8* viewport) override { return d3dsys::getViewport(system(), viewport); }
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
        return d3dsys::setRenderState(system(), state, value);
    }
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) override {
        return d3dsys::setTexture(system(), stage, systemOf(texture));
    }
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
        return d3dsys::setTextureStageState(system(), stage, type, value);
    }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT count) override {
        return d3dsys::drawPrimitive(system(), type, startVertex, count);
    }
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices, UINT startIndex,
                                 UINT count) override {
        return d3dsys::drawIndexedPrimitive(system(), type, minIndex, numVertices, startIndex, count);
    }
    HRESULT SetVertexShader(DWORD handle) override { return d3dsys::setVertexShader(system(), handle); }
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override {
        return d3dsys::setStreamSource(system(), stream, systemOf(buffer), stride);
    }
    HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) override {
        return d3dsys::setIndices(system(), systemOf(buffer), baseVertexIndex);
    }
};

class SystemDirect3D final : public Forward<IDirect3D8> {
public:
    using Forward::Forward;
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override {
        return d3dsys::getAdapterDisplayMode(system(), adapter, mode);
    }
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus, DWORD flags, D3DPRESENT_PARAMETERS* params,
                         IDirect3DDevice8** out) override {
        d3dsys::Ptr made = nullptr;
        const HRESULT hr = d3dsys::createDevice(system(), adapter, type, focus, flags, params, &made);
        return wrap<SystemDevice>(hr, made, out);
    }
};

}  // namespace

IDirect3D8* createSystemDirect3D() {
    d3dsys::Ptr d3d = d3dsys::create(D3D_SDK_VERSION);
    if (d3d == nullptr) return nullptr;
    IDirect3D8* wrapped = new (std::nothrow) SystemDirect3D(d3d);
    if (wrapped == nullptr) d3dsys::release(d3d);
    return wrapped;
}
