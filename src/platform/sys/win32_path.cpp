// Path rules on Windows: the file system itself ignores letter case and
// takes '\' and '/' alike, so an existing path is used as given. A path
// starts with its root: a drive ("C:\", or "C:" for that drive's working
// folder), a share ("\\server\share\") or the current drive's "\".
#include <algorithm>

#include "platform/sys/native.h"
#include "platform/sys/path.h"

namespace sys {

std::string normalizeSeparators(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::string resolvePath(const std::string& path) {
    if (path.empty()) return {};
    return native::status(path).kind != native::Kind::Missing ? path : std::string{};
}

std::size_t rootLength(const std::string& path) {
    const std::string p = normalizeSeparators(path);
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (p.size() >= 2 && letter(p[0]) && p[1] == ':') return p.size() >= 3 && p[2] == '/' ? 3 : 2;
    if (p.size() >= 2 && p[0] == '/' && p[1] == '/') {
        // "//server/share/": the root takes the server and the share.
        std::size_t end = p.find('/', 2);
        if (end != std::string::npos) end = p.find('/', end + 1);
        return end == std::string::npos ? p.size() : end + 1;
    }
    return !p.empty() && p[0] == '/' ? 1 : 0;
}

}  // namespace sys
