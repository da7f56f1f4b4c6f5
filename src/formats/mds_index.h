// The index of an MDS file: where every record and list entry lies (every
// vertex with its weights included), built once by the walk (walker.h) and
// read by every program: the viewer's body, the browser's tree, mdstree and
// korvane-check's rules. Nothing else walks an MDS file.
//
// An MDS file is a skeleton (families/skeleton.h), tags, and weighted
// surfaces (families/weighted_mesh.h). What each reader needs (see Need):
// the walk needs the header, the counts, the chain of surface headers and
// each vertex's NumWeights (vertices have their own lengths), and frame
// records that the file could hold (the browser lists frames without
// reading them); the viewer also needs every frame and bone record, every
// vertex with its weights and the triangles; the structure printers also
// need the tags, collapse maps and bone references.
#pragma once

#include <cstdint>
#include <optional>

#include "formats/byte_view.h"
#include "formats/diagnostics.h"
#include "formats/families/skeleton.h"
#include "formats/families/weighted_mesh.h"
#include "formats/mds_layout.h"
#include "formats/walker.h"

namespace formats {

using MdsSurfaceIndex = WeightedSurfaceIndex;

struct MdsIndex : SkeletonIndex, WeightedSurfaces {
    bool readable = false;  // the file is MDS and holds its whole header
    MdsHeader header{};     // valid when readable
    ListAt tags;
    // FirstFatal: why the file was refused (no value: accepted).
    std::optional<Finding> refusal;

    bool ok() const { return !refusal.has_value(); }
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

}  // namespace formats
