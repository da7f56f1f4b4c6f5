// The weighted-mesh family (MDS, MDM): a chain of surface headers (the same
// 176-byte record in both), each with vertices of their own lengths (a
// fixed part - 32 bytes in MDS, 24 in MDM - and NumWeights weights of 20
// bytes), triangles, a collapse map and bone references. The one walk over
// such vertices lives here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/byte_view.h"
#include "formats/fields.h"
#include "formats/mdm_layout.h"
#include "formats/mds_layout.h"
#include "formats/walker.h"

namespace formats {

struct WeightedSurfaceIndex {
    std::int64_t at = 0;  // the surface header
    MdsSurface header{};
    std::string name;
    std::int64_t vertexSize = 0;  // the fixed part of a vertex
    std::int64_t firstVertex = 0;
    // The vertices the walk reached (NumWeights inside and not negative);
    // their positions too when the index keeps them.
    std::int64_t walkedVertices = 0;
    std::vector<std::int64_t> vertices;
    bool verticesInside = false;  // every vertex with all its weights lies inside
    ListAt triangles, collapseMap, boneRefs;

    // NumWeights lies at the same byte of a vertex in both formats.
    static constexpr std::int64_t kNumWeightsAt = offsetof(MdsVertex, NumWeights);
    static_assert(offsetof(MdsVertex, NumWeights) == offsetof(MdmVertex, NumWeights));
    std::int32_t numWeights(ByteView bytes, std::int64_t vertex) const {
        return bytes.read<std::int32_t>(vertex + kNumWeightsAt);
    }
    std::int64_t weight(std::int64_t vertex, std::int64_t k) const {
        return vertex + vertexSize + k * std::int64_t{sizeof(MdsWeight)};
    }
    std::int64_t triangle(std::int64_t t) const { return triangles.at + t * std::int64_t{sizeof(MdsTriangle)}; }
    std::int64_t collapseEntry(std::int64_t v) const { return collapseMap.at + 4 * v; }
    std::int64_t boneRef(std::int64_t r) const { return boneRefs.at + 4 * r; }
};

struct WeightedSurfaces {
    std::vector<WeightedSurfaceIndex> surfaces;  // chain order, as far as the walk went
    bool allSurfaces = false;                    // every surface of the chain was walked
};

// How a format's vertices look: the fixed part's fields (its size is their
// record's) and whether the walk keeps every vertex's position.
struct VertexShape {
    std::span<const FieldInfo> fields;
    std::int64_t size;
    bool keepPositions;
};

// Walks `count` surfaces from `first` (placed by the header's `firstField`).
void walkWeightedSurfaces(Walker& w, std::int64_t first, std::int32_t count, FieldRef firstField,
                          const VertexShape& vertex, WeightedSurfaces& out);

// Calls fn(v, position) for every vertex the walk reached, in order, from
// the kept positions or by walking them again from the first one.
template <class Fn>
void forEachVertex(ByteView bytes, const WeightedSurfaceIndex& surface, Fn fn) {
    if (!surface.vertices.empty()) {
        for (std::size_t v = 0; v < surface.vertices.size(); ++v) fn(v, surface.vertices[v]);
        return;
    }
    std::int64_t at = surface.firstVertex;
    for (std::int64_t v = 0; v < surface.walkedVertices; ++v) {
        fn(static_cast<std::size_t>(v), at);
        at = surface.weight(at, surface.numWeights(bytes, at));
    }
}

}  // namespace formats
