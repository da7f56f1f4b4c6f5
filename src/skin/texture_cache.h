// The textures of one model load, shared: each texture file is decoded and
// uploaded once however many surfaces name it (the body's, and those of
// the models hung on it, which use the body's cache), and each path is
// looked for once, also when nothing is found there. Surfaces share a
// texture through its reference count: every holder has a reference of
// its own and releases it, as the model objects do with their textures.
//
// A cache lives as long as one load of a model with its attachments: the
// body model holds one and starts it afresh with each load. The decoded
// pixels of a load are bounded by what it read (d3dx::PixelAllowance).
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

#include "platform/d3d8/d3d8.h"
#include "platform/d3d8/pixel_allowance.h"

namespace skin {

class TextureCache {
public:
    explicit TextureCache(IDirect3DDevice8* device) : device_(device) {}
    ~TextureCache() { clear(); }
    TextureCache(const TextureCache&) = delete;
    TextureCache& operator=(const TextureCache&) = delete;

    // The texture made from the file at path, with a reference that the
    // caller releases; null when none can be made. Paths that name the same
    // file (other letter case, "." or "..", a link) share its texture.
    IDirect3DTexture8* acquire(const std::string& path);

    // Releases the cache's references and forgets every path.
    void clear();

    IDirect3DDevice8* device() const { return device_; }
    // Files tried (each decoded at most once) and paths looked for.
    std::size_t fileCount() const { return byFile_.size(); }
    std::size_t pathCount() const { return byPath_.size(); }
    // Bytes the top levels of this load's textures take.
    std::uint64_t pixelBytes() const { return allowance_.spent(); }

private:
    IDirect3DTexture8* create(const std::string& path);

    IDirect3DDevice8* device_;  // not owned
    d3dx::PixelAllowance allowance_;
    // Path as asked for -> its texture (null: none could be made).
    std::unordered_map<std::string, IDirect3DTexture8*> byPath_;
    // The file's identity (sys::fileIdentity) -> its texture; these hold the
    // cache's references. Null: the file gave no texture.
    std::unordered_map<std::string, IDirect3DTexture8*> byFile_;
};

}  // namespace skin
