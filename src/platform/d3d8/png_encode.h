// Pixels as PNG bytes: stb_image_write's PNG writer with zlib's deflate
// (the image library's own deflate is slower and makes larger files). The
// one PNG writer of korvane-render's pictures and korvane-export's images.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace d3dx {

struct PngStyle {
    int zlibLevel = 6;
    // Unfiltered rows: for pictures that are mostly flat background they
    // compress as well as the best filter per row and save trying all five.
    bool unfiltered = false;
};

// `channels` 3 (RGB) or 4 (RGBA) bytes per pixel, rows top-down. Empty when
// the size does not match the pixels, or on failure (no memory).
std::vector<std::uint8_t> encodePng(std::span<const std::uint8_t> pixels, int width, int height, int channels,
                                    PngStyle style = {});

}  // namespace d3dx
