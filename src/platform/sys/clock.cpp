#include <chrono>

#include "platform/sys/sys.h"

namespace sys {
namespace {

const auto g_start = std::chrono::steady_clock::now();

}  // namespace

std::uint32_t milliseconds() {
    const auto elapsed = std::chrono::steady_clock::now() - g_start;
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace sys
