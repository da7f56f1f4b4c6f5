// Separator handling and the case-insensitive lookup of paths on POSIX.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/sys/path.h"

namespace sys {
namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return i == a.size() && b[i] == '\0';
}

// The entry of `dir` whose name matches `name` ignoring ASCII case; the
// first in byte order when several do. Empty when none matches.
std::string findIgnoringCase(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (d == nullptr) return {};
    std::vector<std::string> matches;
    while (const dirent* e = ::readdir(d))
        if (equalsIgnoringCase(name, e->d_name)) matches.emplace_back(e->d_name);
    ::closedir(d);
    if (matches.empty()) return {};
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::string normalizeSeparators(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::size_t rootLength(const std::string& path) { return !path.empty() && (path[0] == '/' || path[0] == '\\') ? 1 : 0; }

std::string resolvePath(const std::string& path) {
    const std::string p = normalizeSeparators(path);
    if (p.empty()) return {};
    if (exists(p)) return p;

    // Walk the components, keeping each one that exists as written and
    // looking up the others ignoring case.
    std::string built = p[0] == '/' ? "/" : "";
    std::size_t pos = p[0] == '/' ? 1 : 0;
    while (pos <= p.size()) {
        std::size_t next = p.find('/', pos);
        if (next == std::string::npos) next = p.size();
        const std::string part = p.substr(pos, next - pos);
        pos = next + 1;
        if (part.empty()) continue;
        const std::string dir = built;
        std::string candidate = dir.empty() || dir.back() == '/' ? dir + part : dir + "/" + part;
        if (part != "." && part != ".." && !exists(candidate)) {
            const std::string match = findIgnoringCase(dir, part);
            if (match.empty()) return {};
            candidate = dir.empty() || dir.back() == '/' ? dir + match : dir + "/" + match;
        }
        built = candidate;
    }
    return exists(built) ? built : std::string{};
}

}  // namespace sys
