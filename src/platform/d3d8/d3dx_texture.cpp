// D3DXCreateTextureFromFileA: the whole file through the system layer, the
// image decoded from its content, an A8R8G8B8 texture of the managed pool
// with a full mipmap chain (each level a 2 × 2 box filter of the previous).
//
// Every texel is written once: level 0 straight from the decoder's block,
// each further level from the one above it while both are locked. Nothing
// is copied or zeroed first; a large image costs its decoding and one pass
// over each level.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "platform/d3d8/d3dx8.h"
#include "platform/d3d8/image_decode.h"
#include "platform/d3d8/pixel_allowance.h"
#include "platform/sys/sys.h"
#include "platform/sys/whole_file.h"

namespace {

// Texture files larger than this are not images a player model ships.
constexpr std::uint32_t kMaxTextureFileBytes = 64u * 1024u * 1024u;


// One locked level of the texture.
struct Level {
    IDirect3DTexture8* texture = nullptr;
    UINT index = 0;
    int width = 0, height = 0;
    BYTE* bits = nullptr;
    std::size_t pitch = 0;

    BYTE* row(int y) const { return bits + static_cast<std::size_t>(y) * pitch; }
};

bool lock(IDirect3DTexture8* texture, UINT index, int width, int height, Level* out) {
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(index, &locked, nullptr, 0))) return false;
    *out = Level{texture, index, width, height, static_cast<BYTE*>(locked.pBits), 0};
    if (out->bits == nullptr || locked.Pitch < width * 4) {
        texture->UnlockRect(index);
        return false;
    }
    out->pitch = static_cast<std::size_t>(locked.Pitch);
    return true;
}

bool unlock(const Level& level) { return SUCCEEDED(level.texture->UnlockRect(level.index)); }

// Level 0: the decoded R G B A pixels as bytes B, G, R, A, a texel at a
// time as one 32-bit word (red and blue trade places).
void fillTop(const d3dx::RgbaImage& image, const Level& level) {
    const std::uint8_t* src = image.pixels().data();
    const std::size_t rowBytes = static_cast<std::size_t>(level.width) * 4;
    for (int y = 0; y < level.height; ++y, src += rowBytes) {
        BYTE* out = level.row(y);
        for (std::size_t x = 0; x < rowBytes; x += 4) {
            std::uint32_t rgba;
            std::memcpy(&rgba, src + x, 4);
            const std::uint32_t bgra = (rgba & 0xFF00FF00u) | ((rgba >> 16) & 0xFFu) | ((rgba & 0xFFu) << 16);
            std::memcpy(out + x, &bgra, 4);
        }
    }
}

// Each texel the rounded mean of the 2 × 2 block above it, channel by
// channel (so the byte order does not matter). A level is half the size of
// the one above, rounded down, so the block lies inside it, except along a
// side of 1, which stands in for both of the block's texels.
void boxFilter(const Level& above, const Level& level) {
    const std::size_t right = above.width > 1 ? 4 : 0;
    for (int y = 0; y < level.height; ++y) {
        const BYTE* __restrict r0 = above.row(2 * y < above.height ? 2 * y : above.height - 1);
        const BYTE* __restrict r1 = above.row(2 * y + 1 < above.height ? 2 * y + 1 : above.height - 1);
        BYTE* __restrict out = level.row(y);
        for (int x = 0; x < level.width; ++x, r0 += 2 * right, r1 += 2 * right, out += 4)
            for (std::size_t c = 0; c < 4; ++c)
                out[c] = static_cast<BYTE>((r0[c] + r0[right + c] + r1[c] + r1[right + c] + 2u) / 4u);
    }
}

// Level 0 from the image, then each level from the one above; a level stays
// locked until the next one is filled from it.
bool fillChain(IDirect3DTexture8* texture, const d3dx::RgbaImage& image) {
    Level above;
    if (!lock(texture, 0, image.width, image.height, &above)) return false;
    fillTop(image, above);
    const DWORD levels = texture->GetLevelCount();
    for (UINT index = 1; index < levels; ++index) {
        Level level;
        if (!lock(texture, index, std::max(1, above.width / 2), std::max(1, above.height / 2), &level)) {
            unlock(above);
            return false;
        }
        boxFilter(above, level);
        const bool unlocked = unlock(above);
        above = level;
        if (!unlocked) {
            unlock(above);
            return false;
        }
    }
    return unlock(above);
}

// The texture is stored in *out as soon as it exists, so that the caller
// releases it when a later step fails or throws.
HRESULT createTexture(IDirect3DDevice8* device, const char* path, d3dx::PixelAllowance* allowance,
                      IDirect3DTexture8** out) {
    sys::WholeFile file = sys::readWholeFile(path, kMaxTextureFileBytes);
    if (file.failed != sys::ReadStep::Done) return D3DXERR_INVALIDDATA;
    d3dx::RgbaImage image;
    // The file's bytes are read (and so counted) before its share is asked.
    const std::size_t limit = allowance ? allowance->left() : d3dx::kUnlimitedPixelBytes;
    const bool decoded = d3dx::decodeImage(file.bytes.data(), file.bytes.size(), &image, limit);
    // The file's bytes go back before the texture is made; a block that
    // cannot be given back fails the load, so that the caller reports it.
    if (!sys::releaseBlock(file.bytes.release())) return E_FAIL;
    if (!decoded) return D3DXERR_INVALIDDATA;
    IDirect3DTexture8* texture = nullptr;
    const HRESULT hr = device->CreateTexture(static_cast<UINT>(image.width), static_cast<UINT>(image.height), 0, 0,
                                             D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture);
    if (FAILED(hr) || texture == nullptr) return FAILED(hr) ? hr : E_FAIL;
    *out = texture;
    if (allowance) allowance->spend(image.pixels().size());
    return fillChain(texture, image) ? D3D_OK : E_FAIL;
}

}  // namespace

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice8* pDevice, const char* pSrcFile, IDirect3DTexture8** ppTexture) {
    return d3dx::createTextureFromFile(pDevice, pSrcFile, nullptr, ppTexture);
}

HRESULT d3dx::createTextureFromFile(IDirect3DDevice8* pDevice, const char* pSrcFile, PixelAllowance* allowance,
                                    IDirect3DTexture8** ppTexture) {
    if (ppTexture == nullptr) return D3DERR_INVALIDCALL;
    *ppTexture = nullptr;
    if (pDevice == nullptr || pSrcFile == nullptr) return D3DERR_INVALIDCALL;

    // The file's bytes are held in a heap block; memory the heap cannot
    // give is E_OUTOFMEMORY, not a throw.
    IDirect3DTexture8* texture = nullptr;
    HRESULT hr = E_OUTOFMEMORY;
    try {
        hr = createTexture(pDevice, pSrcFile, allowance, &texture);
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
