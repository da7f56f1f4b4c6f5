// Memory blocks from the page allocator: committed, zero-filled, read-write.
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_map>

#include "platform/sys/fault_gate.h"
#include "platform/sys/sys.h"

// Under AddressSanitizer blocks come from calloc instead of mmap, so that
// any read one byte past a file image is caught; ASan does not watch pages
// taken straight from the kernel.
#if defined(__SANITIZE_ADDRESS__)
#define KV_BLOCKS_FROM_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_BLOCKS_FROM_HEAP 1
#endif
#endif

namespace sys {
namespace {

void* takePages(std::size_t n) {
#ifdef KV_BLOCKS_FROM_HEAP
    return std::calloc(n, 1);
#else
    void* p = ::mmap(nullptr, n, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
#endif
}

void givePages(void* p, std::size_t n) {
#ifdef KV_BLOCKS_FROM_HEAP
    (void)n;
    std::free(p);
#else
    ::munmap(p, n);
#endif
}

// munmap needs the length; the platform's release call does not take one,
// so the layer remembers each live block's size.
// The map is never destroyed: blocks may be given back by destructors of
// static objects (the browser's held model) after a function-local static
// would already be gone.
std::unordered_map<void*, std::size_t>& liveBlocks() {
    static auto* blocks = new std::unordered_map<void*, std::size_t>;
    return *blocks;
}

}  // namespace

void* allocateBlock(std::size_t n) {
    if (detail::shouldFail(Step::Allocate) || n == 0) return nullptr;
    void* p = takePages(n);
    if (p == nullptr) return nullptr;
    // A block whose size cannot be recorded could never be given back: the
    // pages go back at once and the block counts as not allocated.
    try {
        liveBlocks().emplace(p, n);
    } catch (const std::bad_alloc&) {
        givePages(p, n);
        return nullptr;
    }
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
    givePages(it->first, it->second);
    blocks.erase(it);
    return true;
}

void adviseLargePages(void* block, std::size_t n) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLarge = 2u << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t end = (start + n) & ~(kLarge - 1);
    // Advice only: a system that declines it leaves the block as it was.
    if (block != nullptr && end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)block;
    (void)n;
#endif
}

}  // namespace sys
