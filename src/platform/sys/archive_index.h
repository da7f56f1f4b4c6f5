// The process-wide index of .pk3 archives.
//
// Every directory that holds archives gets one merged index: member key ->
// (archive, entry), built from its archives in file-name order so that an
// archive whose name sorts later overrides the earlier ones. A directory is
// listed and its archives opened (read-only) at its first lookup; they stay
// open for the life of the process. The index of a directory is rebuilt when
// the directory's modification time changes (an archive added or removed);
// archives themselves are reopened only when their size or time changed.
//
// Not thread-safe: the programs read files from one thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/sys/archive.h"

namespace sys::archive {

struct MemberRef {
    std::shared_ptr<Archive> archive;
    std::uint64_t index = 0;
};

// The archives of one directory as one index; the last one added wins.
class ArchiveSet {
public:
    void add(std::shared_ptr<Archive> archive);
    bool find(const std::string& key, MemberRef& out) const;
    std::size_t archiveCount() const { return archives_.size(); }
    std::size_t memberCount() const { return members_.size(); }

private:
    struct Slot {
        std::uint32_t archive;
        std::uint64_t index;
    };
    std::vector<std::shared_ptr<Archive>> archives_;
    // Keys point into the archives' own indexes, which live as long as this.
    std::unordered_map<std::string_view, Slot> members_;
};

// True for a file name ending in ".pk3", ASCII case ignored.
bool isArchiveName(std::string_view name);

// The archive order of a directory, as the game sorts its archives: names
// compared with ASCII letters folded to upper case (so "pak_x" comes after
// "pakx"), then byte order; a later archive overrides an earlier one.
bool archiveNameLess(const std::string& a, const std::string& b);

// The names of the regular *.pk3 files of `dir`, in archive order; none
// when it cannot be listed.
std::vector<std::string> archiveNames(const std::string& dir);

// The archives of the existing directory `dir`; null when it holds no
// *.pk3 file (an archive that cannot be read still counts as held, and
// is left out of the index).
const ArchiveSet* archivesOf(const std::string& dir);

// The archive file at `path`, opened once and kept; null when it is not a
// readable archive.
std::shared_ptr<Archive> archiveAt(const std::string& path);

// Drops every index and closes the archives no open file still uses.
void forgetArchives();

}  // namespace sys::archive
