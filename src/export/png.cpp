#include "export/png.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kZlibLevel = 6;

unsigned char* deflateWithZlib(unsigned char* data, int length, int* outLength, int) {
    uLongf size = compressBound(static_cast<uLong>(length));
    auto* out = static_cast<unsigned char*>(std::malloc(size));
    if (out == nullptr || compress2(out, &size, data, static_cast<uLong>(length), kZlibLevel) != Z_OK) {
        std::free(out);
        return nullptr;
    }
    *outLength = static_cast<int>(size);
    return out;
}

}  // namespace

#define STBIW_ZLIB_COMPRESS deflateWithZlib
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace exporter {

namespace {

void append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<std::uint8_t> encodePng(std::span<const std::uint8_t> pixels, int width, int height, int channels) {
    std::vector<std::uint8_t> out;
    const std::size_t row = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);
    if (width <= 0 || height <= 0 || pixels.size() != row * static_cast<std::size_t>(height)) return out;
    if (stbi_write_png_to_func(append, &out, width, height, channels, pixels.data(), static_cast<int>(row)) == 0)
        out.clear();
    return out;
}

}  // namespace exporter
