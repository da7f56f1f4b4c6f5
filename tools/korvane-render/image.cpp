#include "image.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kr {

std::string allocate(Image& image, int width, int height, int channels) {
    image.width = width;
    image.height = height;
    image.channels = channels;
    try {
        image.pixels.resize(image.rowBytes() * static_cast<std::size_t>(height));
    } catch (const std::bad_alloc&) {
        return "out of memory for a " + std::to_string(width) + "x" + std::to_string(height) + " picture";
    }
    return {};
}

void unblend(const unsigned char* overBlack, const unsigned char* overWhite, std::size_t count, unsigned char* rgba) {
    for (std::size_t i = 0; i < count; ++i, overBlack += 3, overWhite += 3, rgba += 4) {
        int through = 0;
        for (int c = 0; c < 3; ++c) through += std::max(0, overWhite[c] - overBlack[c]);
        const int alpha = 255 - (through + 1) / 3;
        for (int c = 0; c < 3; ++c) {
            rgba[c] = alpha == 0 ? 0 : static_cast<unsigned char>(std::min(255, (overBlack[c] * 255 + alpha / 2) / alpha));
        }
        rgba[3] = static_cast<unsigned char>(alpha);
    }
}

void place(Image& sheet, const Image& cell, int left) {
    const std::size_t offset = static_cast<std::size_t>(left) * static_cast<std::size_t>(sheet.channels);
    const std::size_t length = std::min(cell.rowBytes(), sheet.rowBytes() - std::min(offset, sheet.rowBytes()));
    for (int y = 0; y < std::min(cell.height, sheet.height); ++y) {
        std::memcpy(sheet.pixels.data() + static_cast<std::size_t>(y) * sheet.rowBytes() + offset,
                    cell.pixels.data() + static_cast<std::size_t>(y) * cell.rowBytes(), length);
    }
}

}  // namespace kr
