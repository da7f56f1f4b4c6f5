// RGBA pixels as PNG bytes: stb_image_write's PNG writer with zlib's
// deflate (the image library's own deflate is slower and larger).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace exporter {

// `channels` 3 (RGB) or 4 (RGBA) bytes per pixel, rows top-down. Empty on
// failure (no memory).
std::vector<std::uint8_t> encodePng(std::span<const std::uint8_t> pixels, int width, int height, int channels);

}  // namespace exporter
