// stb_image built for the two formats the texture loader reads, with every
// allocation zero-filled. A damaged JPEG can end before a scan has set every
// coefficient of a component; with plain malloc the decoder then turned
// whatever the heap held into pixels, and the same file looked different on
// each load. Zero-filled blocks make the result depend on the bytes alone.
#include "platform/d3d8/stb_decoder.h"

#include <cstdlib>
#include <cstring>

#include "platform/sys/sys.h"

namespace {

// The pixels of a large image and its component planes are written once,
// right after they are allocated: large pages make that cheap.
void* zeroedAlloc(std::size_t size) {
    void* block = std::calloc(1, size == 0 ? 1 : size);
    sys::adviseLargePages(block, size);
    return block;
}

[[maybe_unused]] void* zeroedRealloc(void* p, std::size_t oldSize, std::size_t newSize) {
    auto* grown = static_cast<unsigned char*>(std::realloc(p, newSize));
    if (grown != nullptr && newSize > oldSize) std::memset(grown + oldSize, 0, newSize - oldSize);
    return grown;
}

}  // namespace

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MALLOC(sz) zeroedAlloc(sz)
#define STBI_REALLOC_SIZED(p, oldsz, newsz) zeroedRealloc(p, oldsz, newsz)
#define STBI_FREE(p) std::free(p)
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Weverything"
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#endif
#include <stb_image.h>
#if defined(__clang__)
#pragma clang diagnostic pop
#elif defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace d3dx::stb {

bool info(const std::uint8_t* bytes, int size, int* width, int* height) {
    int comp = 0;
    return stbi_info_from_memory(bytes, size, width, height, &comp) != 0;
}

std::uint8_t* loadRgba(const std::uint8_t* bytes, int size, int* width, int* height) {
    int comp = 0;
    return stbi_load_from_memory(bytes, size, width, height, &comp, 4);
}

void release(std::uint8_t* pixels) { stbi_image_free(pixels); }

}  // namespace d3dx::stb
