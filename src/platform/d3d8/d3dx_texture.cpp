// D3DXCreateTextureFromFileA: the whole file through the system layer, the
// image decoded from its content, an A8R8G8B8 texture of the managed pool
// with a full mipmap chain (each level a 2 × 2 box filter of the previous).
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/d3d8/d3dx8.h"
#include "platform/d3d8/image_decode.h"
#include "platform/sys/sys.h"
#include "platform/sys/whole_file.h"

namespace {

// Texture files larger than this are not images a player model ships.
constexpr std::uint32_t kMaxTextureFileBytes = 64u * 1024u * 1024u;


d3dx::RgbaImage halve(const d3dx::RgbaImage& src) {
    d3dx::RgbaImage dst;
    dst.width = std::max(1, src.width / 2);
    dst.height = std::max(1, src.height / 2);
    dst.pixels.resize(static_cast<std::size_t>(dst.width) * dst.height * 4);
    for (int y = 0; y < dst.height; ++y) {
        for (int x = 0; x < dst.width; ++x) {
            const int x0 = std::min(2 * x, src.width - 1), x1 = std::min(2 * x + 1, src.width - 1);
            const int y0 = std::min(2 * y, src.height - 1), y1 = std::min(2 * y + 1, src.height - 1);
            for (int c = 0; c < 4; ++c) {
                auto at = [&](int px, int py) {
                    return static_cast<unsigned>(src.pixels[(static_cast<std::size_t>(py) * src.width + px) * 4 + c]);
                };
                const unsigned sum = at(x0, y0) + at(x1, y0) + at(x0, y1) + at(x1, y1);
                dst.pixels[(static_cast<std::size_t>(y) * dst.width + x) * 4 + c] = static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    }
    return dst;
}

// Writes RGBA pixels into a locked A8R8G8B8 level (bytes B, G, R, A).
bool fillLevel(IDirect3DTexture8* texture, UINT level, const d3dx::RgbaImage& image) {
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(level, &locked, nullptr, 0)) || locked.pBits == nullptr ||
        locked.Pitch < image.width * 4)
        return false;
    for (int y = 0; y < image.height; ++y) {
        auto* row = static_cast<std::uint8_t*>(locked.pBits) + static_cast<std::size_t>(y) * locked.Pitch;
        const std::uint8_t* src = image.pixels.data() + static_cast<std::size_t>(y) * image.width * 4;
        for (int x = 0; x < image.width; ++x) {
            row[x * 4 + 0] = src[x * 4 + 2];
            row[x * 4 + 1] = src[x * 4 + 1];
            row[x * 4 + 2] = src[x * 4 + 0];
            row[x * 4 + 3] = src[x * 4 + 3];
        }
    }
    return SUCCEEDED(texture->UnlockRect(level));
}

// The texture is stored in *out as soon as it exists, so that the caller
// releases it when a later step fails or throws.
HRESULT createTexture(IDirect3DDevice8* device, const char* path, IDirect3DTexture8** out) {
    sys::WholeFile file = sys::readWholeFile(path, kMaxTextureFileBytes);
    if (file.failed != sys::ReadStep::Done) return D3DXERR_INVALIDDATA;
    d3dx::RgbaImage image;
    const bool decoded = d3dx::decodeImage(file.bytes.data(), file.bytes.size(), &image);
    // The file's bytes go back before the texture is made; a block that
    // cannot be given back fails the load, so that the caller reports it.
    if (!sys::releaseBlock(file.bytes.release())) return E_FAIL;
    if (!decoded) return D3DXERR_INVALIDDATA;

    IDirect3DTexture8* texture = nullptr;
    const HRESULT hr = device->CreateTexture(static_cast<UINT>(image.width), static_cast<UINT>(image.height), 0, 0,
                                             D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture);
    if (FAILED(hr) || texture == nullptr) return FAILED(hr) ? hr : E_FAIL;
    *out = texture;
    const DWORD levels = texture->GetLevelCount();
    for (DWORD level = 0; level < levels; ++level) {
        if (level > 0) image = halve(image);
        if (!fillLevel(texture, level, image)) return E_FAIL;
    }
    return D3D_OK;
}

}  // namespace

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice8* pDevice, const char* pSrcFile, IDirect3DTexture8** ppTexture) {
    if (ppTexture == nullptr) return D3DERR_INVALIDCALL;
    *ppTexture = nullptr;
    if (pDevice == nullptr || pSrcFile == nullptr) return D3DERR_INVALIDCALL;

    // The file's bytes, the decoded image and its halved levels are held in
    // containers; memory the heap cannot give is E_OUTOFMEMORY, not a throw.
    IDirect3DTexture8* texture = nullptr;
    HRESULT hr = E_OUTOFMEMORY;
    try {
        hr = createTexture(pDevice, pSrcFile, &texture);
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    if (FAILED(hr)) {
        if (texture != nullptr) texture->Release();
        return hr;
    }
    *ppTexture = texture;
    return D3D_OK;
}
