// The index of an MDC file: where every record and list lies, built once by
// the walk (walker.h) and read by every program: the viewer's MDC model,
// mdstree's tree and korvane-check's rules.
//
// What each reader needs (see Need): the walk needs the header, the counts
// of frames and surfaces and the chain of surface headers; the viewer also
// needs per surface the triangles, the first shader's name, the texture
// coordinates, the base vertices and the frame table with every entry
// below the surface's number of base frames; the structure printer also
// needs the frame bounds, the tags, the shader entries, the compressed
// vertices and their frame table.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "formats/byte_view.h"
#include "formats/diagnostics.h"
#include "formats/families/frame_mesh.h"
#include "formats/mdc_layout.h"
#include "formats/walker.h"

namespace formats {

struct MdcSurfaceIndex : FrameMeshSurface {
    MdcSurface header{};
    ListAt baseVertices, compVertices, frameBaseFrames, frameCompFrames;

    std::uint32_t numVertices() const { return header.NumVertices < 0 ? 0u : static_cast<std::uint32_t>(header.NumVertices); }
    std::uint32_t numTriangles() const {
        return header.NumTriangles < 0 ? 0u : static_cast<std::uint32_t>(header.NumTriangles);
    }
    // Vertex k of base frame b.
    std::int64_t baseVertex(std::int64_t b, std::int64_t k) const {
        return baseVertices.at + std::int64_t{sizeof(MdcBaseVertex)} * (b * std::int64_t{numVertices()} + k);
    }
    std::int64_t compVertex(std::int64_t c, std::int64_t k) const {
        return compVertices.at + std::int64_t{sizeof(MdcCompVertex)} * (c * std::int64_t{numVertices()} + k);
    }
    std::int64_t frameBaseFrame(std::int64_t f) const { return frameBaseFrames.at + 2 * f; }
    std::int64_t frameCompFrame(std::int64_t f) const { return frameCompFrames.at + 2 * f; }
};

struct MdcIndex {
    bool readable = false;  // the file is MDC and holds its whole header
    MdcHeader header{};     // valid when readable
    ListAt frames, tagNames, tagFrames;
    std::vector<MdcSurfaceIndex> surfaces;  // chain order, as far as the walk went
    bool allSurfaces = false;               // every surface of the chain was walked
    // FirstFatal: why the file was refused (no value: accepted).
    std::optional<Finding> refusal;

    bool ok() const { return !refusal.has_value(); }
    std::uint32_t numFrames() const { return header.NumFrames < 0 ? 0u : static_cast<std::uint32_t>(header.NumFrames); }
    std::int64_t frame(std::int64_t k) const { return frames.at + k * std::int64_t{sizeof(MdcFrame)}; }
    std::int64_t tagName(std::int64_t i) const { return tagNames.at + i * std::int64_t{sizeof(MdcTagName)}; }
    std::int64_t tagFrame(std::int64_t f, std::int64_t t) const {
        return tagFrames.at + std::int64_t{sizeof(MdcTagFrame)} * (f * std::int64_t{header.NumTags} + t);
    }
};

// FirstFatal: the index, refused at the first finding that stops `reader`
// (Draw: the viewer; Print: the structure printer).
MdcIndex indexMdc(ByteView bytes, Reader reader);
// CollectAll: every structural finding into the report, and the index of
// what could be read.
MdcIndex indexMdc(ByteView bytes, Report& report);

// The base frame that frame f of an indexed surface shows.
std::uint16_t mdcBaseFrame(ByteView bytes, const MdcSurfaceIndex& surface, std::uint32_t f);

}  // namespace formats
