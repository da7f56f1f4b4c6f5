// The index of an MD3 file: header, frames, tags per frame, and each
// surface's shaders, triangles and texture coordinates (the frame-mesh
// family, families/frame_mesh.h) with its positions and normals per frame,
// built once by the walk and read by every program.
#pragma once

#include <optional>
#include <vector>

#include "formats/byte_view.h"
#include "formats/diagnostics.h"
#include "formats/families/frame_mesh.h"
#include "formats/md3_layout.h"

namespace formats {

struct Md3SurfaceIndex : FrameMeshSurface {
    Md3Surface header{};
    ListAt xyzNormals;  // NumFrames x NumVertices

    std::int64_t numVertices() const { return header.NumVertices < 0 ? 0 : header.NumVertices; }
    // Vertex k of frame f.
    std::int64_t xyzNormal(std::int64_t f, std::int64_t k) const {
        return xyzNormals.at + std::int64_t{sizeof(Md3XyzNormal)} * (f * numVertices() + k);
    }
};

struct Md3Index {
    bool readable = false;  // the file is MD3 and holds its whole header
    Md3Header header{};     // valid when readable
    ListAt frames, tags;    // tags: NumFrames x NumTags, frame after frame
    std::vector<Md3SurfaceIndex> surfaces;
    bool allSurfaces = false;
    std::optional<Finding> refusal;

    bool ok() const { return !refusal.has_value(); }
    std::int64_t frame(std::int64_t k) const { return frames.at + k * std::int64_t{sizeof(Md3Frame)}; }
    std::int64_t tag(std::int64_t f, std::int64_t t) const {
        return tags.at + std::int64_t{sizeof(Md3Tag)} * (f * std::int64_t{header.NumTags} + t);
    }
};

Md3Index indexMd3(ByteView bytes, Reader reader);
Md3Index indexMd3(ByteView bytes, Report& report);

// A packed MD3 normal (latitude in the high byte, longitude in the low, each
// in steps of 2 pi / 256) as a unit vector in the file's axes.
void md3Normal(std::uint16_t packed, float (&out)[3]);

}  // namespace formats
