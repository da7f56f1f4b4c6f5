#include "skin/texture_cache.h"

#include "platform/d3d8/d3dx8.h"
#include "platform/sys/sys.h"

namespace skin {

IDirect3DTexture8* TextureCache::create(const std::string& path) {
    IDirect3DTexture8* texture = nullptr;
    if (d3dx::createTextureFromFile(device_, path.c_str(), &allowance_, &texture) >= 0) return texture;
    // A failed load leaves nothing behind, whatever the loader did.
    if (texture) texture->Release();
    return nullptr;
}

IDirect3DTexture8* TextureCache::acquire(const std::string& path) {
    auto known = byPath_.find(path);
    if (known == byPath_.end()) {
        IDirect3DTexture8* texture = nullptr;
        // A path that leads to no file is not tried at all.
        if (std::string identity = sys::fileIdentity(path.c_str()); !identity.empty()) {
            auto file = byFile_.find(identity);
            if (file == byFile_.end()) file = byFile_.emplace(std::move(identity), create(path)).first;
            texture = file->second;
        }
        known = byPath_.emplace(path, texture).first;
    }
    if (known->second) known->second->AddRef();
    return known->second;
}

void TextureCache::clear() {
    for (auto& [identity, texture] : byFile_)
        if (texture) texture->Release();
    byFile_.clear();
    byPath_.clear();
    allowance_.restart();
}

}  // namespace skin
