// Buffers and textures of the recording device.
#include "recording_device.h"

#include <algorithm>

namespace rec {

std::string Resource::label() const { return std::string(prefix()) + "#" + std::to_string(id); }

namespace {

template <typename Buffer>
HRESULT lockBuffer(Buffer* b, FailSwitch& sw, const char* what, UINT offset, UINT size, BYTE** out) {
    b->device->record(std::string(what) + "Lock(" + b->label() + ", " + std::to_string(offset) + ", " +
                      std::to_string(size) + ")");
    if (out == nullptr) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (sw.hit()) return sw.code;
    const std::size_t n = b->data.size();
    const std::size_t want = size == 0 ? n - std::min<std::size_t>(offset, n) : size;
    if (offset > n || want > n - offset) return D3DERR_INVALIDCALL;
    b->locked = true;
    *out = b->data.data() + offset;
    return D3D_OK;
}

template <typename Buffer>
HRESULT unlockBuffer(Buffer* b, FailSwitch& sw, const char* what) {
    b->device->record(std::string(what) + "Unlock(" + b->label() + ")");
    b->locked = false;
    return sw.hit() ? sw.code : D3D_OK;
}

template <typename Res>
UINT releaseResource(Res* r) {
    r->device->record("Release(" + r->label() + ")");
    if (r->refs > 0) --r->refs;
    return static_cast<UINT>(r->refs);
}

}  // namespace

UINT VertexBuffer::Release() { return releaseResource(this); }
HRESULT VertexBuffer::Lock(UINT offset, UINT size, BYTE** out, DWORD) {
    return lockBuffer(this, device->lockVertexBuffer, "VB.", offset, size, out);
}
HRESULT VertexBuffer::Unlock() { return unlockBuffer(this, device->unlockVertexBuffer, "VB."); }

UINT IndexBuffer::Release() { return releaseResource(this); }
HRESULT IndexBuffer::Lock(UINT offset, UINT size, BYTE** out, DWORD) {
    return lockBuffer(this, device->lockIndexBuffer, "IB.", offset, size, out);
}
HRESULT IndexBuffer::Unlock() { return unlockBuffer(this, device->unlockIndexBuffer, "IB."); }

std::vector<WORD> IndexBuffer::indices() const {
    std::vector<WORD> out(data.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<WORD>(data[2 * i] | (data[2 * i + 1] << 8));
    return out;
}

UINT Texture::Release() { return releaseResource(this); }

UINT Texture::levelWidth(UINT level) const { return std::max(1u, width >> level); }

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* out, const RECT*, DWORD) {
    device->record("LockRect(" + label() + ", " + std::to_string(level) + ")");
    if (out == nullptr || level >= levels.size()) return D3DERR_INVALIDCALL;
    if (device->lockTexture.hit()) return device->lockTexture.code;
    out->Pitch = static_cast<INT>(levelWidth(level) * 4);
    out->pBits = levels[level].data();
    locked = true;
    return D3D_OK;
}

HRESULT Texture::UnlockRect(UINT level) {
    device->record("UnlockRect(" + label() + ", " + std::to_string(level) + ")");
    locked = false;
    if (level >= levels.size()) return D3DERR_INVALIDCALL;
    return device->unlockTexture.hit() ? device->unlockTexture.code : D3D_OK;
}

}  // namespace rec
