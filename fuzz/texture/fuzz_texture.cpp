// Arbitrary bytes as an image: decodeImage straight from memory, then the
// same bytes as a file through D3DXCreateTextureFromFileA on the recording
// device. Both must agree, a decoded image must be as large as it says, the
// texture's top level must hold exactly the decoded pixels and every other
// level the rounded mean of each 2 x 2 block above it. Decoded again
// within a small allowance (a JPEG then decodes smaller), the image must
// fit it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/d3d8/d3dx8.h"
#include "platform/d3d8/image_decode.h"
#include "recording_device.h"
#include "common/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    d3dx::RgbaImage image;
    const bool decoded = d3dx::decodeImage(data, size, &image);
    if (decoded) {
        if (image.width < 1 || image.height < 1 || image.width > d3dx::kMaxImageSide ||
            image.height > d3dx::kMaxImageSide)
            std::abort();
        if (image.pixels().size() != static_cast<std::size_t>(image.width) * image.height * 4) std::abort();
        if (d3dx::sniffImage(data, size) == d3dx::ImageKind::Unknown) std::abort();
    }
    const std::size_t allowance = 4 * size + 4;
    d3dx::RgbaImage smaller;
    if (d3dx::decodeImage(data, size, &smaller, allowance)) {
        if (smaller.width < 1 || smaller.height < 1 || smaller.pixels().size() > allowance ||
            smaller.pixels().size() != static_cast<std::size_t>(smaller.width) * smaller.height * 4)
            std::abort();
    }

    rec::RecordingDevice device;
    IDirect3DTexture8* texture = nullptr;
    const HRESULT hr = D3DXCreateTextureFromFileA(&device, fuzzing::memoryFile(data, size).c_str(), &texture);
    if (SUCCEEDED(hr) != decoded || (texture != nullptr) != decoded) std::abort();
    if (!texture) return 0;

    const auto* t = static_cast<const rec::Texture*>(texture);
    if (t->width != static_cast<UINT>(image.width) || t->height != static_cast<UINT>(image.height) ||
        t->levels.empty())
        std::abort();
    // Level 0 is the image itself, bytes B G R A.
    const auto& top = t->levels[0];
    const auto pixels = image.pixels();
    if (top.size() != pixels.size()) std::abort();
    // The decoder's memory starts zeroed, so even a damaged image decodes
    // to the same pixels every time.
    for (std::size_t i = 0; i < top.size(); i += 4)
        if (top[i] != pixels[i + 2] || top[i + 1] != pixels[i + 1] || top[i + 2] != pixels[i] ||
            top[i + 3] != pixels[i + 3])
            std::abort();
    for (std::size_t level = 1; level < t->levels.size(); ++level) {
        const auto& above = t->levels[level - 1];
        const std::size_t aw = t->levelWidth(static_cast<UINT>(level - 1)), w = t->levelWidth(static_cast<UINT>(level));
        const std::size_t ah = above.size() / 4 / aw, h = t->levels[level].size() / 4 / w;
        for (std::size_t y = 0; y < h; ++y)
            for (std::size_t x = 0; x < w; ++x)
                for (std::size_t c = 0; c < 4; ++c) {
                    const std::size_t x0 = 2 * x, x1 = aw > 1 ? 2 * x + 1 : 0, y0 = 2 * y, y1 = ah > 1 ? 2 * y + 1 : 0;
                    const unsigned sum = above[(y0 * aw + x0) * 4 + c] + above[(y0 * aw + x1) * 4 + c] +
                                         above[(y1 * aw + x0) * 4 + c] + above[(y1 * aw + x1) * 4 + c];
                    if (t->levels[level][(y * w + x) * 4 + c] != (sum + 2) / 4) std::abort();
                }
    }
    texture->Release();
    return 0;
}
