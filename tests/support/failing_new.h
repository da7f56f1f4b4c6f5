// An allocator that fails on demand. The program that links this replaces
// the global operator new with one that, while a FailingNew lives, refuses
// (throws std::bad_alloc for) every request of more than `largerThan` bytes
// made on the thread that created it; 0 refuses every request. The nothrow
// and array forms go through it as well (the aligned forms are left alone).
#pragma once

#include <cstddef>

namespace testing_support {

class FailingNew {
public:
    explicit FailingNew(std::size_t largerThan);
    ~FailingNew();
    FailingNew(const FailingNew&) = delete;
    FailingNew& operator=(const FailingNew&) = delete;

    // Requests refused since this one was created.
    std::size_t refused() const;
};

}  // namespace testing_support
