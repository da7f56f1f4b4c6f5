// A second root for files below one folder (korvane-render --game-dir):
// a path below `prefix` that is found neither on disk nor in an archive is
// also looked for with `prefix` replaced by `root`. Real skins name their
// textures relative to the game's folder rather than the model's, so the
// renderer finds them this way. Off unless set; the viewer never sets it.
#pragma once

#include <string>

namespace sys {

// Sets (or, with an empty root, clears) the second root.
void setSecondRoot(const std::string& prefix, const std::string& root);

// The path `path` stands for below the second root, or an empty string when
// none is set or `path` does not lie below the prefix. Separators may be
// '\' or '/'; the prefix is compared with ASCII letter case ignored.
std::string secondRootPath(const std::string& path);

}  // namespace sys
