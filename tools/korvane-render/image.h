// Pictures in memory: rows of RGB or RGBA bytes, the top row first; a
// picture drawn over black and over white turned into colour and alpha;
// the views of a sheet placed side by side.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kr {

struct Image {
    int width = 0;
    int height = 0;
    int channels = 3;  // 3: RGB; 4: RGBA, not premultiplied
    std::vector<unsigned char> pixels;

    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * static_cast<std::size_t>(channels); }
};

// Sizes `image` (its pixels unset); a one-line reason when memory cannot be had.
std::string allocate(Image& image, int width, int height, int channels);

// The same `count` pixels drawn over black and over white (RGB) as RGBA:
// alpha is what the white shines through, 255 minus the difference; the
// colour is the one over black divided by alpha. Without blending the
// difference is the share of the pixel the model covers (0 or 255, between
// them on anti-aliased edges).
void unblend(const unsigned char* overBlack, const unsigned char* overWhite, std::size_t count, unsigned char* rgba);

// Copies `cell` (as many channels as `sheet`, at most its height) into
// `sheet` with its left column at `left`.
void place(Image& sheet, const Image& cell, int left);

}  // namespace kr
