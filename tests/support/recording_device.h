// A recording implementation of the Direct3D 8 subset for tests.
//
// Every call is recorded as a readable line ("SetRenderState(137, 0)",
// "SetStreamSource(0, vb#1, 24)"), buffer and texture contents are kept so
// tests can read back what the code wrote, and each creation, lock and
// unlock can be made to fail on demand. The device owns every object it
// creates (freed with the device); Release only counts, so tests can still
// inspect an object that the code under test has released.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d8/d3d8.h"

namespace rec {

// Makes one kind of call fail: always, or only on its n-th call (from 1).
struct FailSwitch {
    bool always = false;
    unsigned onCall = 0;
    unsigned calls = 0;
    HRESULT code = D3DERR_INVALIDCALL;
    // Counts the call; true when this call must fail.
    bool hit() {
        ++calls;
        return always || (onCall != 0 && onCall == calls);
    }
};

class RecordingDevice;

struct Resource {
    int id = 0;            // 1, 2, ... in creation order across all kinds
    int refs = 1;          // COM references held by the code under test
    bool locked = false;
    std::string label() const;  // "vb#3", "ib#4", "tex#5"
    virtual ~Resource() = default;
    virtual const char* prefix() const = 0;
};

struct VertexBuffer : IDirect3DVertexBuffer8, Resource {
    RecordingDevice* device = nullptr;
    DWORD fvf = 0;
    D3DPOOL pool = 0;
    std::vector<BYTE> data;
    const char* prefix() const override { return "vb"; }
    UINT AddRef() override { return static_cast<UINT>(++refs); }
    UINT Release() override;
    HRESULT Lock(UINT offset, UINT size, BYTE** out, DWORD flags) override;
    HRESULT Unlock() override;
};

struct IndexBuffer : IDirect3DIndexBuffer8, Resource {
    RecordingDevice* device = nullptr;
    D3DFORMAT format = 0;
    D3DPOOL pool = 0;
    std::vector<BYTE> data;
    const char* prefix() const override { return "ib"; }
    UINT AddRef() override { return static_cast<UINT>(++refs); }
    UINT Release() override;
    HRESULT Lock(UINT offset, UINT size, BYTE** out, DWORD flags) override;
    HRESULT Unlock() override;
    std::vector<WORD> indices() const;
};

struct Texture : IDirect3DTexture8, Resource {
    RecordingDevice* device = nullptr;
    UINT width = 0, height = 0;
    D3DFORMAT format = 0;
    D3DPOOL pool = 0;
    std::vector<std::vector<BYTE>> levels;  // 4 bytes per pixel, B G R A
    std::string sourceName;                 // set by tests that want to tag textures
    const char* prefix() const override { return "tex"; }
    UINT AddRef() override { return static_cast<UINT>(++refs); }
    UINT Release() override;
    DWORD GetLevelCount() override { return static_cast<DWORD>(levels.size()); }
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* out, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;
    UINT levelWidth(UINT level) const;
};

// One draw call with the state it was made in.
struct Draw {
    bool indexed = false;
    D3DPRIMITIVETYPE type = 0;
    UINT first = 0;      // StartVertex, or startIndex when indexed
    UINT count = 0;      // primitive count
    UINT minIndex = 0, numVertices = 0;
    VertexBuffer* stream = nullptr;
    UINT stride = 0;
    DWORD fvf = 0;
    IndexBuffer* indices = nullptr;
    UINT baseVertex = 0;
    IDirect3DBaseTexture8* texture = nullptr;
    D3DMATRIX world{}, view{}, projection{};
    DWORD lighting = TRUE, cull = D3DCULL_CCW, zenable = D3DZB_TRUE;
    DWORD colorOp = D3DTOP_MODULATE, colorArg1 = D3DTA_TEXTURE, colorArg2 = D3DTA_CURRENT;
};

class RecordingDevice : public IDirect3DDevice8 {
public:
    RecordingDevice();
    ~RecordingDevice() override;
    RecordingDevice(const RecordingDevice&) = delete;
    RecordingDevice& operator=(const RecordingDevice&) = delete;

