// Memory blocks from the page allocator: committed, zero-filled, read-write.
#include <sys/mman.h>

#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/sys/fault_gate.h"
#include "platform/sys/sys.h"

namespace sys {
namespace {

// munmap needs the length; the platform's release call does not take one,
// so the layer remembers each live block's size.
std::unordered_map<void*, std::size_t>& liveBlocks() {
    static std::unordered_map<void*, std::size_t> blocks;
    return blocks;
}

}  // namespace

void* allocateBlock(std::size_t n) {
    if (detail::shouldFail(Step::Allocate) || n == 0) return nullptr;
    void* p = ::mmap(nullptr, n, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    liveBlocks().emplace(p, n);
    return p;
}

bool releaseBlock(void* block) {
    const bool fail = detail::shouldFail(Step::Release);
    if (block == nullptr) return false;
    auto& blocks = liveBlocks();
    const auto it = blocks.find(block);
    if (it == blocks.end()) return false;
    // An injected failure keeps the block alive, as a failed release would.
    if (fail) return false;
    ::munmap(it->first, it->second);
    blocks.erase(it);
    return true;
}

}  // namespace sys
