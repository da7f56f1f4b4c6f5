// Internal to the system layer: asks whether the current call of a step is
// one that the installed faults make fail (and counts the call).
#pragma once

#include "platform/sys/faults.h"

namespace sys::detail {

bool shouldFail(Step step);
std::uint32_t shortReadBytes();

}  // namespace sys::detail
