// The millisecond clock on Windows: timeGetTime counts from system start,
// so the count at process start is taken off.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>

#include "platform/sys/sys.h"

namespace sys {
namespace {

const DWORD g_start = ::timeGetTime();

}  // namespace

// Unsigned subtraction stays right across the 49.7-day wrap of the count.
std::uint32_t milliseconds() { return static_cast<std::uint32_t>(::timeGetTime() - g_start); }

}  // namespace sys
