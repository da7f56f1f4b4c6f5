// Arbitrary bytes as a body skin and a texture: the bytes up to the first
// NUL are the body skin, the rest is written as each image file it may name
// (texture.jpg, a.jpg, b.tga; tex0.tga to tex7.tga stay small valid TGAs).
// The skin is applied to a body of eight surfaces (s0 to s7) and names its
// accessories (acc/belt.mdc, whose shaders name texture.tga), through the
// load's texture cache on the recording device. Each file gives at most one
// texture, surfaces with the same skin value hold the same one, and every
// reference is given back with the body.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

#include "model/mdc.h"
#include "model/mds.h"
#include "modelgen/texture_shapes.h"
#include "recording_device.h"
#include "skin/skin.h"

namespace {

constexpr int kSurfaces = 8;

std::string gFolder;

void removeFolder() {
    std::error_code ec;
    std::filesystem::remove_all(gFolder, ec);
}

// The model folder, written once (and removed at exit): body, belt, head
// and the small TGAs.
const std::string& folder() {
    if (gFolder.empty()) {
        char name[] = "/tmp/kv-fuzz-textures-XXXXXX";
        if (::mkdtemp(name) == nullptr) std::abort();
        gFolder = name;
        std::atexit(removeFolder);
        if (!mg::writeFolder(gFolder, mg::texturedModel({kSurfaces, 2, 3, 0, 1}))) std::abort();
    }
    return gFolder;
}

void write(const std::string& path, const std::uint8_t* data, std::size_t size) {
    if (!mg::writeFile(path, mg::Bytes(data, data + size))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& dir = folder();
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
    const std::size_t skinSize = nul ? static_cast<std::size_t>(nul - data) : size;
    const std::uint8_t* image = nul ? nul + 1 : data + size;
    const std::size_t imageSize = static_cast<std::size_t>(data + size - image);
    write(dir + "/body_default.skin", data, skinSize);
    for (const char* name : {"/texture.jpg", "/a.jpg", "/b.tga"}) write(dir + name, image, imageSize);

    rec::RecordingDevice device;
    {
        MDS body(&device, "fuzz");
        if (body.loadFromFile((dir + "\\body.mds").c_str()) != 1) std::abort();
        Skin skin("fuzz");
        skin.load((dir + "\\body_default.skin").c_str());
        body.applySkin(dir.c_str(), &skin);
        body.loadAccessories(dir.c_str(), &skin);
        body.draw(&device);

        // At most one texture per file: three written here, eight TGAs.
        const skin::TextureCache& cache = body.textureCache();
        if (cache.fileCount() > 3 + kSurfaces || device.textures().size() > cache.fileCount()) std::abort();
        std::set<const void*> made;
        for (const auto* t : device.textures()) made.insert(static_cast<const IDirect3DTexture8*>(t));
        for (std::uint32_t i = 0; i < body.numSurfaces(); ++i) {
            IDirect3DTexture8* texture = body.textures()[i];
            if (texture && made.count(texture) == 0) std::abort();
            // The same value names the same file.
            const char* value = skin.lookup(formats::nameOf(body.surface(i).Name).c_str());
            for (std::uint32_t j = 0; j < i; ++j) {
                const char* other = skin.lookup(formats::nameOf(body.surface(j).Name).c_str());
                if (value && other && std::strcmp(value, other) == 0 && texture != body.textures()[j]) std::abort();
            }
        }
        for (MDS::Slot slot : {MDS::BeltLeft, MDS::BeltRight, MDS::Back})
            if (const MDC* model = body.attachment(slot))
                for (IDirect3DTexture8* texture : model->textures())
                    if (texture && made.count(texture) == 0) std::abort();
    }
    if (device.liveResources() != 0) std::abort();
    return 0;
}
