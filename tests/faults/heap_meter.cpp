#include "heap_meter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {
std::size_t gLargestRequest = 0;
std::size_t gTotalRequested = 0;
double gSlowestMs = 0;
std::string gSlowest;

void* tracked(std::size_t n) {
    if (n > gLargestRequest) gLargestRequest = n;
    gTotalRequested += n;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
}  // namespace

// Every form is replaced, the nothrow ones too: the standard library pairs
// them with the plain deletes (std::stable_sort's temporary buffer), and a
// new left to the runtime would be released here with free().
void* operator new(std::size_t n) { return tracked(n); }
void* operator new[](std::size_t n) { return tracked(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return tracked(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace faults {

Measure measure(const std::function<void()>& work) {
    gLargestRequest = 0;
    gTotalRequested = 0;
    const auto start = std::chrono::steady_clock::now();
    work();
    Measure m;
    m.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    m.largest = gLargestRequest;
    m.total = gTotalRequested;
    return m;
}

void printRow(const std::string& label, std::size_t size, const std::string& result, const Measure& m) {
    std::printf("  %-34s %10zu bytes  %-28s %9.1f ms  largest allocation %zu, in all %zu\n", label.c_str(), size,
                result.c_str(), m.ms, m.largest, m.total);
    if (m.ms > gSlowestMs) {
        gSlowestMs = m.ms;
        gSlowest = label;
    }
}

void printSlowest() { std::printf("worst case: %s, %.1f ms\n", gSlowest.c_str(), gSlowestMs); }

}  // namespace faults
