// Fault injection for the system layer: tests make any single step of a
// whole-file read fail on demand, so every failure path of the callers is
// exercised for real. Production code never sets faults.
#pragma once

#include <cstdint>

namespace sys {

enum class Step : int { Open, Size, Allocate, Read, Release, Count };

struct Faults {
    // Fail the n-th call (counted from 1) of each step; 0 = never fail.
    // failAlways makes every call of that step fail.
    std::uint32_t failOnCall[static_cast<int>(Step::Count)] = {};
    bool failAlways[static_cast<int>(Step::Count)] = {};
    // A failing read delivers this many bytes instead of all (0 by default).
    std::uint32_t shortReadBytes = 0;
};

// Installs the faults and resets the per-step call counters.
void setSysFaults(const Faults& faults);
// Removes every fault and resets the counters.
void clearSysFaults();
// Calls made of a step since the last set or clear.
std::uint32_t sysCallCount(Step step);

}  // namespace sys
