// Finding and reading files as the programs do: '\' or '/', letter case
// ignored, members of .pk3 archives, and (for the checker only) the game's
// own folder as a second root.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sys/whole_file.h"

namespace check {

enum class FoundAt {
    Nowhere,
    Exact,      // on disk as written
    OtherCase,  // on disk, only with other letter case
    Archive,    // in a .pk3 archive (whose lookup ignores case)
};

struct Located {
    FoundAt at = FoundAt::Nowhere;
    std::string path;  // the path that names it (the resolved one on disk)
    bool found() const { return at != FoundAt::Nowhere; }
};

// Where `path` is found, without reading it.
Located locate(const std::string& path);
// `dir` + "/" + `name`, with no separator doubled.
std::string joinPath(const std::string& dir, const std::string& name);
// True for an existing directory on disk (letter case ignored).
bool isDirectory(const std::string& path);
// Names of the regular files in a directory on disk, sorted; empty when the
// directory cannot be listed.
std::vector<std::string> listFiles(const std::string& dir);

// The whole file (an empty one as an empty block), or nullopt with the
// reason in `error` (a missing file, a failed read, or no memory for its
// bytes).
std::optional<sys::Block> readWhole(const std::string& path, std::string& error);

}  // namespace check
