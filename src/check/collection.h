// A whole collection checked file by file: every model, skin and animation
// file below a folder (its sub-folders and the .pk3 archives in them
// included), or in one .pk3 archive. Each file is checked as if given alone
// (an archive's members by their ARCHIVE.pk3:member path), one at a time,
// so the work follows the files and the memory one file at a time.
//
// A folder holding models/ or .pk3 archives is taken for a game folder:
// unless --game-dir names another, the game paths its skins and models
// name (textures, attachments) are also looked for below it, as the game
// does.
#pragma once

#include <string>

#include "check/check.h"

namespace check {

// True for a folder that is no player folder (it holds no body.mds), and
// for a .pk3 archive.
bool isCollection(const std::string& path);

void checkCollection(const std::string& path, const Options& options, Report& report);

}  // namespace check
