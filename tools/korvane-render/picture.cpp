#include "picture.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "model/mds.h"
#include "platform/d3d8/surface.h"
#include "render/renderer.h"

namespace {

// stb_image_write's own deflate took two thirds of a 500 × 500 picture's
// writing time and made larger files than zlib at a low level.
constexpr int kZlibLevel = 3;

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
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace kr {

namespace {

struct Output {
    std::FILE* file;
    bool failed = false;
};

void writeTo(void* context, void* data, int size) {
    auto* out = static_cast<Output*>(context);
    const auto length = static_cast<std::size_t>(size);
    if (!out->failed && std::fwrite(data, 1, length, out->file) != length) out->failed = true;
}

}  // namespace

std::string Shot::take(std::uint32_t frame, std::vector<unsigned char>& rgb) const {
    body.setFrame(frame);
    renderer.render();
    UINT width = 0;
    UINT height = 0;
    surface.pixelSize(&width, &height);
    try {
        rgb.resize(std::size_t{3} * width * height);
    } catch (const std::bad_alloc&) {
        return "out of memory for a " + std::to_string(width) + "x" + std::to_string(height) + " picture";
    }
    if (!surface.readRgb(rgb.data())) return "cannot read the picture back from the OpenGL context";
    return {};
}

std::string writePng(const std::vector<unsigned char>& pixels, int width, int height, const std::string& path) {
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    if (width <= 0 || height <= 0 || pixels.size() != row * static_cast<std::size_t>(height)) {
        return "no " + std::to_string(width) + "x" + std::to_string(height) + " picture to write to " + path;
    }
    Output out{std::fopen(path.c_str(), "wb")};
    if (out.file == nullptr) return "cannot write " + path;
    // The pictures are mostly flat background: unfiltered rows compress as
    // well as the best filter per row and save trying all five.
    stbi_write_force_png_filter = 0;
    const int written = stbi_write_png_to_func(writeTo, &out, width, height, 3, pixels.data(), static_cast<int>(row));
    const bool closed = std::fclose(out.file) == 0;
    if (written == 0 || out.failed || !closed) {
        std::remove(path.c_str());
        return "cannot write " + path;
    }
    return {};
}

}  // namespace kr
