// Image decoding for the texture loader: recognises JPEG and TGA from the
// bytes themselves (never from the file name) and decodes them to RGBA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace d3dx {

enum class ImageKind { Unknown, Jpeg, Tga };

// The largest width or height accepted; larger images are refused before
// any pixel memory is taken.
constexpr int kMaxImageSide = 8192;

// What the bytes look like: JPEG by its start-of-image marker, TGA by a
// header whose fields are all plausible for an uncompressed or RLE image.
ImageKind sniffImage(const std::uint8_t* bytes, std::size_t size);

// The decoded pixels stay in the decoder's own block: an image of 8192 ×
// 8192 is 256 MiB, not to be copied.
struct RgbaImage {
    struct Release {
        void operator()(std::uint8_t* block) const;
    };
    int width = 0;
    int height = 0;
    std::unique_ptr<std::uint8_t[], Release> block;  // none until decoded
    // width * height * 4 bytes, rows top-down, R G B A; empty when none.
    std::span<const std::uint8_t> pixels() const {
        return {block.get(), block ? static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4 : 0};
    }
};

// No limit beyond the largest side: the pixels of an 8192 × 8192 image.
constexpr std::size_t kUnlimitedPixelBytes = std::size_t{kMaxImageSide} * kMaxImageSide * 4;

// Decodes a JPEG or TGA image; false for anything else or a damaged image.
// An image whose pixels would take more than maxPixelBytes is made smaller,
// halving width and height until it fits (the game's renderer likewise
// scales an image down to its largest texture): a JPEG decodes directly at
// a half, a quarter or an eighth, so its full-size pixels are never held; a
// TGA that large is refused (its decoder has no smaller output).
bool decodeImage(const std::uint8_t* bytes, std::size_t size, RgbaImage* out,
                 std::size_t maxPixelBytes = kUnlimitedPixelBytes);

}  // namespace d3dx
