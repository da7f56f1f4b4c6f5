#include "platform/d3d8/image_decode.h"

#include "platform/d3d8/jpeg_check.h"
#include "platform/d3d8/jpeg_scaled.h"
#include "platform/d3d8/stb_decoder.h"

namespace d3dx {

void RgbaImage::Release::operator()(std::uint8_t* block) const { stb::release(block); }

ImageKind sniffImage(const std::uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr) return ImageKind::Unknown;
    if (size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return ImageKind::Jpeg;
    if (size < 18) return ImageKind::Unknown;
    // TGA has no magic number: accept only headers whose every field makes
    // sense for the image types the decoder reads.
    const std::uint8_t colorMapType = bytes[1];
    const std::uint8_t imageType = bytes[2];
    const int width = bytes[12] | (bytes[13] << 8);
    const int height = bytes[14] | (bytes[15] << 8);
    const std::uint8_t depth = bytes[16];
    const bool typeOk = imageType == 1 || imageType == 2 || imageType == 3 || imageType == 9 || imageType == 10 ||
                        imageType == 11;
    const bool mapOk = colorMapType == 0 || (colorMapType == 1 && (imageType == 1 || imageType == 9));
    const bool depthOk = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    if (typeOk && mapOk && depthOk && width > 0 && height > 0) return ImageKind::Tga;
    return ImageKind::Unknown;
}

namespace {

// A TGA must hold every pixel it declares; the decoder would otherwise fill
// the missing ones silently, and a few hundred bytes could claim an image of
// hundreds of megabytes. Uncompressed images are measured exactly; an RLE
// packet covers at most 128 pixels and takes at least one byte more than a
// pixel, which gives the least an RLE image can take.
bool tgaComplete(const std::uint8_t* bytes, std::size_t size) {
    const std::uint8_t imageType = bytes[2];
    const std::size_t idLength = bytes[0];
    const std::size_t mapLength = static_cast<std::size_t>(bytes[5] | (bytes[6] << 8));
    const std::size_t mapEntryBits = bytes[7];
    const std::size_t width = static_cast<std::size_t>(bytes[12] | (bytes[13] << 8));
    const std::size_t height = static_cast<std::size_t>(bytes[14] | (bytes[15] << 8));
    const std::size_t pixelBytes = (static_cast<std::size_t>(bytes[16]) + 7) / 8;
    const std::size_t pixels = width * height;
    const std::size_t data = imageType >= 9 ? (pixels + 127) / 128 * (1 + pixelBytes) : pixels * pixelBytes;
    const std::size_t need = 18 + idLength + (bytes[1] == 1 ? mapLength * ((mapEntryBits + 7) / 8) : 0) + data;
    return size >= need;
}

std::size_t pixelBytes(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
}

// Halves the image in its own block, each pixel the rounded mean of the
// 2 × 2 block it stands for (a side of 1 stays 1). Rows are written ahead
// of the rows they are read from, so nothing is overwritten before use.
void halve(RgbaImage* image) {
    std::uint8_t* pixels = image->block.get();
    const int w = image->width, h = image->height;
    const int hw = w > 1 ? w / 2 : 1, hh = h > 1 ? h / 2 : 1;
    const std::size_t dx = w > 1 ? 4 : 0;
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 4;
    for (int y = 0; y < hh; ++y) {
        const std::uint8_t* r0 = pixels + rowBytes * static_cast<std::size_t>(h > 1 ? 2 * y : 0);
        const std::uint8_t* r1 = h > 1 ? r0 + rowBytes : r0;
        std::uint8_t* dst = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(hw) * 4;
        for (int x = 0; x < hw; ++x, r0 += 2 * dx, r1 += 2 * dx, dst += 4)
            for (std::size_t c = 0; c < 4; ++c)
                dst[c] = static_cast<std::uint8_t>((r0[c] + r0[dx + c] + r1[c] + r1[dx + c] + 2u) / 4u);
    }
    image->width = hw;
    image->height = hh;
}

}  // namespace

bool decodeImage(const std::uint8_t* bytes, std::size_t size, RgbaImage* out, std::size_t maxPixelBytes) {
    *out = RgbaImage{};
    const ImageKind kind = sniffImage(bytes, size);
    if (kind == ImageKind::Unknown || size > 0x7FFFFFFF) return false;
    if (kind == ImageKind::Tga && !tgaComplete(bytes, size)) return false;
    if (kind == ImageKind::Jpeg && !jpegSound(bytes, size)) return false;
    const int len = static_cast<int>(size);
    int w = 0, h = 0;
    if (!stb::info(bytes, len, &w, &h)) return false;
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return false;
    if (pixelBytes(w, h) > maxPixelBytes) {
        if (kind != ImageKind::Jpeg) return false;
        jpeg::Scaled scaled;
        if (!jpeg::decodeScaled(bytes, size, maxPixelBytes, &scaled)) return false;
        out->block.reset(scaled.pixels);
        out->width = scaled.width;
        out->height = scaled.height;
        while (pixelBytes(out->width, out->height) > maxPixelBytes && pixelBytes(out->width, out->height) > 4)
            halve(out);
        return true;
    }
    out->block.reset(stb::loadRgba(bytes, len, &w, &h));
    if (!out->block) return false;
    out->width = w;
    out->height = h;
    return true;
}

}  // namespace d3dx
