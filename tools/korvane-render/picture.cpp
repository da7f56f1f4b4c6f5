#include "picture.h"

#include <GL/glcorearb.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

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

template <class Function>
Function entry(GlSurface& surface, const char* name) {
    return reinterpret_cast<Function>(surface.getProcAddress(name));
}

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

std::string readPicture(GlSurface& surface, int width, int height, std::vector<unsigned char>& pixels) {
    auto finish = entry<PFNGLFINISHPROC>(surface, "glFinish");
    auto bindFramebuffer = entry<PFNGLBINDFRAMEBUFFERPROC>(surface, "glBindFramebuffer");
    auto pixelStore = entry<PFNGLPIXELSTOREIPROC>(surface, "glPixelStorei");
    auto readPixels = entry<PFNGLREADPIXELSPROC>(surface, "glReadPixels");
    if (!surface.makeCurrent() || !finish || !bindFramebuffer || !pixelStore || !readPixels) {
        return "cannot read the picture back from the OpenGL context";
    }
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> flipped;
    try {
        pixels.resize(row * static_cast<std::size_t>(height));
        flipped.resize(row);
    } catch (const std::bad_alloc&) {
        return "out of memory for a " + std::to_string(width) + "x" + std::to_string(height) + " picture";
    }
    finish();
    bindFramebuffer(GL_READ_FRAMEBUFFER, surface.framebuffer());
    pixelStore(GL_PACK_ALIGNMENT, 1);
    readPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    // OpenGL's rows run bottom-up, a picture file's top-down.
    for (std::size_t top = 0, bottom = static_cast<std::size_t>(height) - 1; top < bottom; ++top, --bottom) {
        std::memcpy(flipped.data(), &pixels[top * row], row);
        std::memcpy(&pixels[top * row], &pixels[bottom * row], row);
        std::memcpy(&pixels[bottom * row], flipped.data(), row);
    }
    return {};
}

std::string writePng(const std::vector<unsigned char>& pixels, int width, int height, const std::string& path) {
    const std::size_t row = static_cast<std::size_t>(width) * 3;
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

std::string savePicture(GlSurface& surface, int width, int height, const std::string& path) {
    std::vector<unsigned char> pixels;
    std::string error = readPicture(surface, width, height, pixels);
    if (error.empty()) error = writePng(pixels, width, height, path);
    return error;
}

}  // namespace kr
