// A PATH as the user typed it: what it names (a player folder, a model, a
// skin, an animation config, or a file of a kind korvane-check does not
// read), found as the programs find files, and the name of a model's own
// folder, which skins drop from their paths (never "." or "..").
#pragma once

#include <string>

namespace check {

enum class Kind { Missing, Folder, Mds, Mdc, Md3, Mdm, Mdx, Skin, AnimConfig, Unsupported };

struct Target {
    Kind kind = Kind::Missing;
    std::string path;  // as typed, or below the game folder when found only there
    std::string what;  // Unsupported: what the file is, told by its first bytes
};

// What `typed` names: a file by its first bytes (MDSW, IDPC) or, failing
// that, its name; a folder when it is one on disk or holds body.mds (also
// inside a .pk3). Not found as typed, it is looked for below `gameDir`.
Target classify(const std::string& typed, const std::string& gameDir);

// The folder's own name once resolved: "." in the model's folder, "..",
// a trailing separator or other letter case all give the name on disk.
std::string folderName(const std::string& dir);

// The last component of `path` (a trailing separator ignored).
std::string fileNameOf(const std::string& path);

// The folder that holds `path` ("." for a bare name).
std::string parentOf(const std::string& path);

}  // namespace check
