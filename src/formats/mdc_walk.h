// Walking an MDC file: the header and the chain of surface headers, with
// every record that the viewer reads checked against the bytes.
//
// The walk accepts a file only when, for every surface, the header, the
// triangles, the first shader name, the texture coordinates, the frame
// table and the base vertices that each frame-table entry selects lie wholly
// inside the bytes. A file that fails any of these is damaged as a whole;
// readers then read those records with ByteView::read without further
// checks. Triangle indices are not checked here (they are values, not
// positions in the file).
//
// Counts are taken as unsigned 32-bit numbers and positions as 64-bit, so
// nothing wraps. Huge counts fail fast: every surface of a well-formed file
// holds its own header and frame table between its start and the next
// surface, so NumSurfaces x (header + 2 x NumFrames) can never exceed the
// file size; a file claiming more is damaged without walking it. This also
// bounds the work of the walk by the file size.
//
// Surfaces may share or overlap their lists, but the records of all surfaces
// counted once for each surface that names them (header, first shader name,
// triangles, texture coordinates, frame table, the base vertices in use) may
// not add up to more bytes than the file holds, as they never do in a
// well-formed file. So the buffers and every frame's vertices the viewer
// makes stay in proportion to the file's size.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/byte_view.h"
#include "formats/mdc_layout.h"

namespace formats {

struct MdcSurfaceAt {
    std::int64_t start = 0;  // the MdcSurface header
    MdcSurface header{};

    std::uint32_t numVertices() const { return static_cast<std::uint32_t>(header.NumVertices); }
    std::uint32_t numTriangles() const { return static_cast<std::uint32_t>(header.NumTriangles); }
    std::int64_t triangle(std::uint32_t t) const {
        return start + header.OffsetTriangles + static_cast<std::int64_t>(sizeof(MdcTriangle)) * t;
    }
    std::int64_t shaderName() const { return start + header.OffsetShaders; }
    std::int64_t texCoord(std::uint32_t k) const {
        return start + header.OffsetTexCoords + static_cast<std::int64_t>(sizeof(MdcTexCoord)) * k;
    }
    // The frame-table entry of frame f: the base frame that holds its vertices.
    std::int64_t frameEntry(std::uint32_t f) const {
        return start + header.OffsetFrameBaseFrames + 2 * std::int64_t{f};
    }
    // Vertex k of base frame b.
    std::int64_t baseVertex(std::uint32_t b, std::uint32_t k) const {
        return start + header.OffsetBaseVertices +
               static_cast<std::int64_t>(sizeof(MdcBaseVertex)) *
                   (std::int64_t{b} * std::int64_t{numVertices()} + std::int64_t{k});
    }
};

enum class MdcStatus { Ok, NotMdc, Damaged };

struct MdcWalk {
    MdcStatus status = MdcStatus::NotMdc;
    MdcHeader header{};                  // valid unless NotMdc
    std::vector<MdcSurfaceAt> surfaces;  // chain order; filled only when Ok
};

// NotMdc when the first four bytes are missing or are not "IDPC"; Damaged
// when the rest of the header or any checked record leaves the bytes.
MdcWalk walkMdc(ByteView bytes);

// The uint16 at frame-table entry f of an accepted surface.
std::uint16_t mdcBaseFrame(ByteView bytes, const MdcSurfaceAt& surface, std::uint32_t f);

}  // namespace formats
