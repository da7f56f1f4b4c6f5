#include "skin/texture_loader.h"

#include "log/load_context.h"
#include "log/log.h"
#include "platform/sys/game_root.h"
#include "skin/names.h"
#include "skin/skin.h"

namespace skin {

namespace {

IDirect3DTexture8* tryCreate(TextureCache& cache, const std::string& path, bool logAttempt) {
    if (logAttempt) pLog->print("try to load: %s ... ", path.c_str());
    IDirect3DTexture8* texture = cache.acquire(path);
    if (texture && logAttempt) pLog->print("Ok<br>\n");
    return texture;
}

void rebuild(std::vector<IDirect3DTexture8*>& textures, std::size_t count) {
    releaseTextures(textures);
    textures.assign(count, nullptr);
}

}  // namespace

void releaseTextures(std::vector<IDirect3DTexture8*>& textures) {
    for (IDirect3DTexture8* texture : textures)
        if (texture) texture->Release();
    textures.clear();
}

IDirect3DTexture8* createJpegThenTga(TextureCache& cache, const std::string& jpgPath,
                                     const std::string& tgaPath, bool logAttempts, const std::string& gamePath) {
    if (IDirect3DTexture8* texture = tryCreate(cache, jpgPath, logAttempts)) return texture;
    if (IDirect3DTexture8* texture = tryCreate(cache, tgaPath, logAttempts)) return texture;
    if (const std::string game = sys::gameRootPath(gamePath); !game.empty()) {
        if (IDirect3DTexture8* texture = tryCreate(cache, game + ".jpg", logAttempts)) return texture;
        if (IDirect3DTexture8* texture = tryCreate(cache, game + ".tga", logAttempts)) return texture;
    }
    pLog->printError("CreateTextureFromFile failed");
    return nullptr;
}

void texturesFromSkin(TextureCache& cache, const char* dir, const Skin* skin,
                      const std::vector<std::string>& surfaceNames, std::vector<IDirect3DTexture8*>& textures) {
    rebuild(textures, surfaceNames.size());
    const std::string skinPath = skin ? skin->path() : std::string();
    for (std::size_t i = 0; i < surfaceNames.size(); ++i) {
        const Skin::Entry* entry = skin ? skin->find(surfaceNames[i].c_str()) : nullptr;
        if (!entry) {
            const loadctx::Scope scope(skinPath, "");
            pLog->printError("There is no skin entry for surface '%s'", surfaceNames[i].c_str());
            continue;
        }
        const std::string base = std::string(dir ? dir : "") + "\\" + entry->value;
        const loadctx::Scope scope(base + ".jpg, .tga", "surface '" + surfaceNames[i] + "' in " + skinPath);
        // Both attempts add four characters; a base that leaves no room for
        // them and the terminator is not tried at all.
        if (base.size() + 4 >= kSkinPathBuffer) {
            pLog->printError("CreateTextureFromFile failed");
            continue;
        }
        textures[i] = createJpegThenTga(cache, base + ".jpg", base + ".tga", false, entry->gamePath);
    }
}

void texturesFromShaders(TextureCache& cache, const char* modelName, const char* dir,
                         const std::vector<std::string>& shaderNames, std::vector<IDirect3DTexture8*>& textures) {
    rebuild(textures, shaderNames.size());
    for (std::size_t i = 0; i < shaderNames.size(); ++i) {
        const std::string base =
            std::string(dir ? dir : "") + "\\" + relativeTextureName(modelName, shaderNames[i].c_str());
        const loadctx::Scope scope(base + ".jpg, .tga", "the shader '" + shaderNames[i] + "' of surface " +
                                                            std::to_string(i));
        textures[i] =
            createJpegThenTga(cache, base + ".jpg", base + ".tga", true, shaderGamePath(shaderNames[i].c_str()));
    }
}

}  // namespace skin
