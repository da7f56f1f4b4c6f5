// The JPEG/TGA decoder (Debian's stb_image, compiled here with our own
// allocator). Only image_decode.cpp calls it; it checks the bytes first.
#pragma once

#include <cstdint>

namespace d3dx::stb {

// Width, height and channel count from the header; false if unreadable.
bool info(const std::uint8_t* bytes, int size, int* width, int* height);

// Decodes to 8-bit RGBA; nullptr on failure. Give the result to release().
std::uint8_t* loadRgba(const std::uint8_t* bytes, int size, int* width, int* height);
void release(std::uint8_t* pixels);

}  // namespace d3dx::stb
