// The per-directory archive indexes and the archive cache of the process.
#include "platform/sys/archive_index.h"

#include <algorithm>
#include <map>

#include "platform/sys/native.h"

namespace sys::archive {
namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
// The game compares archive names folded to upper case, so '_' and the
// other bytes between 'Z' and 'a' sort after the letters.
char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

struct Stamp {
    std::int64_t modified = -1;
    std::uint64_t size = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const native::Status& st) { return Stamp{st.modified, st.size}; }

struct CachedArchive {
    Stamp stamp;
    std::shared_ptr<Archive> archive;  // null: not a readable archive
};

struct CachedDirectory {
    Stamp stamp;
    bool holdsArchives = false;
    ArchiveSet set;
};

std::map<std::string, CachedArchive>& archiveCache() {
    static std::map<std::string, CachedArchive> cache;
    return cache;
}

std::map<std::string, CachedDirectory>& directoryCache() {
    static std::map<std::string, CachedDirectory> cache;
    return cache;
}

std::string join(const std::string& dir, const std::string& name) {
    return dir.empty() || dir.back() == '/' ? dir + name : dir + "/" + name;
}

}  // namespace

void ArchiveSet::add(std::shared_ptr<Archive> archive) {
    if (!archive) return;
    const auto slot = static_cast<std::uint32_t>(archives_.size());
    archives_.push_back(std::move(archive));
    for (const auto& [key, index] : archives_.back()->members()) members_[key] = Slot{slot, index};
}

bool ArchiveSet::find(const std::string& key, MemberRef& out) const {
    const auto it = members_.find(std::string_view(key));
    if (it == members_.end()) return false;
    out.archive = archives_[it->second.archive];
    out.index = it->second.index;
    return true;
}

std::vector<std::string> archiveNames(const std::string& dir) {
    std::vector<std::string> entries, names;
    native::listDirectory(dir, entries);
    for (std::string& name : entries)
        if (isArchiveName(name) && native::status(join(dir, name)).kind == native::Kind::File)
            names.push_back(std::move(name));
    std::sort(names.begin(), names.end(), archiveNameLess);
    return names;
}

bool isArchiveName(std::string_view name) {
    if (name.size() < 4) return false;
    const std::string_view ext = name.substr(name.size() - 4);
    return ext[0] == '.' && lowerAscii(ext[1]) == 'p' && lowerAscii(ext[2]) == 'k' && ext[3] == '3';
}

bool archiveNameLess(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = upperAscii(a[i]), y = upperAscii(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::shared_ptr<Archive> archiveAt(const std::string& path) {
    const native::Status st = native::status(path);
    if (st.kind != native::Kind::File) return nullptr;
    const Stamp stamp = stampOf(st);
    auto& cache = archiveCache();
    const auto it = cache.find(path);
    if (it != cache.end() && it->second.stamp == stamp) return it->second.archive;
    CachedArchive entry{stamp, Archive::openFile(path)};
    auto archive = entry.archive;
    cache[path] = std::move(entry);
    return archive;
}

const ArchiveSet* archivesOf(const std::string& dir) {
    const native::Status st = native::status(dir);
    if (st.kind != native::Kind::Directory) return nullptr;
    Stamp stamp = stampOf(st);
    stamp.size = 0;  // a directory's size says nothing useful
    auto& cache = directoryCache();
    auto it = cache.find(dir);
    if (it == cache.end() || !(it->second.stamp == stamp)) {
        CachedDirectory entry;
        entry.stamp = stamp;
        const std::vector<std::string> names = archiveNames(dir);
        entry.holdsArchives = !names.empty();
        for (const auto& name : names) entry.set.add(archiveAt(join(dir, name)));
        it = cache.insert_or_assign(dir, std::move(entry)).first;
    }
    return it->second.holdsArchives ? &it->second.set : nullptr;
}

void forgetArchives() {
    directoryCache().clear();
    archiveCache().clear();
}

}  // namespace sys::archive