    // ---- what tests set ----
    FailSwitch createVertexBuffer, createIndexBuffer, createTexture;
    FailSwitch lockVertexBuffer, unlockVertexBuffer, lockIndexBuffer, unlockIndexBuffer;
    FailSwitch lockTexture, unlockTexture;
    HRESULT cooperativeLevel = D3D_OK;        // returned when the queue is empty
    std::deque<HRESULT> cooperativeSequence;  // consumed first, one per call
    HRESULT resetResult = D3D_OK;
    D3DVIEWPORT8 viewport{0, 0, 500, 500, 0.0f, 1.0f};

    // ---- what tests read ----
    std::vector<std::string> calls;  // every call in order, as text
    std::vector<Draw> draws;
    std::vector<std::unique_ptr<Resource>> resources;
    int refs = 1;
    int beginScenes = 0, endScenes = 0, presents = 0, resets = 0;

    // Calls whose text starts with `prefix`, in order.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;
    // Resources still referenced by the code under test.
    int liveResources() const;
    std::vector<VertexBuffer*> vertexBuffers() const;
    std::vector<IndexBuffer*> indexBuffers() const;
    std::vector<Texture*> textures() const;
    void clearRecord();

    // The current state (what the next draw would use).
    D3DMATRIX transform(D3DTRANSFORMSTATETYPE type) const;
    DWORD renderState(D3DRENDERSTATETYPE type) const;

    void record(std::string line) { calls.push_back(std::move(line)); }
    int nextId() { return ++lastId_; }

    // ---- IDirect3DDevice8 ----
    UINT AddRef() override { return static_cast<UINT>(++refs); }
    UINT Release() override;
    HRESULT TestCooperativeLevel() override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;
    HRESULT Present(const RECT*, const RECT*, HWND, const RGNDATA*) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture8** out) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** out) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer8** out) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetViewport(D3DVIEWPORT8* out) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT count) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices, UINT startIndex,
                                 UINT count) override;
    HRESULT SetVertexShader(DWORD handle) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertex) override;

    // Text of a resource pointer as recorded ("vb#1", "null").
    std::string nameOf(const void* resource) const;

private:
    Draw current_;
    int lastId_ = 0;
};

// The Direct3D object: creates recording devices and keeps them.
class RecordingDirect3D : public IDirect3D8 {
public:
    bool failDisplayMode = false;
    HRESULT createDeviceResult = D3D_OK;  // a failure code makes CreateDevice fail
    D3DDISPLAYMODE mode{1920, 1080, 60, D3DFMT_X8R8G8B8};
    int refs = 1;
    std::vector<std::string> calls;
    std::vector<std::unique_ptr<RecordingDevice>> devices;
    D3DPRESENT_PARAMETERS lastPresent{};

    RecordingDevice* lastDevice() const { return devices.empty() ? nullptr : devices.back().get(); }

    UINT AddRef() override { return static_cast<UINT>(++refs); }
    UINT Release() override;
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND window, DWORD flags, D3DPRESENT_PARAMETERS* params,
                         IDirect3DDevice8** out) override;
};

// Installs a RecordingDirect3D as the factory behind Direct3DCreate8 for the
// guard's lifetime. `failCreate` makes Direct3DCreate8 return null.
class ScopedRecordingDirect3D {
public:
    ScopedRecordingDirect3D();
    ~ScopedRecordingDirect3D();
    ScopedRecordingDirect3D(const ScopedRecordingDirect3D&) = delete;
    ScopedRecordingDirect3D& operator=(const ScopedRecordingDirect3D&) = delete;

    RecordingDirect3D& d3d() { return *d3d_; }
    RecordingDevice* lastDevice() const { return d3d_->lastDevice(); }
    bool failCreate = false;
    int created = 0;

private:
    std::unique_ptr<RecordingDirect3D> d3d_;
    Direct3DFactory previous_ = nullptr;
};

}  // namespace rec
