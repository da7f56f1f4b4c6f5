#include "drawables/skinned_mesh.h"

#include <cstring>

#include "formats/mdm_layout.h"
#include "skin/texture_cache.h"
#include "skin/texture_loader.h"

namespace drawables {

SkinnedMesh::SkinnedMesh(IDirect3DDevice8* device, formats::ByteView bytes, const formats::WeightedSurfaces& index,
                         formats::LodRounding rounding)
    : bytes_(bytes), index_(index), rounding_(rounding), buffers_(device) {
    for (const formats::WeightedSurfaceIndex& x : index_.surfaces) {
        Surface s;
        const std::int32_t n = x.header.NumVertices;
        s.usable = n > 0 && x.verticesInside && x.walkedVertices == n && x.triangles.inside;
        SurfaceLod counts{x.name, std::max(n, 0), std::max(x.header.NumTriangles, 0), 0, 0};
        if (s.usable) {
            const auto count = static_cast<std::size_t>(n);
            s.uv.resize(2 * count);
            formats::forEachVertex(bytes_, x, [&](std::size_t v, std::int64_t at) {
                const auto vertex = bytes_.read<formats::MdmVertex>(at);  // MDS's first 24 bytes alike
                s.uv[2 * v] = vertex.TexCoords[0];
                s.uv[2 * v + 1] = vertex.TexCoords[1];
            });
            s.collapseMap.resize(count);
            for (std::size_t v = 0; v < count; ++v)
                s.collapseMap[v] = x.collapseMap.inside && x.collapseMap.count >= n
                                       ? bytes_.read<std::int32_t>(x.collapseEntry(static_cast<std::int64_t>(v)))
                                       : static_cast<std::int32_t>(v);
            for (std::int64_t t = 0; t < x.triangles.count; ++t) {
                formats::Triangle c;
                const auto tri = bytes_.read<formats::MdsTriangle>(x.triangle(t));
                std::memcpy(c.data(), &tri, sizeof c);
                s.triangles.push_back(c);
            }
            s.minLod = x.header.MinLod;
        }
        // One buffer slot per surface, drawn or not.
        const bool drawn = buffers_.add(s.usable ? static_cast<std::uint32_t>(n) : 0,
                                        static_cast<std::uint32_t>(s.triangles.size()));
        s.usable = s.usable && drawn;
        surfaces_.push_back(std::move(s));
        lod_.push_back(counts);
    }
    setLod(1.0f);
}

void SkinnedMesh::setLod(float factor) {
    for (std::size_t i = 0; i < surfaces_.size(); ++i) {
        Surface& s = surfaces_[i];
        SurfaceLod& counts = lod_[i];
        if (!s.usable) continue;
        counts.keptVertices = formats::lodVertexCount(counts.vertices, factor, s.minLod, rounding_);
        const std::vector<formats::Triangle> kept =
            formats::collapseTriangles(s.collapseMap, s.triangles, counts.keptVertices);
        counts.keptTriangles = static_cast<std::int32_t>(kept.size());
        buffers_.writeTriangles(i, kept);
    }
}

void SkinnedMesh::pose(const std::vector<formats::BonePose3>& bones) {
    for (std::size_t i = 0; i < surfaces_.size(); ++i) {
        Surface& s = surfaces_[i];
        if (!s.usable) continue;
        const formats::WeightedSurfaceIndex& x = index_.surfaces[i];
        const auto kept = static_cast<std::size_t>(lod_[i].keptVertices);
        s.at.assign(3 * kept, 0.0f);
        s.normal.assign(3 * kept, 0.0f);
        std::vector<ModelVertex> vertices(kept);
        const D3DCOLOR color = surfaceColor(static_cast<std::uint32_t>(i));
        formats::forEachVertex(bytes_, x, [&](std::size_t v, std::int64_t at) {
            if (v >= kept) return;
            const auto vertex = bytes_.read<formats::MdmVertex>(at);
            float* p = &s.at[3 * v];
            bool first = true;
            for (std::int32_t k = 0; k < vertex.NumWeights; ++k) {
                const auto w = bytes_.read<formats::MdsWeight>(x.weight(at, k));
                if (w.BoneIndex < 0 || static_cast<std::size_t>(w.BoneIndex) >= bones.size()) continue;
                const formats::BonePose3& b = bones[static_cast<std::size_t>(w.BoneIndex)];
                for (int r = 0; r < 3; ++r)
                    p[r] += w.Weight * (b.turn[r][0] * w.xyz[0] + b.turn[r][1] * w.xyz[1] + b.turn[r][2] * w.xyz[2] +
                                        b.origin[r]);
                if (first) {
                    for (int r = 0; r < 3; ++r)
                        s.normal[3 * v + static_cast<std::size_t>(r)] = b.turn[r][0] * vertex.Normal[0] +
                                                                        b.turn[r][1] * vertex.Normal[1] +
                                                                        b.turn[r][2] * vertex.Normal[2];
                    first = false;
                }
            }
            vertices[v] = {-p[1], p[2], p[0], color, s.uv[2 * v], s.uv[2 * v + 1]};
        });
        buffers_.writeVertices(i, vertices);
    }
}

void SkinnedMesh::skinTextures(skin::TextureCache& cache, const char* dir, const Skin* skin) {
    std::vector<std::string> names;
    for (const SurfaceLod& s : lod_) names.push_back(s.name);
    skin::texturesFromSkin(cache, dir, skin, names, buffers_.textures());
    buffers_.setTextured();
}

void SkinnedMesh::shaderTextures(skin::TextureCache& cache, const char* modelName, const char* dir) {
    std::vector<std::string> shaders;
    for (const formats::WeightedSurfaceIndex& x : index_.surfaces) shaders.push_back(formats::nameOf(x.header.Shader));
    skin::texturesFromShaders(cache, modelName, dir, shaders, buffers_.textures());
    buffers_.setTextured();
}

void SkinnedMesh::shareTextures(const std::vector<IDirect3DTexture8*>& textures) {
    buffers_.shareTextures(textures, surfaces_.size());
}

void SkinnedMesh::draw(IDirect3DDevice8* device) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    buffers_.draw(device, identity);
}

void SkinnedMesh::addBounds(scene::Box& box) const {
    for (const Surface& s : surfaces_)
        for (std::size_t k = 0; k + 2 < s.at.size(); k += 3) box.add(s.at[k], s.at[k + 1], s.at[k + 2]);
}

}  // namespace drawables
