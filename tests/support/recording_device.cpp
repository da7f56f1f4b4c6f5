// The recording device: creation, state and draw calls.
#include "recording_device.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace rec {
namespace {

std::string hex(DWORD v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
}

D3DMATRIX identity() {
    D3DMATRIX m{};
    for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
    return m;
}

std::string args(std::initializer_list<std::string> parts) {
    std::string out;
    for (const auto& p : parts) {
        if (!out.empty()) out += ", ";
        out += p;
    }
    return out;
}

std::string n(UINT v) { return std::to_string(v); }

}  // namespace

RecordingDevice::RecordingDevice() {
    current_.world = current_.view = current_.projection = identity();
}

RecordingDevice::~RecordingDevice() = default;

UINT RecordingDevice::Release() {
    record("Release(device)");
    if (refs > 0) --refs;
    return static_cast<UINT>(refs);
}

std::string RecordingDevice::nameOf(const void* resource) const {
    if (resource == nullptr) return "null";
    for (const auto& r : resources) {
        const void* asVb = dynamic_cast<IDirect3DVertexBuffer8*>(r.get());
        const void* asIb = dynamic_cast<IDirect3DIndexBuffer8*>(r.get());
        const void* asTex = dynamic_cast<IDirect3DTexture8*>(r.get());
        const void* asBase = dynamic_cast<IDirect3DBaseTexture8*>(r.get());
        if (resource == asVb || resource == asIb || resource == asTex || resource == asBase) return r->label();
    }
    return "foreign";
}

std::vector<std::string> RecordingDevice::callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
}

int RecordingDevice::liveResources() const {
    return static_cast<int>(std::count_if(resources.begin(), resources.end(), [](const auto& r) { return r->refs > 0; }));
}

std::vector<VertexBuffer*> RecordingDevice::vertexBuffers() const {
    std::vector<VertexBuffer*> out;
    for (const auto& r : resources)
        if (auto* vb = dynamic_cast<VertexBuffer*>(r.get())) out.push_back(vb);
    return out;
}

std::vector<IndexBuffer*> RecordingDevice::indexBuffers() const {
    std::vector<IndexBuffer*> out;
    for (const auto& r : resources)
        if (auto* ib = dynamic_cast<IndexBuffer*>(r.get())) out.push_back(ib);
    return out;
}

std::vector<Texture*> RecordingDevice::textures() const {
    std::vector<Texture*> out;
    for (const auto& r : resources)
        if (auto* t = dynamic_cast<Texture*>(r.get())) out.push_back(t);
    return out;
}

void RecordingDevice::clearRecord() {
    calls.clear();
    draws.clear();
}

D3DMATRIX RecordingDevice::transform(D3DTRANSFORMSTATETYPE type) const {
    if (type == D3DTS_VIEW) return current_.view;
    if (type == D3DTS_PROJECTION) return current_.projection;
    return current_.world;
}

DWORD RecordingDevice::renderState(D3DRENDERSTATETYPE type) const {
    if (type == D3DRS_LIGHTING) return current_.lighting;
    if (type == D3DRS_CULLMODE) return current_.cull;
    if (type == D3DRS_ZENABLE) return current_.zenable;
    return 0;
}

HRESULT RecordingDevice::TestCooperativeLevel() {
    record("TestCooperativeLevel()");
    if (!cooperativeSequence.empty()) {
        const HRESULT hr = cooperativeSequence.front();
        cooperativeSequence.pop_front();
        return hr;
    }
    return cooperativeLevel;
}

HRESULT RecordingDevice::Reset(D3DPRESENT_PARAMETERS* params) {
    ++resets;
    record("Reset(" + (params ? args({n(params->BackBufferWidth), n(params->BackBufferHeight)}) : "null") + ")");
    if (params != nullptr && params->BackBufferWidth != 0 && params->BackBufferHeight != 0) {
        viewport.Width = params->BackBufferWidth;
        viewport.Height = params->BackBufferHeight;
    }
    return resetResult;
}

