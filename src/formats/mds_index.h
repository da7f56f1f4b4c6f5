// The index of an MDS file: where every record and list entry lies (every
// vertex with its weights included), built once by the walk (walker.h) and
// read by every program: the viewer's body, the browser's tree, mdstree and
// korvane-check's rules. Nothing else walks an MDS file.
//
// What each reader needs (see Need): the walk needs the header, the counts,
// the chain of surface headers and each vertex's NumWeights (vertices have
// their own lengths), and frame records that the file could hold (the
// browser lists frames without reading them); the viewer also needs every
// frame and bone record, every vertex with its weights and the triangles;
// the structure printers also need the tags, collapse maps and bone
// references.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/byte_view.h"
#include "formats/diagnostics.h"
#include "formats/mds_layout.h"
#include "formats/walker.h"

namespace formats {

struct MdsSurfaceIndex {
    std::int64_t at = 0;  // the MdsSurface header
    MdsSurface header{};
    std::string name;
    std::int64_t firstVertex = 0;
    // The vertices the walk reached (NumWeights inside and not negative);
    // their positions too when the index keeps them (vertex v's weights
    // follow it).
    std::int64_t walkedVertices = 0;
    std::vector<std::int64_t> vertices;
    bool verticesInside = false;  // every vertex with all its weights lies inside
    ListAt triangles, collapseMap, boneRefs;
    std::int64_t triangle(std::int64_t t) const { return triangles.at + t * std::int64_t{sizeof(MdsTriangle)}; }
    std::int64_t collapseEntry(std::int64_t v) const { return collapseMap.at + 4 * v; }
    std::int64_t boneRef(std::int64_t r) const { return boneRefs.at + 4 * r; }
};

struct MdsIndex {
    bool readable = false;  // the file is MDS and holds its whole header
    MdsHeader header{};     // valid when readable
    std::int64_t frameSize = 0;  // 52 + 12 x NumBones
    ListAt frames, bones, tags;
    std::vector<MdsSurfaceIndex> surfaces;  // chain order, as far as the walk went
    bool allSurfaces = false;               // every surface of the chain was walked
    // FirstFatal: why the file was refused (no value: accepted).
    std::optional<Finding> refusal;

    bool ok() const { return !refusal.has_value(); }
    std::int64_t frame(std::int64_t k) const { return frames.at + k * frameSize; }
    std::int64_t boneFrame(std::int64_t k, std::int64_t j) const {
        return frame(k) + std::int64_t{sizeof(MdsFrame)} + j * std::int64_t{sizeof(CompressedBoneFrame)};
    }
    std::int64_t bone(std::int64_t i) const { return bones.at + i * std::int64_t{sizeof(MdsBone)}; }
    std::int64_t tag(std::int64_t i) const { return tags.at + i * std::int64_t{sizeof(MdsTag)}; }
};

// FirstFatal: the index, refused at the first finding that stops `reader`
// (Walk: the browser and mdstree; Draw: the viewer). Without
// `vertexPositions` the surfaces keep no list of vertex positions
// (forEachVertex walks them again).
MdsIndex indexMds(ByteView bytes, Reader reader, bool vertexPositions = true);
// CollectAll: every structural finding into the report, and the index of
// what could be read.
MdsIndex indexMds(ByteView bytes, Report& report);

inline std::int32_t mdsNumWeights(ByteView bytes, std::int64_t vertex) {
    return bytes.read<std::int32_t>(vertex + std::int64_t{offsetof(MdsVertex, NumWeights)});
}
inline std::int64_t mdsWeight(std::int64_t vertex, std::int64_t k) {
    return vertex + std::int64_t{sizeof(MdsVertex)} + k * std::int64_t{sizeof(MdsWeight)};
}

// Calls fn(v, position) for every vertex the walk reached, in order, from
// the kept positions or by walking them again from the first one.
template <class Fn>
void forEachVertex(ByteView bytes, const MdsSurfaceIndex& surface, Fn fn) {
    if (!surface.vertices.empty()) {
        for (std::size_t v = 0; v < surface.vertices.size(); ++v) fn(v, surface.vertices[v]);
        return;
    }
    std::int64_t at = surface.firstVertex;
    for (std::int64_t v = 0; v < surface.walkedVertices; ++v) {
        fn(static_cast<std::size_t>(v), at);
        at += mdsVertexSize(mdsNumWeights(bytes, at));
    }
}

}  // namespace formats
