#include "platform/d3d8/jpeg_scaled.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>

#include <jpeglib.h>

namespace d3dx::jpeg {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not
// return: it jumps back to decode(). Everything decode() must clean up
// after the jump lives here, not in its locals.
struct Failure {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
    std::uint8_t* pixels = nullptr;
};

[[noreturn]] void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Failure*>(info->err)->jump, 1);
}

void silent(j_common_ptr) {}

// The part that may jump: no object with a destructor lives in this frame.
bool decode(jpeg_decompress_struct* info, Failure* failure, const std::uint8_t* bytes, std::size_t size,
            std::size_t maxBytes, Scaled* out) {
    if (setjmp(failure->jump) != 0) return false;
    jpeg_create_decompress(info);
    // Whole-image buffers (a progressive or multi-scan image keeps every
    // coefficient) come from this allowance; beyond it libjpeg fails.
    info->mem->max_memory_to_use = static_cast<long>(maxBytes);
    jpeg_mem_src(info, bytes, static_cast<unsigned long>(size));
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) return false;
    info->out_color_space = JCS_EXT_RGBA;
    info->scale_num = 1;
    for (unsigned denom = 1; denom <= 8; denom *= 2) {
        info->scale_denom = denom;
        jpeg_calc_output_dimensions(info);
        if (static_cast<std::size_t>(info->output_width) * info->output_height * 4 <= maxBytes) break;
    }
    if (!jpeg_start_decompress(info)) return false;
    const std::size_t rowBytes = static_cast<std::size_t>(info->output_width) * 4;
    if (info->output_components != 4 || rowBytes == 0 || info->output_height == 0) return false;
    failure->pixels = static_cast<std::uint8_t*>(std::malloc(rowBytes * info->output_height));
    if (failure->pixels == nullptr) return false;
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = failure->pixels + rowBytes * info->output_scanline;
        if (jpeg_read_scanlines(info, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(info);
    out->width = static_cast<int>(info->output_width);
    out->height = static_cast<int>(info->output_height);
    return true;
}

}  // namespace

bool decodeScaled(const std::uint8_t* bytes, std::size_t size, std::size_t maxBytes, Scaled* out) {
    *out = Scaled{};
    if (bytes == nullptr || size == 0) return false;
    jpeg_decompress_struct info{};
    Failure failure;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = onError;
    failure.manager.output_message = silent;
    const bool decoded = decode(&info, &failure, bytes, size, maxBytes, out);
    jpeg_destroy_decompress(&info);
    if (!decoded) {
        std::free(failure.pixels);
        *out = Scaled{};
        return false;
    }
    out->pixels = failure.pixels;
    return true;
}

}  // namespace d3dx::jpeg
