// Path rules of the system layer.
//
// The system composes paths with backslashes and lower-cases the model
// directory, because the original platform's file system ignores case. On
// POSIX a '\' is a separator like '/', and a path that does not exist as
// written is resolved component by component with ASCII letter case
// ignored; among several matches of one component the first in byte order
// of the names wins, so the result does not depend on directory order.
// On Windows (win32_path.cpp) the file system does all that itself.
//
// Paths are UTF-8 text everywhere; fsPath and utf8Path carry them into and
// out of std::filesystem, whose narrow strings are the system's code page
// on Windows.
#pragma once

#include <filesystem>
#include <string>

namespace sys {

// Turns every '\' into '/'.
std::string normalizeSeparators(const std::string& path);

// The existing path that `path` names under the rules above, or an empty
// string when no such file or directory exists.
std::string resolvePath(const std::string& path);

// The length of the path's root, the part no ".." climbs above: "/" on
// POSIX; "C:/", "C:", "//server/share/" or "/" on Windows (either
// separator). 0 for a relative path.
std::size_t rootLength(const std::string& path);

inline std::filesystem::path fsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The same with '/' as the separator (std::filesystem's generic form).
inline std::string genericUtf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace sys
