// JPEG decoding at a reduced size (libjpeg's scaled inverse DCT): an image
// too large for the texture loader's allowance is decoded at a half, a
// quarter or an eighth of its width and height straight from its
// coefficients, a row at a time, so the full-size pixels never exist.
#pragma once

#include <cstddef>
#include <cstdint>

namespace d3dx::jpeg {

struct Scaled {
    int width = 0;
    int height = 0;
    // width * height * 4 bytes, R G B A, from std::malloc (as stb's blocks,
    // so an RgbaImage releases either kind the same way).
    std::uint8_t* pixels = nullptr;
};

// Decodes at the largest of 1, 1/2, 1/4 and 1/8 of the image's size whose
// R G B A pixels take at most maxBytes (1/8 when none does). The decoder's
// own working memory is held to maxBytes as well: a progressive image whose
// coefficients would need more is refused. False for a damaged image, or
// when memory runs out.
bool decodeScaled(const std::uint8_t* bytes, std::size_t size, std::size_t maxBytes, Scaled* out);

}  // namespace d3dx::jpeg
