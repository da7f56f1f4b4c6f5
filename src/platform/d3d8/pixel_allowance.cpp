#include "platform/d3d8/pixel_allowance.h"

#include <algorithm>

#include "platform/d3d8/image_decode.h"
#include "platform/sys/sys.h"

namespace d3dx {

PixelAllowance::PixelAllowance() : readAtStart_(sys::bytesRead()) {}

void PixelAllowance::restart() {
    readAtStart_ = sys::bytesRead();
    spent_ = 0;
}

std::size_t PixelAllowance::left() const {
    const std::uint64_t input = sys::bytesRead() - readAtStart_;
    const std::uint64_t allowed = kFloorBytes + kBytesPerInputByte * input;
    const std::uint64_t left = allowed > spent_ ? allowed - spent_ : 0;
    return static_cast<std::size_t>(std::min<std::uint64_t>(left, kUnlimitedPixelBytes));
}

}  // namespace d3dx
