#include "platform/sys/second_root.h"

#include "platform/sys/path.h"

namespace sys {

namespace {

std::string gPrefix;
std::string gRoot;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string withoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

}  // namespace

void setSecondRoot(const std::string& prefix, const std::string& root) {
    gPrefix = withoutTrailingSlash(normalizeSeparators(prefix));
    gRoot = root.empty() ? std::string() : withoutTrailingSlash(normalizeSeparators(root));
}

std::string secondRootPath(const std::string& path) {
    if (gRoot.empty() || gPrefix.empty()) return {};
    const std::string p = normalizeSeparators(path);
    if (p.size() <= gPrefix.size() + 1 || p[gPrefix.size()] != '/') return {};
    for (std::size_t i = 0; i < gPrefix.size(); ++i)
        if (lower(p[i]) != lower(gPrefix[i])) return {};
    return gRoot + p.substr(gPrefix.size());
}

}  // namespace sys
