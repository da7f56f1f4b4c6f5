// A drawable weighted mesh (the surfaces of an MDS body or of an MDM mesh)
// posed by bone poses in the game's axes (formats::evaluatePose or
// evaluateSplitPose, from the same file or from an MDX skeleton):
//   vertex = sum over its weights of weight x (M_bone offset + t_bone),
//   normal = M of the first weight's bone times the stored normal,
// weights as stored, a weight naming no posed bone adding nothing. Level
// of detail draws each surface's first `kept` vertices and the triangles
// its collapse map leaves (formats/families/collapse_lod.h).
//
// The bytes and the surfaces' index are not owned: the file's holder keeps
// them alive as long as the mesh.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drawables/orientation.h"
#include "drawables/surface_buffers.h"
#include "formats/byte_view.h"
#include "formats/families/collapse_lod.h"
#include "formats/families/skeleton.h"
#include "formats/families/weighted_mesh.h"
#include "render/renderable.h"
#include "scene/drawn_scene.h"

class Skin;
namespace skin {
class TextureCache;
}

namespace drawables {

struct SurfaceLod {
    std::string name;
    std::int32_t vertices = 0, triangles = 0;  // in the file
    std::int32_t keptVertices = 0, keptTriangles = 0;
};

class SkinnedMesh : public Renderable {
public:
    SkinnedMesh(IDirect3DDevice8* device, formats::ByteView bytes, const formats::WeightedSurfaces& surfaces,
                formats::LodRounding rounding);

    // Skins every surface's kept vertices with `bones` (one pose per bone).
    void pose(const std::vector<formats::BonePose3>& bones);
    // Keeps numVerts x factor vertices per surface (the engine's rule).
    void setLod(float factor);
    const std::vector<SurfaceLod>& lod() const { return lod_; }

    void skinTextures(skin::TextureCache& cache, const char* dir, const Skin* skin);
    // Textures from each surface's own shader name.
    void shaderTextures(skin::TextureCache& cache, const char* modelName, const char* dir);
    // Another model's textures, one per surface, each with a reference of
    // its own (the viewer's body's).
    void shareTextures(const std::vector<IDirect3DTexture8*>& textures);

    // Surface s's kept vertices of the last pose, game axes (3 floats each),
    // and their normals.
    const std::vector<float>& positions(std::size_t s) const { return surfaces_[s].at; }
    const std::vector<float>& normals(std::size_t s) const { return surfaces_[s].normal; }
    std::size_t numSurfaces() const { return surfaces_.size(); }

    void draw(IDirect3DDevice8* device) override;
    void addBounds(scene::Box& box) const;

private:
    struct Surface {
        bool usable = false;
        std::vector<float> uv;                     // 2 per vertex
        std::vector<std::int32_t> collapseMap;     // one per vertex
        std::vector<formats::Triangle> triangles;  // as stored, corners inside
        std::int32_t minLod = 0;
        std::vector<float> at, normal;  // the kept vertices, game axes
    };
    formats::ByteView bytes_;
    const formats::WeightedSurfaces& index_;
    formats::LodRounding rounding_;
    SurfaceBuffers buffers_;
    std::vector<Surface> surfaces_;
    std::vector<SurfaceLod> lod_;
};

}  // namespace drawables