HRESULT RecordingDevice::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    ++presents;
    record("Present()");
    return D3D_OK;
}

HRESULT RecordingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                       D3DPOOL pool, IDirect3DTexture8** out) {
    record("CreateTexture(" + args({n(width), n(height), n(levels), n(usage), n(format), n(pool)}) + ")");
    if (out == nullptr) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (createTexture.hit()) return createTexture.code;
    if (width == 0 || height == 0) return D3DERR_INVALIDCALL;
    auto tex = std::make_unique<Texture>();
    tex->device = this;
    tex->id = nextId();
    tex->width = width;
    tex->height = height;
    tex->format = format;
    tex->pool = pool;
    UINT full = 1;
    for (UINT s = std::max(width, height); s > 1; s >>= 1) ++full;
    const UINT count = levels == 0 ? full : std::min(levels, full);
    for (UINT l = 0; l < count; ++l) {
        const std::size_t w = std::max(1u, width >> l), h = std::max(1u, height >> l);
        tex->levels.emplace_back(w * h * 4, BYTE{0});
    }
    *out = tex.get();
    resources.push_back(std::move(tex));
    return D3D_OK;
}

HRESULT RecordingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                            IDirect3DVertexBuffer8** out) {
    record("CreateVertexBuffer(" + args({n(length), n(usage), hex(fvf), n(pool)}) + ")");
    if (out == nullptr) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (createVertexBuffer.hit()) return createVertexBuffer.code;
    if (length == 0) return D3DERR_INVALIDCALL;
    auto vb = std::make_unique<VertexBuffer>();
    vb->device = this;
    vb->id = nextId();
    vb->fvf = fvf;
    vb->pool = pool;
    vb->data.assign(length, 0xCD);  // not zero, so unwritten bytes show up in tests
    *out = vb.get();
    resources.push_back(std::move(vb));
    return D3D_OK;
}

HRESULT RecordingDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                           IDirect3DIndexBuffer8** out) {
    record("CreateIndexBuffer(" + args({n(length), n(usage), n(format), n(pool)}) + ")");
    if (out == nullptr) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (createIndexBuffer.hit()) return createIndexBuffer.code;
    if (length == 0) return D3DERR_INVALIDCALL;
    auto ib = std::make_unique<IndexBuffer>();
    ib->device = this;
    ib->id = nextId();
    ib->format = format;
    ib->pool = pool;
    ib->data.assign(length, 0xCD);
    *out = ib.get();
    resources.push_back(std::move(ib));
    return D3D_OK;
}

HRESULT RecordingDevice::BeginScene() {
    ++beginScenes;
    record("BeginScene()");
    return D3D_OK;
}

HRESULT RecordingDevice::EndScene() {
    ++endScenes;
    record("EndScene()");
    return D3D_OK;
}

HRESULT RecordingDevice::Clear(DWORD count, const D3DRECT*, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "Clear(%u, %u, 0x%08X, %g, %u)", count, flags, color, static_cast<double>(z),
                  stencil);
    record(buf);
    return D3D_OK;
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    record("SetTransform(" + n(state) + ")");
    if (matrix == nullptr) return D3DERR_INVALIDCALL;
    if (state == D3DTS_WORLD) current_.world = *matrix;
    else if (state == D3DTS_VIEW) current_.view = *matrix;
    else if (state == D3DTS_PROJECTION) current_.projection = *matrix;
    return D3D_OK;
}

HRESULT RecordingDevice::GetViewport(D3DVIEWPORT8* out) {
    record("GetViewport()");
    if (out == nullptr) return D3DERR_INVALIDCALL;
    *out = viewport;
    return D3D_OK;
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    record("SetRenderState(" + args({n(state), n(value)}) + ")");
    if (state == D3DRS_LIGHTING) current_.lighting = value;
    else if (state == D3DRS_CULLMODE) current_.cull = value;
    else if (state == D3DRS_ZENABLE) current_.zenable = value;
    return D3D_OK;
}

HRESULT RecordingDevice::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    record("SetTexture(" + args({n(stage), nameOf(texture)}) + ")");
    if (stage == 0) current_.texture = texture;
    return D3D_OK;
}

