#include "platform/d3d8/png_encode.h"

#include <zlib.h>

#include <cstdlib>
#include <new>
#include <utility>

namespace {

// stb_image_write asks for deflate through a plain function; the level
// comes from the call in progress (one encoder at a time per thread).
thread_local int zlibLevel = 6;

unsigned char* deflateWithZlib(unsigned char* data, int length, int* outLength, int) {
    uLongf size = compressBound(static_cast<uLong>(length));
    auto* out = static_cast<unsigned char*>(std::malloc(size));
    if (out == nullptr || compress2(out, &size, data, static_cast<uLong>(length), zlibLevel) != Z_OK) {
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

namespace d3dx {

namespace {

struct Output {
    std::vector<std::uint8_t> bytes;
    bool failed = false;
};

// No exception may pass through the C writer (it would leak its buffers).
void append(void* context, void* data, int size) {
    auto* out = static_cast<Output*>(context);
    if (out->failed) return;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    try {
        out->bytes.insert(out->bytes.end(), bytes, bytes + size);
    } catch (const std::bad_alloc&) {
        out->failed = true;
    }
}

}  // namespace

std::vector<std::uint8_t> encodePng(std::span<const std::uint8_t> pixels, int width, int height, int channels,
                                    PngStyle style) {
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return {};
    const std::size_t row = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);
    if (pixels.size() != row * static_cast<std::size_t>(height)) return {};
    zlibLevel = style.zlibLevel;
    stbi_write_force_png_filter = style.unfiltered ? 0 : -1;
    Output out;
    if (stbi_write_png_to_func(append, &out, width, height, channels, pixels.data(), static_cast<int>(row)) == 0 ||
        out.failed)
        return {};
    return std::move(out.bytes);
}

}  // namespace d3dx
