// The reference grid: grey lines on the ground plane (y = 0) around the
// origin, with the three coordinate axes drawn through it in colour, far
// longer than the grid. It gives the scene a floor and an orientation.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d8/d3d8.h"
#include "render/renderable.h"

// One vertex of a coloured line (16 bytes, flexible vertex format 0x42).
struct LineVertex {
    float x, y, z;
    std::uint32_t colour;  // ARGB, alpha in the top byte
};
static_assert(sizeof(LineVertex) == 16, "LineVertex is 16 bytes");

constexpr DWORD kLineVertexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;  // 0x42
constexpr std::uint32_t kLineVertexStride = sizeof(LineVertex);

class ReferenceGrid : public Renderable {
public:
    // Builds a grid of half-size n whose lines overhang the outermost lines
    // by o, in a managed vertex buffer of `device`. Throws the plain string
    // "failed creating flexible vertex buffer" when the buffer cannot be
    // created. A null device gives a grid that never draws.
    ReferenceGrid(IDirect3DDevice8* device, std::uint32_t n, float o);
    ~ReferenceGrid() override;
    ReferenceGrid(const ReferenceGrid&) = delete;
    ReferenceGrid& operator=(const ReferenceGrid&) = delete;

    // Lighting off, identity world, one line list of all vertices.
    void draw(IDirect3DDevice8* device) override;

    // 8 × n + 12.
    std::uint32_t vertexCount() const { return m_uVertexCount; }
    // The vertices as built (also what the vertex buffer holds).
    const std::vector<LineVertex>& vertices() const { return m_Vertices; }

private:
    std::vector<LineVertex> m_Vertices;
    IDirect3DVertexBuffer8* m_pVertexBuffer = nullptr;
    std::uint32_t m_uVertexCount = 0;
};
