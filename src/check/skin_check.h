// The checks of a player folder's skins: every surface has an entry, every
// entry names a surface or a known md3_ key, and every texture and model an
// entry names exists where the viewer (or the game) looks for it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "check/check.h"

namespace check {

struct FolderContext {
    std::string dir;        // the model's folder as given
    std::string modelName;  // its last component
    const Options& options;
    Report& report;
    std::map<std::string, std::vector<std::string>> checkedModels;  // MDC path -> its surface names
};

// Checks one skin file against the surfaces it textures. `isBody` allows the
// accessory keys, a head skin the head and hat keys.
void checkSkin(FolderContext& ctx, const std::string& skinPath, const std::vector<std::string>& surfaces, bool isBody);

// A texture named relative to the model's folder (no extension): JPEG, then
// TGA, below the folder and then below the game folder.
void checkTexture(FolderContext& ctx, const std::string& name, const std::string& where, long long offset);

// Reads and checks one MDC file (once per path); its shader textures too when
// `shaderTextures`. Returns its surface names (empty when unreadable).
std::vector<std::string> checkMdcFile(FolderContext& ctx, const std::string& path, bool shaderTextures);

}  // namespace check
