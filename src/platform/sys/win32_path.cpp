// Path rules on Windows: the file system itself ignores letter case and
// takes '\' and '/' alike, so an existing path is used as given.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>

#include "platform/sys/path.h"

namespace sys {

std::string normalizeSeparators(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::string resolvePath(const std::string& path) {
    if (path.empty()) return {};
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? path : std::string{};
}

}  // namespace sys
