// The device side of a drawable model: one vertex and one 16-bit index
// buffer per surface (managed pool, ModelVertex), rewritten as the model is
// posed, and one texture per surface; drawn at a world matrix the way the
// viewer's models draw (model/surface_draw.h). A surface the device cannot
// hold (no vertices or triangles, over 65,536 vertices, a buffer refused)
// has no buffers and is not drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/families/collapse_lod.h"
#include "model/model_vertex.h"
#include "platform/d3d8/d3dx8.h"

namespace drawables {

class SurfaceBuffers {
public:
    explicit SurfaceBuffers(IDirect3DDevice8* device) : device_(device) {}
    ~SurfaceBuffers();
    SurfaceBuffers(const SurfaceBuffers&) = delete;
    SurfaceBuffers& operator=(const SurfaceBuffers&) = delete;

    // Appends a surface of `vertices` vertices and at most `triangles`
    // triangles; false when it has no buffers.
    bool add(std::uint32_t vertices, std::uint32_t triangles);
    std::size_t size() const { return surfaces_.size(); }

    // The first vertices.size() vertices of surface s, and the vertices drawn.
    void writeVertices(std::size_t s, const std::vector<ModelVertex>& vertices);
    // The triangles drawn (at most the surface's triangles; the rest are cut).
    void writeTriangles(std::size_t s, const std::vector<formats::Triangle>& triangles);

    // One per surface once a texture operation ran; absent: surface colours.
    std::vector<IDirect3DTexture8*>& textures() { return textures_; }
    bool textured() const { return textured_; }
    void setTextured() { textured_ = true; }
    // Surface k draws with textures[k] (a reference of its own; null or
    // missing: untextured), for `surfaces` surfaces.
    void shareTextures(const std::vector<IDirect3DTexture8*>& textures, std::size_t surfaces);

    void draw(IDirect3DDevice8* device, const D3DXMATRIX& world) const;

private:
    struct Surface {
        IDirect3DVertexBuffer8* vb = nullptr;
        IDirect3DIndexBuffer8* ib = nullptr;
        std::uint32_t maxVertices = 0, maxTriangles = 0;
        std::uint32_t drawnVertices = 0, drawnTriangles = 0;
    };
    IDirect3DDevice8* device_;  // not owned
    std::vector<Surface> surfaces_;
    std::vector<IDirect3DTexture8*> textures_;
    bool textured_ = false;
};

}  // namespace drawables
