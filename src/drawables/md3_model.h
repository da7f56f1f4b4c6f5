// A drawable MD3 model (heads, helmets, accessories and props of the
// sibling game): the file held whole and indexed once, positions per frame
// or between two frames (linear, as the game interpolates), textures from
// its shaders or a skin, tags at the shown frame, placed at an Orientation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drawables/orientation.h"
#include "drawables/surface_buffers.h"
#include "formats/md3_index.h"
#include "platform/sys/whole_file.h"
#include "render/renderable.h"
#include "scene/drawn_scene.h"

class Skin;
namespace skin {
class TextureCache;
}

namespace drawables {

class Md3Model : public Renderable {
public:
    explicit Md3Model(IDirect3DDevice8* device) : buffers_(device) {}

    // Reads and indexes the file; false with one line in `error` (the path
    // and what is wrong) when it cannot be drawn.
    bool load(const std::string& path, std::string& error);
    std::uint32_t numFrames() const;

    // Shows `frame` moved `lerp` (0 to 1) of the way to `next`; frames past
    // the last are clamped to it.
    void setFrame(std::uint32_t frame, std::uint32_t next = 0, float lerp = 0.0f);
    // The tag named `name` at the shown frame, in the model's own axes;
    // false when the model has none of that name.
    bool tag(const std::string& name, Orientation& out) const;

    // Textures from each surface's first shader name (relative to `dir` as
    // the viewer looks, then below the game folder).
    void shaderTextures(skin::TextureCache& cache, const char* modelName, const char* dir);
    // Textures from a skin, looked up by the game's surface names.
    void skinTextures(skin::TextureCache& cache, const char* dir, const Skin* skin);
    // Surface k draws with textures[k] (which keep the caller's references).
    void shareTextures(const std::vector<IDirect3DTexture8*>& textures) {
        buffers_.shareTextures(textures, surfaces_.size());
    }
    // Surface names as the game looks them up in a skin: lower-cased and
    // without a trailing two-character "_X" suffix.
    std::vector<std::string> skinKeys() const;

    Orientation placement;
    void draw(IDirect3DDevice8* device) override;
    // The shown vertices, placed, in the game's axes.
    void addBounds(scene::Box& box) const;

private:
    struct Surface {
        std::uint32_t frames = 0;  // frames of positions the surface holds
        std::vector<float> uv;     // 2 per vertex
        std::vector<float> at;     // 3 per vertex, the shown frame, game axes
    };
    sys::Block bytes_;
    formats::Md3Index index_;
    SurfaceBuffers buffers_;
    std::vector<Surface> surfaces_;
    std::uint32_t frame_ = 0, next_ = 0;
    float lerp_ = 0.0f;
};

}  // namespace drawables
