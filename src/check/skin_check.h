// The checks of a player folder's skins: every surface has an entry, every
// entry names a surface or an accessory key the game knows, and every
// texture and model an entry names exists where the viewer, or the game,
// looks for it.
//
// Skins are read as the game reads them (white space around a value
// skipped, src/skin/skin_text.h); where the viewer, which keeps it, would
// then miss a file, that is a warning of its own. A texture or model is
// looked for below the model's folder as the viewer does (the entry
// without the part up to the model's folder), then below the game folder
// under the entry as written, as the game does.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "check/check.h"
#include "check/files.h"
#include "skin/skin_text.h"

namespace check {

struct FolderContext {
    FolderContext(std::string dir, std::string modelName, const Options& options, Report& report)
        : dir(std::move(dir)), modelName(std::move(modelName)), options(options), report(report) {}

    std::string dir;        // the model's folder as given
    std::string modelName;  // its own name on disk (never "." or "..")
    const Options& options;
    Report& report;
    // MDC path -> its surface names, or nothing when they could not all be read.
    std::map<std::string, std::optional<std::vector<std::string>>> checkedModels;
    // Where each path was found, so that many entries naming one file cost one lookup.
    std::unordered_map<std::string, Located> located;
    int blankWarnings = 0;  // values the viewer misses for their blanks, reported so far

    const Located& find(const std::string& path);
};

// Checks one skin file against the surfaces it textures (null when the model
// could not be read whole: then every other entry is taken as a texture).
// `isBody` allows the body's accessory keys, a head skin the head's.
void checkSkin(FolderContext& ctx, const std::string& skinPath, const std::vector<std::string>* surfaces, bool isBody);

// A texture named relative to the model's folder (no extension), with its
// game path and the name the viewer uses (they differ when blanks around the
// value matter): JPEG, then TGA, below the folder, then below the game folder.
void checkTexture(FolderContext& ctx, const std::string& name, const std::string& gamePath,
                  const std::string& viewerName, const std::string& where, long long offset);

// Reads and checks one MDC file (once per path); its shader textures too when
// `shaderTextures`. Returns its surface names, null when not all of them
// could be read.
const std::vector<std::string>* checkMdcFile(FolderContext& ctx, const std::string& path, bool shaderTextures);

// Where a model that a skin names is found: below the model's folder as
// `name` + `extension`, else below the game folder as `gamePath` +
// `extension`; `inGameDir` says which. Nowhere: found() is false.
Located findNamed(FolderContext& ctx, const std::string& name, const std::string& gamePath, const char* extension,
                  bool& inGameDir);

// A model or skin that a skin entry names, found only below the game folder.
void onlyInGameDir(FolderContext& ctx, const std::string& what, const Located& found, const std::string& where,
                   long long offset);

}  // namespace check
