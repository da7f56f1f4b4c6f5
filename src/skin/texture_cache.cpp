#include "skin/texture_cache.h"

#include "platform/d3d8/d3dx8.h"
#include "platform/sys/sys.h"

namespace skin {

namespace {

IDirect3DTexture8* create(IDirect3DDevice8* device, const std::string& path) {
    IDirect3DTexture8* texture = nullptr;
    if (D3DXCreateTextureFromFileA(device, path.c_str(), &texture) >= 0) return texture;
    // A failed load leaves nothing behind, whatever the loader did.
    if (texture) texture->Release();
    return nullptr;
}

}  // namespace

IDirect3DTexture8* TextureCache::acquire(const std::string& path) {
    auto known = byPath_.find(path);
    if (known == byPath_.end()) {
        IDirect3DTexture8* texture = nullptr;
        // A path that leads to no file is not tried at all.
        if (std::string identity = sys::fileIdentity(path.c_str()); !identity.empty()) {
            auto file = byFile_.find(identity);
            if (file == byFile_.end()) file = byFile_.emplace(std::move(identity), create(device_, path)).first;
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
}

}  // namespace skin
