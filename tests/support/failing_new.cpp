#include "failing_new.h"

#include <cstdlib>
#include <new>

namespace {

// Per thread, so that the helper threads of a graphics driver never see a
// refusal meant for the test.
thread_local bool t_active = false;
thread_local std::size_t t_largerThan = 0;
thread_local std::size_t t_refused = 0;

}  // namespace

namespace testing_support {

FailingNew::FailingNew(std::size_t largerThan) {
    t_active = true;
    t_largerThan = largerThan;
    t_refused = 0;
}

FailingNew::~FailingNew() { t_active = false; }

std::size_t FailingNew::refused() const { return t_refused; }

}  // namespace testing_support

namespace {

void* take(std::size_t size) {
    if (t_active && size > t_largerThan) {
        ++t_refused;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    throw std::bad_alloc();
}

void* tryTake(std::size_t size) noexcept {
    try {
        return take(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

// Every plain form is replaced, so that whatever the runtime (a sanitizer's
// included) brings, each block is given back by the family that made it.
void* operator new(std::size_t size) { return take(size); }
void* operator new[](std::size_t size) { return take(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return tryTake(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return tryTake(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
