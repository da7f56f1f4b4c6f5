// The two path forms that lead into archives.
#include "platform/sys/archive_lookup.h"

#include <algorithm>
#include <vector>

#include "platform/sys/native.h"
#include "platform/sys/path.h"

namespace sys::archive {
namespace {

bool isDirectory(const std::string& path) {
    return native::status(path).kind == native::Kind::Directory;
}

bool findIn(const std::shared_ptr<Archive>& archive, const std::string& name, MemberRef& out) {
    if (!archive) return false;
    const std::string key = memberKey(name);
    if (key.empty()) return false;
    const std::int64_t index = archive->find(key);
    if (index < 0) return false;
    out.archive = archive;
    out.index = static_cast<std::uint64_t>(index);
    return true;
}

// ARCHIVE.pk3:member. The first ".pk3:" whose left side is an existing
// file decides; false when there is none or the member is not in it.
bool findExplicit(const std::string& p, MemberRef& out) {
    for (std::size_t colon = p.find(':'); colon != std::string::npos; colon = p.find(':', colon + 1)) {
        const std::string archivePath = p.substr(0, colon);
        if (!isArchiveName(archivePath)) continue;
        const std::string resolved = resolvePath(archivePath);
        if (resolved.empty() || isDirectory(resolved)) continue;
        return findIn(archiveAt(resolved), p.substr(colon + 1), out);
    }
    return false;
}

}  // namespace

bool findMember(const std::string& path, MemberRef& out) {
    const std::string p = normalizeSeparators(path);
    if (p.empty()) return false;
    if (findExplicit(p, out)) return true;

    // The ancestors that exist, from the top down: each prefix that exists
    // as written costs one stat, and the first missing one ends the walk
    // (one case-insensitive directory scan) instead of every deeper one
    // failing on its own.
    // The root ("/", or "C:/" on Windows) is the top level; a relative path
    // starts at the working folder.
    const std::size_t root = rootLength(p);
    struct Level {
        std::string dir;        // as resolved on disk
        std::size_t restStart;  // where the rest of the path begins
    };
    std::vector<Level> levels{{root > 0 ? p.substr(0, root) : std::string("."), root}};
    for (std::size_t slash = p.find('/', std::max<std::size_t>(root, 1)); slash != std::string::npos;
         slash = p.find('/', slash + 1)) {
        const std::string resolved = resolvePath(p.substr(0, slash));
        if (resolved.empty()) break;  // a file as a prefix is weeded out by archivesOf
        levels.push_back({resolved, slash + 1});
    }
    // The nearest of them holding archives answers alone.
    for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
        if (const ArchiveSet* set = archivesOf(level->dir)) {
            const std::string key = memberKey(std::string_view(p).substr(level->restStart));
            return !key.empty() && set->find(key, out);
        }
    }
    return false;
}

}  // namespace sys::archive
