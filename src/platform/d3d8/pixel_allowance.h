// How many bytes the decoded pixels of one load may take: they follow the
// size of what the load read. The top levels of its images take at most
// kFloorBytes plus kBytesPerInputByte for every byte read since the load
// began (sys::bytesRead: the model files, skins, and each image file, read
// before its share is asked). An image that would take more than is left is
// decoded at half its size or less (decodeImage; the game likewise scales
// an image down to its largest texture size). The 8 MiB floor keeps every
// image of ordinary size (1024 × 1024, or eight of 512 × 512) untouched.
#pragma once

#include <cstddef>
#include <cstdint>

namespace d3dx {

class PixelAllowance {
public:
    static constexpr std::uint64_t kFloorBytes = 8u << 20;
    static constexpr std::uint64_t kBytesPerInputByte = 4;

    PixelAllowance();
    // A new load begins: nothing spent, reading counted from now.
    void restart();
    // What the next image may take.
    std::size_t left() const;
    void spend(std::size_t bytes) { spent_ += bytes; }
    std::uint64_t spent() const { return spent_; }

private:
    std::uint64_t readAtStart_ = 0;
    std::uint64_t spent_ = 0;
};

}  // namespace d3dx
