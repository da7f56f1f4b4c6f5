// Image decoding for the texture loader: recognises JPEG and TGA from the
// bytes themselves (never from the file name) and decodes them to RGBA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace d3dx {

enum class ImageKind { Unknown, Jpeg, Tga };

// The largest width or height accepted; larger images are refused before
// any pixel memory is taken.
constexpr int kMaxImageSide = 8192;

// What the bytes look like: JPEG by its start-of-image marker, TGA by a
// header whose fields are all plausible for an uncompressed or RLE image.
ImageKind sniffImage(const std::uint8_t* bytes, std::size_t size);

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4, rows top-down, R G B A
};

// Decodes a JPEG or TGA image; false for anything else or a damaged image.
bool decodeImage(const std::uint8_t* bytes, std::size_t size, RgbaImage* out);

}  // namespace d3dx
