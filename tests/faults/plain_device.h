// A device that holds buffer memory and counts draws but records nothing:
// the recording device looks up names per call, which costs time linear in
// the number of resources and would measure itself, not the readers, for
// files with tens of thousands of surfaces.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/d3d8/d3d8.h"

namespace faults {

template <typename Interface>
struct PlainBuffer : Interface {
    std::vector<BYTE> data;
    int* live = nullptr;
    int refs = 1;
    UINT AddRef() override { return static_cast<UINT>(++refs); }
    UINT Release() override {
        if (--refs == 0) {
            --*live;
            data = {};
        }
        return static_cast<UINT>(refs);
    }
    HRESULT Lock(UINT offset, UINT, BYTE** out, DWORD) override {
        if (offset > data.size()) return D3DERR_INVALIDCALL;
        *out = data.data() + offset;
        return D3D_OK;
    }
    HRESULT Unlock() override { return D3D_OK; }
};

struct PlainTexture : IDirect3DTexture8 {
    std::vector<std::vector<BYTE>> levels;
    int* live = nullptr;
    int refs = 1;
    UINT width = 0;
    UINT AddRef() override { return static_cast<UINT>(++refs); }
    UINT Release() override {
        if (--refs == 0) --*live;
        return static_cast<UINT>(refs);
    }
    DWORD GetLevelCount() override { return static_cast<DWORD>(levels.size()); }
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* out, const RECT*, DWORD) override {
        if (level >= levels.size()) return D3DERR_INVALIDCALL;
        out->pBits = levels[level].data();
        out->Pitch = static_cast<INT>(std::max<UINT>(1, width >> level) * 4);
        return D3D_OK;
    }
    HRESULT UnlockRect(UINT) override { return D3D_OK; }
};

class PlainDevice : public IDirect3DDevice8 {
public:
    int live = 0;   // resources still referenced
    long draws = 0;
    long texturesCreated = 0;
    std::size_t textureBytes = 0;  // of every level of every texture created

    UINT AddRef() override { return 1; }
    UINT Release() override { return 1; }
    HRESULT TestCooperativeLevel() override { return D3D_OK; }
    HRESULT Reset(D3DPRESENT_PARAMETERS*) override { return D3D_OK; }
    HRESULT Present(const RECT*, const RECT*, HWND, const RGNDATA*) override { return D3D_OK; }
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD, D3DFORMAT, D3DPOOL,
                          IDirect3DTexture8** out) override {
        auto t = std::make_unique<PlainTexture>();
        t->width = width;
        if (levels == 0) levels = 1;
        for (UINT l = 0; l < levels; ++l) {
            t->levels.emplace_back(std::size_t{std::max<UINT>(1, width >> l)} * std::max<UINT>(1, height >> l) * 4);
            textureBytes += t->levels.back().size();
        }
        ++texturesCreated;
        return hand(std::move(t), textures_, out);
    }
    HRESULT CreateVertexBuffer(UINT length, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8** out) override {
        auto b = std::make_unique<PlainBuffer<IDirect3DVertexBuffer8>>();
        b->data.resize(length);
        return hand(std::move(b), vertexBuffers_, out);
    }
    HRESULT CreateIndexBuffer(UINT length, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer8** out) override {
        auto b = std::make_unique<PlainBuffer<IDirect3DIndexBuffer8>>();
        b->data.resize(length);
        return hand(std::move(b), indexBuffers_, out);
    }
    HRESULT BeginScene() override { return D3D_OK; }
    HRESULT EndScene() override { return D3D_OK; }
    HRESULT Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override { return D3D_OK; }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override { return D3D_OK; }
    HRESULT GetViewport(D3DVIEWPORT8* v) override {
        *v = {0, 0, 500, 500, 0.0f, 1.0f};
        return D3D_OK;
    }
    HRESULT SetRenderState(D3DRENDERSTATETYPE, DWORD) override { return D3D_OK; }
    HRESULT SetTexture(DWORD, IDirect3DBaseTexture8*) override { return D3D_OK; }
    HRESULT SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) override { return D3D_OK; }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT) override { return ++draws, D3D_OK; }
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE, UINT, UINT, UINT, UINT) override { return ++draws, D3D_OK; }
    HRESULT SetVertexShader(DWORD) override { return D3D_OK; }
    HRESULT SetStreamSource(UINT, IDirect3DVertexBuffer8*, UINT) override { return D3D_OK; }
    HRESULT SetIndices(IDirect3DIndexBuffer8*, UINT) override { return D3D_OK; }

private:
    template <typename T, typename Out>
    HRESULT hand(std::unique_ptr<T> made, std::vector<std::unique_ptr<T>>& keep, Out** out) {
        made->live = &live;
        ++live;
        *out = made.get();
        keep.push_back(std::move(made));
        return D3D_OK;
    }
    std::vector<std::unique_ptr<PlainBuffer<IDirect3DVertexBuffer8>>> vertexBuffers_;
    std::vector<std::unique_ptr<PlainBuffer<IDirect3DIndexBuffer8>>> indexBuffers_;
    std::vector<std::unique_ptr<PlainTexture>> textures_;
};

}  // namespace faults
