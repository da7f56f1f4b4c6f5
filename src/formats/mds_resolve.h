// Resolving an MDS file's stored offsets into record positions, kept beside
// the bytes (byte offsets into the held block), never written into them.
//
// resolveMds walks only what it must: the header, each surface header of the
// chain and each vertex's NumWeights while walking a surface's vertices.
// Every other record is checked by the reader that reads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/byte_view.h"
#include "formats/mds_layout.h"

namespace formats {

struct MdsSurfacePositions {
    std::int64_t surface = 0;      // the MdsSurface header
    std::int64_t vertices = 0;     // vertex 0
    std::int64_t triangles = 0;    // triangle 0
    std::int64_t collapseMap = 0;  // collapse map entry 0
    std::int64_t boneRefs = 0;     // bone reference 0
};

struct MdsPositions {
    std::int64_t header = 0;
    std::int64_t frames = 0;  // frame 0
    std::int64_t bones = 0;   // bone 0
    std::int64_t tags = 0;    // tag 0
    std::int64_t frameSize = 0;
    std::vector<MdsSurfacePositions> surfaces;  // chain order
    // Bytes of every surface record the chain declares (headers, vertices
    // with their weights, triangles, collapse maps, bone references),
    // counted once per surface that names them: the work budget that
    // resolveMds holds to the file's size.
    std::int64_t surfaceRecordBytes = 0;

    std::int64_t frame(std::int64_t k) const { return frames + k * frameSize; }
    std::int64_t boneFrame(std::int64_t k, std::int64_t j) const {
        return frame(k) + static_cast<std::int64_t>(sizeof(MdsFrame)) +
               j * static_cast<std::int64_t>(sizeof(CompressedBoneFrame));
    }
    std::int64_t bone(std::int64_t i) const { return bones + i * static_cast<std::int64_t>(sizeof(MdsBone)); }
    std::int64_t tag(std::int64_t i) const { return tags + i * static_cast<std::int64_t>(sizeof(MdsTag)); }
};

// Why a file was refused: the record and field, the byte offset of what was
// wrong, and what was found against what was expected.
struct MdsRefusal {
    std::string where;  // e.g. "surface 2 .NumTriangles"
    std::int64_t offset = 0;
    std::string what;   // e.g. "400 triangles from 0x1b6c0 end past the end of the file at 0x1c000"
    // "surface 2 .NumTriangles @0x1a2c: 400 triangles ..."
    std::string text() const;
};

// Positions of an accepted file; nullopt when the file is not MDS, a count
// is negative, a read of the walk would leave the bytes, or the chain
// declares more surface records than the file's bytes can hold. `why`, when
// given, receives the reason of a refusal.
std::optional<MdsPositions> resolveMds(ByteView bytes, MdsRefusal* why = nullptr);

// True when every record the viewer reads lies wholly inside the bytes: all
// frames with their bone records, all bones, and for every surface each
// vertex with its weights and each triangle. The viewer refuses a file for
// which this is false; `why` receives the first record outside.
bool mdsRecordsInside(ByteView bytes, const MdsPositions& positions, MdsRefusal* why = nullptr);

}  // namespace formats
