// Internal to the system layer on Windows: the programs hold text as UTF-8,
// the system's wide-character calls take UTF-16.
#pragma once

#include <string>

namespace sys::win32 {

// UTF-8 to UTF-16 and back; bytes that are not UTF-8 become U+FFFD.
std::wstring wide(const std::string& utf8);
std::string utf8(const wchar_t* text);

}  // namespace sys::win32
