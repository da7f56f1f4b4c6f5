// Filling a model's textures list, one entry per surface, from a skin or
// from the surfaces' own shader names. Shared by the body model and the MDC
// models: each passes its surface (or shader) names in file order and its
// list, which these functions release and rebuild, and the cache of its
// load (texture_cache.h), which makes each file's texture once. Every
// surface logs as if its texture were made for it alone.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/d3d8/d3d8.h"
#include "skin/texture_cache.h"

class Skin;

namespace skin {

// Longest path, terminator included, that a skin's texture is looked for
// under; a longer one is not tried and the surface stays without texture.
constexpr std::size_t kSkinPathBuffer = 500;

// Releases every texture of the list and empties it.
void releaseTextures(std::vector<IDirect3DTexture8*>& textures);

// Entry i: the texture that the skin names for surfaceNames[i] (exact key),
// "<dir>\<value>.jpg", else the same with ".tga" (else the entry's game path
// below the game folder, when one is set). A missing entry or failed
// attempts are logged and leave the entry empty. A null skin has no
// entries.
void texturesFromSkin(TextureCache& cache, const char* dir, const Skin* skin,
                      const std::vector<std::string>& surfaceNames, std::vector<IDirect3DTexture8*>& textures);

// Entry i: the texture named by shaderNames[i] relative to the model's
// folder, "<dir>\<name>.jpg", else ".tga" (else the shader's own path below
// the game folder, when one is set); every attempt and its outcome are
// logged.
void texturesFromShaders(TextureCache& cache, const char* modelName, const char* dir,
                         const std::vector<std::string>& shaderNames, std::vector<IDirect3DTexture8*>& textures);

// The JPEG attempt, then the TGA attempt; then, when a game folder is set
// (platform/sys/game_root.h), the same two for `gamePath` below it. Null
// after every attempt failed, which is reported with "CreateTextureFromFile
// failed". With logAttempts each try is announced with its path and a
// success with "Ok<br>".
IDirect3DTexture8* createJpegThenTga(TextureCache& cache, const std::string& jpgPath,
                                     const std::string& tgaPath, bool logAttempts,
                                     const std::string& gamePath = {});

}  // namespace skin
