#include "platform/sys/game_root.h"

#include "platform/sys/archive_lookup.h"
#include "platform/sys/path.h"
#include "platform/sys/sys.h"

namespace sys {

namespace {

std::string gRoot;

bool climbsOut(const std::string& path) {
    const std::string p = "/" + normalizeSeparators(path) + "/";
    return p.find("/../") != std::string::npos;
}

// Whether the file opens, without inflating an archive member to find out.
bool opens(const std::string& path) {
    if (resolvePath(path).empty()) {
        archive::MemberRef ref;
        return archive::findMember(path, ref);
    }
    File file = openForReading(path.c_str());
    return file.valid();
}

}  // namespace

void setGameRoot(const std::string& root) {
    gRoot = normalizeSeparators(root);
    while (gRoot.size() > 1 && gRoot.back() == '/') gRoot.pop_back();
}

std::string gameRootPath(const std::string& gamePath) {
    if (gRoot.empty() || gamePath.empty() || climbsOut(gamePath)) return {};
    return gRoot + "/" + normalizeSeparators(gamePath);
}

std::string viewerOrGamePath(const std::string& path, const std::string& gamePath, const char* extension) {
    if (gRoot.empty() || opens(path)) return path;
    const std::string game = gameRootPath(gamePath);
    if (game.empty()) return path;
    const std::string candidate = game + (extension ? extension : "");
    return opens(candidate) ? candidate : path;
}

}  // namespace sys
