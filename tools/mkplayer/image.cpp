// The only place that compiles stb_image_write's implementation.
#define STB_IMAGE_WRITE_IMPLEMENTATION
// File names are UTF-8 on Windows too (opened with the wide-character call).
#define STBIW_WINDOWS_UTF8
#include <stb/stb_image_write.h>

#include "mkplayer/image.h"

#include <algorithm>
#include <cmath>

namespace mp {

namespace {

std::uint8_t clampByte(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

unsigned hash(unsigned x, unsigned y, unsigned seed) {
    unsigned h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

}  // namespace

Rgb shade(Rgb c, int d) { return {clampByte(c.r + d), clampByte(c.g + d), clampByte(c.b + d)}; }

Image::Image(int width, int height, Rgb fill) : w_(width), h_(height), px_(static_cast<std::size_t>(width * height * 3)) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) set(x, y, fill);
}

Rgb Image::at(int x, int y) const {
    const std::size_t i = static_cast<std::size_t>((y * w_ + x) * 3);
    return {px_[i], px_[i + 1], px_[i + 2]};
}

void Image::set(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    const std::size_t i = static_cast<std::size_t>((y * w_ + x) * 3);
    px_[i] = c.r, px_[i + 1] = c.g, px_[i + 2] = c.b;
}

void Image::rect(float u0, float v0, float u1, float v1, Rgb c) {
    const int x0 = static_cast<int>(std::floor(u0 * static_cast<float>(w_)));
    const int x1 = static_cast<int>(std::ceil(u1 * static_cast<float>(w_)));
    const int y0 = static_cast<int>(std::floor(v0 * static_cast<float>(h_)));
    const int y1 = static_cast<int>(std::ceil(v1 * static_cast<float>(h_)));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) set(x, y, c);
}

void Image::ellipse(float cu, float cv, float ru, float rv, Rgb c) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            const float du = ((static_cast<float>(x) + 0.5f) / static_cast<float>(w_) - cu) / ru;
            const float dv = ((static_cast<float>(y) + 0.5f) / static_cast<float>(h_) - cv) / rv;
            if (du * du + dv * dv <= 1.0f) set(x, y, c);
        }
}

void Image::grain(int amount, unsigned seed) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            // Fine noise plus a faint diagonal twill.
            const int n = static_cast<int>(hash(static_cast<unsigned>(x), static_cast<unsigned>(y), seed) % 
                                           static_cast<unsigned>(2 * amount + 1)) - amount;
            const int twill = ((x + y) % 4 == 0) ? -amount / 2 : 0;
            set(x, y, shade(at(x, y), n + twill));
        }
}

namespace {

void appendTo(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

}  // namespace

std::string tgaBytes(const Image& image) {
    std::string out;
    stbi_write_tga_with_rle = 0;
    stbi_write_tga_to_func(appendTo, &out, image.width(), image.height(), 3, image.pixels().data());
    return out;
}

std::string jpegBytes(const Image& image) {
    std::string out;
    stbi_write_jpg_to_func(appendTo, &out, image.width(), image.height(), 3, image.pixels().data(), 92);
    return out;
}

bool writeTga(const std::string& path, const Image& image) {
    stbi_write_tga_with_rle = 0;
    return stbi_write_tga(path.c_str(), image.width(), image.height(), 3, image.pixels().data()) != 0;
}

bool writeJpeg(const std::string& path, const Image& image) {
    return stbi_write_jpg(path.c_str(), image.width(), image.height(), 3, image.pixels().data(), 92) != 0;
}

}  // namespace mp
