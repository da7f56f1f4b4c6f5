// The game's folder as a second root (korvane-render --game-dir). A skin or
// a shader names a file by its game path ("models/players/x/legs.tga"), and
// the game finds it below its own folder (or in that folder's .pk3
// archives); the viewer drops the part up to the model's folder and looks
// below the model's folder only. Loaders that know a game path try the
// viewer's path first and then the game path below this root. Off unless
// set; the viewer never sets it.
#pragma once

#include <string>

namespace sys {

// Sets (or, with an empty root, clears) the game folder.
void setGameRoot(const std::string& root);

// `gamePath` below the game folder; empty when none is set, when
// `gamePath` is empty, or when it climbs out with a ".." component (the
// game refuses such paths).
std::string gameRootPath(const std::string& gamePath);

// `path` when it opens (on disk or in an archive), else the game folder's
// path of `gamePath` + `extension` when that opens, else `path`: the file
// a loader should read, tried without reading it.
std::string viewerOrGamePath(const std::string& path, const std::string& gamePath, const char* extension);

}  // namespace sys
