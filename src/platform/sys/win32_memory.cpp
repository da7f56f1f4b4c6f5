// Memory blocks from the page allocator on Windows: VirtualAlloc commits
// zero-filled read-write pages, VirtualFree gives the whole region back.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/sys/fault_gate.h"
#include "platform/sys/sys.h"

namespace sys {

void* allocateBlock(std::size_t n) {
    if (detail::shouldFail(Step::Allocate) || n == 0) return nullptr;
    return ::VirtualAlloc(nullptr, n, MEM_COMMIT, PAGE_READWRITE);
}

bool releaseBlock(void* block) {
    const bool fail = detail::shouldFail(Step::Release);
    if (block == nullptr) return false;
    // An injected failure keeps the block alive, as a failed release would.
    if (fail) return false;
    // Anything but the start of a region from VirtualAlloc is refused by
    // the system, a block released twice included.
    return ::VirtualFree(block, 0, MEM_RELEASE) != 0;
}

// Large pages need a privilege that programs do not have by default.
void adviseLargePages(void*, std::size_t) {}

}  // namespace sys
