// The game's search path: the folders and .pk3 archives it reads files
// from, and for each game path the file it takes and the files that one
// hides.
//
// The order, highest first (this is the one place it is decided):
//   1. sources added later before sources added earlier: each --game-dir
//      (or archive) given after another overrides it, as a mod's folder
//      overrides the base game's;
//   2. inside one game folder, its archives before its loose files, and
//      among its archives the later in the game's name order
//      (sys::archive::archiveNameLess: names folded to upper case) first.
// That is id Tech 3's FS_AddGameDirectory: it puts the folder at the
// front of the search list and then each archive, in name order, in front
// of it, and the game takes the first source holding a path. (Some later
// engines search loose files first; the viewer's own lookups do too, see
// platform/sys/archive_lookup.h: it is the disk first, archives after.)
//
// Archives are the process's shared ones (sys::archive::archiveAt), so a
// member read through the returned path counts against the same inflate
// allowance as every other read of it. Adding a folder lists it once and
// opens (indexes) each archive once: work in proportion to the archives'
// central directories. A lookup costs one hash lookup per archive and one
// path resolution per folder.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sys::archive {
class Archive;
}

namespace game {

struct Source {
    enum class Kind : unsigned char { Folder, Archive };
    Kind kind = Kind::Folder;
    std::string path;  // the folder, or the archive file, as found on disk
    std::shared_ptr<sys::archive::Archive> archive;  // Archive only

    // "folder PATH" or "archive PATH".
    std::string describe() const;
};

// Where a file was found.
struct Located {
    std::string path;             // what sys::openForReading takes (a disk path or ARCHIVE.pk3:member); empty: not found
    int source = -1;              // the source that supplied it; -1 when not found or when not in the search path
    std::vector<int> overridden;  // the other sources holding the same game path, which `source` hides, highest first

    bool found() const { return !path.empty(); }
    bool inGame() const { return source >= 0; }
};

class SearchPath {
public:
    // A game folder: its loose files and its archives, over everything
    // added before. False (with why) when it is not a folder. Archives in
    // it that cannot be read are left out and listed in unreadable().
    bool addFolder(const std::string& folder, std::string& why);
    // One archive file over everything added before; false (with why) when
    // it is not a readable archive.
    bool addArchive(const std::string& archive, std::string& why);
    // addArchive for a *.pk3 file, else addFolder.
    bool add(const std::string& path, std::string& why);

    // The file the game takes for this game path. Not found when no source
    // holds it or the game refuses the path (gamePathKey).
    Located find(std::string_view gamePath) const;

    // A path as a user gives it: a game path the search path holds (not
    // tried for a path starting with '/'), else a file on disk (or ARCHIVE.pk3:member). A disk file below one of the
    // folders is taken by its game path, as the game would (so an archive
    // may hide it). `gamePath` is set to the game path when there is one.
    Located locate(const std::string& path, std::string* gamePath = nullptr) const;

    // Lowest first: the order of adding, each folder before its archives.
    const std::vector<Source>& sources() const { return sources_; }
    const std::vector<std::string>& unreadable() const { return unreadable_; }
    bool empty() const { return sources_.empty(); }

private:
    bool holds(const Source& source, const std::string& key, std::string* path) const;

    std::vector<Source> sources_;
    std::vector<std::string> unreadable_;
};

}  // namespace game
