#include "platform/gl/gl_buffers.h"

#include <cstring>
#include <utility>

GlBufferStore::GlBufferStore(GlContextRef context, UINT length) : context_(std::move(context)), bytes_(length, 0) {}

GlBufferStore::~GlBufferStore() {
    if (name_ != 0 && context_->makeCurrent()) {
        context_->gl.DeleteBuffers(1, &name_);
    }
}

HRESULT GlBufferStore::lock(UINT offset, UINT size, BYTE** data) {
    if (data == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *data = nullptr;
    const UINT length = this->length();
    if (offset > length || (size != 0 && size > length - offset)) {
        return D3DERR_INVALIDCALL;
    }
    ++locks_;
    *data = bytes_.data() + offset;
    return D3D_OK;
}

HRESULT GlBufferStore::unlock() {
    if (locks_ == 0) {
        return D3DERR_INVALIDCALL;
    }
    --locks_;
    dirty_ = true;
    return D3D_OK;
}

void GlBufferStore::bind(GLenum target) {
    const GlFunctions& gl = context_->gl;
    if (name_ == 0) {
        gl.GenBuffers(1, &name_);
        gl.BindBuffer(target, name_);
        gl.BufferData(target, static_cast<GLsizeiptr>(bytes_.size()), bytes_.data(), GL_DYNAMIC_DRAW);
        dirty_ = false;
        return;
    }
    gl.BindBuffer(target, name_);
    if (dirty_) {
        gl.BufferSubData(target, 0, static_cast<GLsizeiptr>(bytes_.size()), bytes_.data());
        dirty_ = false;
    }
}

HRESULT GlVertexBuffer::Lock(UINT OffsetToLock, UINT SizeToLock, BYTE** ppbData, DWORD Flags) {
    (void)Flags;
    return store_.lock(OffsetToLock, SizeToLock, ppbData);
}

HRESULT GlVertexBuffer::Unlock() { return store_.unlock(); }

HRESULT GlIndexBuffer::Lock(UINT OffsetToLock, UINT SizeToLock, BYTE** ppbData, DWORD Flags) {
    (void)Flags;
    return store_.lock(OffsetToLock, SizeToLock, ppbData);
}

HRESULT GlIndexBuffer::Unlock() { return store_.unlock(); }

UINT GlIndexBuffer::maxIndex(UINT first, UINT count) const {
    UINT top = 0;
    const BYTE* p = store_.bytes() + static_cast<std::size_t>(first) * indexSize();
    for (UINT i = 0; i < count; ++i) {
        UINT v = 0;
        if (indexSize() == 2) {
            WORD w;
            std::memcpy(&w, p + 2 * static_cast<std::size_t>(i), 2);
            v = w;
        } else {
            std::memcpy(&v, p + 4 * static_cast<std::size_t>(i), 4);
        }
        top = v > top ? v : top;
    }
    return top;
}
