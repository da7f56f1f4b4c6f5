// The checks of a player folder's skins: every surface has an entry, every
// entry names a surface or a known md3_ key, and every texture and model an
// entry names exists where the viewer (or the game) looks for it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "check/check.h"

namespace check {

struct FolderContext {
    std::string dir;        // the model's folder as given
    std::string modelName;  // its last component
    const Options& options;
    Report& report;
    // MDC path -> its surface names, or nothing when they could not all be read.
    std::map<std::string, std::optional<std::vector<std::string>>> checkedModels;
};

// Checks one skin file against the surfaces it textures (null when the model
// could not be read whole: then every other entry is taken as a texture).
// `isBody` allows the accessory keys, a head skin the head and hat keys.
void checkSkin(FolderContext& ctx, const std::string& skinPath, const std::vector<std::string>* surfaces, bool isBody);

// A texture named relative to the model's folder (no extension): JPEG, then
// TGA, below the folder and then below the game folder.
void checkTexture(FolderContext& ctx, const std::string& name, const std::string& where, long long offset);

// Reads and checks one MDC file (once per path); its shader textures too when
// `shaderTextures`. Returns its surface names, null when not all of them
// could be read.
const std::vector<std::string>* checkMdcFile(FolderContext& ctx, const std::string& path, bool shaderTextures);

}  // namespace check
