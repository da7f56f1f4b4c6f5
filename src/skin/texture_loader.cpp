#include "skin/texture_loader.h"

#include "log/log.h"
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
                                     const std::string& tgaPath, bool logAttempts) {
    if (IDirect3DTexture8* texture = tryCreate(cache, jpgPath, logAttempts)) return texture;
    if (IDirect3DTexture8* texture = tryCreate(cache, tgaPath, logAttempts)) return texture;
    pLog->printError("CreateTextureFromFile failed");
    return nullptr;
}

void texturesFromSkin(TextureCache& cache, const char* dir, const Skin* skin,
                      const std::vector<std::string>& surfaceNames, std::vector<IDirect3DTexture8*>& textures) {
    rebuild(textures, surfaceNames.size());
    for (std::size_t i = 0; i < surfaceNames.size(); ++i) {
        const char* value = skin ? skin->lookup(surfaceNames[i].c_str()) : nullptr;
        if (!value) {
            pLog->printError("There is no skin entry for surface '%s'", surfaceNames[i].c_str());
            continue;
        }
        const std::string base = std::string(dir ? dir : "") + "\\" + value;
        // Both attempts add four characters; a base that leaves no room for
        // them and the terminator is not tried at all.
        if (base.size() + 4 >= kSkinPathBuffer) {
            pLog->printError("CreateTextureFromFile failed");
            continue;
        }
        textures[i] = createJpegThenTga(cache, base + ".jpg", base + ".tga", false);
    }
}

void texturesFromShaders(TextureCache& cache, const char* modelName, const char* dir,
                         const std::vector<std::string>& shaderNames, std::vector<IDirect3DTexture8*>& textures) {
    rebuild(textures, shaderNames.size());
    for (std::size_t i = 0; i < shaderNames.size(); ++i) {
        const std::string base =
            std::string(dir ? dir : "") + "\\" + relativeTextureName(modelName, shaderNames[i].c_str());
        textures[i] = createJpegThenTga(cache, base + ".jpg", base + ".tga", true);
    }
}

}  // namespace skin
