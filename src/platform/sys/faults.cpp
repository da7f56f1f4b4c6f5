#include "platform/sys/fault_gate.h"

namespace sys {
namespace {

Faults g_faults;
std::uint32_t g_calls[static_cast<int>(Step::Count)] = {};

void resetCounters() {
    for (auto& c : g_calls) c = 0;
}

}  // namespace

void setSysFaults(const Faults& faults) {
    g_faults = faults;
    resetCounters();
}

void clearSysFaults() {
    g_faults = Faults{};
    resetCounters();
}

std::uint32_t sysCallCount(Step step) { return g_calls[static_cast<int>(step)]; }

namespace detail {

bool shouldFail(Step step) {
    const int i = static_cast<int>(step);
    const std::uint32_t call = ++g_calls[i];
    return g_faults.failAlways[i] || (g_faults.failOnCall[i] != 0 && g_faults.failOnCall[i] == call);
}

std::uint32_t shortReadBytes() { return g_faults.shortReadBytes; }

}  // namespace detail
}  // namespace sys
