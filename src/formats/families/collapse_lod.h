// Level of detail from collapse maps (MDS and MDM surfaces): how many of a
// surface's vertices the engine keeps at a distance, and the triangles left
// when the others are merged into the vertices they collapse to.
//
// Kept vertices n = numVerts x f (rounded by the sibling game's engine,
// truncated by the first game's), then at least minLod and at most numVerts.
// Vertex j < n stays itself; for j = n ... numVerts - 1 in order,
// collapse[j] = collapse[collapseMap[j]]. Each triangle's corners are mapped
// through collapse and the triangle is dropped when two become one.
//
// That needs collapseMap[j] < j; a map that breaks it (or points outside
// the surface) would make the engine read entries it has not set. Here such
// a vertex maps to itself, and a triangle left with a corner that is not
// drawn (n or above) or outside the surface is dropped, so nothing outside
// the surface is read.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace formats {

enum class LodRounding { Round, Truncate };

// The engine's factor from the distance: min(1, projection · radius /
// depth) x rLodScale x lodScale - 0.25 x rLodBias + lodBias, in 0 ... 1.
// `projection` is 1 / tan(fovY / 2); a depth of 0 or less gives 1.
struct LodView {
    float projection = 1.0f;  // a 90-degree field of view
    float rLodScale = 5.0f;   // r_lodscale's default
    float rLodBias = 0.0f;    // r_lodbias's default
};
float lodFactor(float radius, float depth, float lodScale, float lodBias, const LodView& view = {});

std::int32_t lodVertexCount(std::int32_t numVerts, float factor, std::int32_t minLod, LodRounding rounding);

using Triangle = std::array<std::int32_t, 3>;

// The triangles drawn with `kept` vertices (from lodVertexCount).
std::vector<Triangle> collapseTriangles(std::span<const std::int32_t> collapseMap, std::span<const Triangle> triangles,
                                        std::int32_t kept);

}  // namespace formats
