// Texture operations of the MDC model: from a skin (head, hat with its own
// skin) or from each surface's first shader name (accessories, plain hat).
#include <cstring>
#include <string>
#include <vector>

#include "model/mdc.h"
#include "skin/texture_loader.h"

int MDC::applySkin(const char* dir, const Skin* skin, skin::TextureCache* cache) {
    if (!loaded_) return -1;
    std::vector<std::string> names;
    names.reserve(surfaces_.size());
    for (const formats::MdcSurfaceIndex& surface : surfaces_) names.push_back(surface.name);
    skin::TextureCache own(device_);
    skin::texturesFromSkin(cache ? *cache : own, dir, skin, names, textures_);
    hasTextures_ = true;
    return 1;
}

int MDC::loadShaderTextures(const char* modelName, const char* dir, skin::TextureCache* cache) {
    if (!loaded_) return -1;
    const formats::ByteView bytes = this->bytes();
    std::vector<std::string> shaders;
    shaders.reserve(surfaces_.size());
    for (const formats::MdcSurfaceIndex& surface : surfaces_) {
        char name[formats::kNameLength];
        std::memcpy(name, bytes.data() + surface.shaderName(), sizeof(name));  // checked by the walk
        shaders.push_back(formats::nameOf(name));
    }
    skin::TextureCache own(device_);
    skin::texturesFromShaders(cache ? *cache : own, modelName, dir, shaders, textures_);
    hasTextures_ = true;
    return 1;
}
