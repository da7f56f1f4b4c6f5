// RGB images drawn with a few primitives, written as TGA (uncompressed,
// 24 bits) or JPEG through stb_image_write. Row 0 is the top of the image,
// which is texture row v = 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mp {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

class Image {
public:
    Image(int width, int height, Rgb fill);
    int width() const { return w_; }
    int height() const { return h_; }
    const std::vector<std::uint8_t>& pixels() const { return px_; }
    Rgb at(int x, int y) const;

    void set(int x, int y, Rgb c);  // ignores points outside
    // Rectangles and ellipses in texture units (0..1 across and down).
    void rect(float u0, float v0, float u1, float v1, Rgb c);
    void ellipse(float cu, float cv, float ru, float rv, Rgb c);
    // Weave-like variation of +-amount on every pixel, the same on every run.
    void grain(int amount, unsigned seed);

private:
    int w_, h_;
    std::vector<std::uint8_t> px_;
};

Rgb shade(Rgb c, int delta);

bool writeTga(const std::string& path, const Image& image);
// The same files' bytes in memory.
std::string tgaBytes(const Image& image);
std::string jpegBytes(const Image& image);
bool writeJpeg(const std::string& path, const Image& image);

}  // namespace mp
