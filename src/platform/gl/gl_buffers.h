// Vertex and index buffers. Every buffer keeps its bytes in CPU memory (the
// managed pool's copy): Lock hands out that memory, Unlock marks it for
// upload, and the device uploads before the next draw that reads it, with
// its context current. The copy outlives Reset, so nothing needs restoring.
#pragma once

#include <vector>

#include "platform/d3d8/d3d8.h"
#include "platform/gl/gl_context.h"

class GlBufferStore {
public:
    GlBufferStore(GlContextRef context, UINT length);
    ~GlBufferStore();
    GlBufferStore(const GlBufferStore&) = delete;
    GlBufferStore& operator=(const GlBufferStore&) = delete;

    HRESULT lock(UINT offset, UINT size, BYTE** data);
    HRESULT unlock();

    UINT length() const { return static_cast<UINT>(bytes_.size()); }
    const BYTE* bytes() const { return bytes_.data(); }
    // Binds the buffer to target, creating and uploading it first as needed.
    void bind(GLenum target);

private:
    GlContextRef context_;
    std::vector<BYTE> bytes_;
    GLuint name_ = 0;
    bool dirty_ = true;
    UINT locks_ = 0;
};

class GlVertexBuffer final : public GlRefCounted<IDirect3DVertexBuffer8> {
public:
    GlVertexBuffer(GlContextRef context, UINT length, DWORD fvf) : store_(std::move(context), length), fvf_(fvf) {}
    HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, BYTE** ppbData, DWORD Flags) override;
    HRESULT Unlock() override;
    GlBufferStore& store() { return store_; }
    DWORD fvf() const { return fvf_; }

private:
    GlBufferStore store_;
    DWORD fvf_;
};

class GlIndexBuffer final : public GlRefCounted<IDirect3DIndexBuffer8> {
public:
    GlIndexBuffer(GlContextRef context, UINT length, D3DFORMAT format)
        : store_(std::move(context), length), format_(format) {}
    HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, BYTE** ppbData, DWORD Flags) override;
    HRESULT Unlock() override;
    GlBufferStore& store() { return store_; }
    UINT indexSize() const { return format_ == D3DFMT_INDEX32 ? 4u : 2u; }
    // Number of whole indices the buffer holds.
    UINT indexCount() const { return store_.length() / indexSize(); }
    // The largest index among count indices from first (the caller has
    // checked the range).
    UINT maxIndex(UINT first, UINT count) const;

private:
    GlBufferStore store_;
    D3DFORMAT format_;
};