HRESULT RecordingDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    record("SetTextureStageState(" + args({n(stage), n(type), n(value)}) + ")");
    if (stage == 0) {
        if (type == D3DTSS_COLOROP) current_.colorOp = value;
        else if (type == D3DTSS_COLORARG1) current_.colorArg1 = value;
        else if (type == D3DTSS_COLORARG2) current_.colorArg2 = value;
    }
    return D3D_OK;
}

HRESULT RecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT count) {
    record("DrawPrimitive(" + args({n(type), n(startVertex), n(count)}) + ")");
    Draw d = current_;
    d.indexed = false;
    d.type = type;
    d.first = startVertex;
    d.count = count;
    draws.push_back(d);
    return D3D_OK;
}

HRESULT RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                                              UINT startIndex, UINT count) {
    record("DrawIndexedPrimitive(" + args({n(type), n(minIndex), n(numVertices), n(startIndex), n(count)}) + ")");
    Draw d = current_;
    d.indexed = true;
    d.type = type;
    d.minIndex = minIndex;
    d.numVertices = numVertices;
    d.first = startIndex;
    d.count = count;
    draws.push_back(d);
    return D3D_OK;
}

HRESULT RecordingDevice::SetVertexShader(DWORD handle) {
    record("SetVertexShader(" + hex(handle) + ")");
    current_.fvf = handle;
    return D3D_OK;
}

HRESULT RecordingDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    record("SetStreamSource(" + args({n(stream), nameOf(buffer), n(stride)}) + ")");
    if (stream == 0) {
        current_.stream = dynamic_cast<VertexBuffer*>(buffer);
        current_.stride = stride;
    }
    return D3D_OK;
}

HRESULT RecordingDevice::SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertex) {
    record("SetIndices(" + args({nameOf(buffer), n(baseVertex)}) + ")");
    current_.indices = dynamic_cast<IndexBuffer*>(buffer);
    current_.baseVertex = baseVertex;
    return D3D_OK;
}

// ---- the Direct3D object and the factory guard ----

UINT RecordingDirect3D::Release() {
    calls.push_back("Release(d3d)");
    if (refs > 0) --refs;
    return static_cast<UINT>(refs);
}

HRESULT RecordingDirect3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out) {
    calls.push_back("GetAdapterDisplayMode(" + n(adapter) + ")");
    if (failDisplayMode || out == nullptr) return D3DERR_INVALIDCALL;
    *out = mode;
    return D3D_OK;
}

HRESULT RecordingDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND, DWORD flags,
                                        D3DPRESENT_PARAMETERS* params, IDirect3DDevice8** out) {
    calls.push_back("CreateDevice(" + args({n(adapter), n(type), hex(flags)}) + ")");
    if (out == nullptr) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (params != nullptr) lastPresent = *params;
    if (FAILED(createDeviceResult)) return createDeviceResult;
    auto device = std::make_unique<RecordingDevice>();
    if (params != nullptr && params->BackBufferWidth != 0 && params->BackBufferHeight != 0) {
        device->viewport.Width = params->BackBufferWidth;
        device->viewport.Height = params->BackBufferHeight;
    }
    *out = device.get();
    devices.push_back(std::move(device));
    return D3D_OK;
}

namespace {

ScopedRecordingDirect3D* g_active = nullptr;

IDirect3D8* recordingFactory() {
    if (g_active == nullptr || g_active->failCreate) return nullptr;
    ++g_active->created;
    g_active->d3d().refs = 1;
    return &g_active->d3d();
}

}  // namespace

ScopedRecordingDirect3D::ScopedRecordingDirect3D() : d3d_(std::make_unique<RecordingDirect3D>()) {
    g_active = this;
    previous_ = setDirect3DFactory(&recordingFactory);
}

ScopedRecordingDirect3D::~ScopedRecordingDirect3D() {
    setDirect3DFactory(previous_);
    g_active = nullptr;
}

}  // namespace rec
