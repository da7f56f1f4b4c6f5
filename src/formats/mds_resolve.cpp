// MDS acceptance and offset resolution.
//
// resolveMds reads only the header, each surface header of the chain and
// each vertex's NumWeights. Besides a read that would leave the bytes and a
// negative count, it refuses counts that could never fit in the file, so
// that no hostile file makes a reader loop for long:
//   - NumFrames frame records (52 + 12 * NumBones bytes each) larger than
//     the file (frame nodes are listed without reading the records);
//   - NumSurfaces above size / 176;
//   - a surface whose NumVertices * 32 exceeds the bytes from its vertex 0
//     to the end of the file, and a total of NumVertices * 32 over all
//     surfaces above the file size;
//   - a surface that is followed by another and whose OffsetEnd is below the
//     176 bytes of its own header (a chain that does not advance). The last
//     surface's OffsetEnd is not used and so not judged.
// The last vertex of a surface may have weights beyond the end of the bytes:
// its NumWeights lies inside, and its weights are checked by their reader.
#include <cstdint>
#include <cstring>

#include "formats/mds_layout.h"
#include "formats/mds_resolve.h"

namespace fmt {

namespace {

constexpr std::int64_t kHeaderSize = sizeof(MdsHeader);
constexpr std::int64_t kSurfaceSize = sizeof(MdsSurface);
constexpr std::int64_t kVertexSize = sizeof(MdsVertex);

// True when count records of elemSize bytes from offset lie inside; no
// product can overflow because the count is first bounded by the size.
bool arrayInside(ByteView bytes, std::int64_t offset, std::int64_t count, std::int64_t elemSize) {
    if (count < 0) return false;
    if (count == 0) return true;  // an empty list occupies nothing, wherever it points
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (elemSize > 0 && count > size / elemSize) return false;
    return bytes.has(offset, count * elemSize);
}

// Walks one surface's vertices from their first position; false when a
// NumWeights field lies outside or is negative.
bool walkVertices(ByteView bytes, std::int64_t first, std::int64_t count) {
    std::int64_t v = first;
    for (std::int64_t i = 0; i < count; ++i) {
        const auto numWeights = bytes.tryRead<std::int32_t>(v + static_cast<std::int64_t>(offsetof(MdsVertex, NumWeights)));
        if (!numWeights || *numWeights < 0) return false;
        v += mdsVertexSize(*numWeights);
    }
    return true;
}

}  // namespace

bool isMds(ByteView bytes) {
    if (!bytes.has(0, kHeaderSize)) return false;
    return std::memcmp(bytes.data(), "MDSW", 4) == 0;
}

std::optional<MdsPositions> resolveMds(ByteView bytes) {
    if (!isMds(bytes)) return std::nullopt;
    const auto h = bytes.read<MdsHeader>(0);
    if (h.NumFrames < 0 || h.NumBones < 0 || h.NumSurfaces < 0 || h.NumTags < 0) return std::nullopt;
    const auto size = static_cast<std::int64_t>(bytes.size());

    MdsPositions p;
    p.header = 0;
    p.frames = h.OffsetFrames;
    p.bones = h.OffsetBones;
    p.tags = h.OffsetTags;
    p.frameSize = mdsFrameSize(h.NumBones);
    if (h.NumFrames > size / p.frameSize) return std::nullopt;
    if (h.NumSurfaces > size / kSurfaceSize) return std::nullopt;

    p.surfaces.reserve(static_cast<std::size_t>(h.NumSurfaces));
    std::int64_t s = h.OffsetSurfaces;
    std::int64_t totalVertexBytes = 0;
    for (std::int32_t n = 0; n < h.NumSurfaces; ++n) {
        const auto surf = bytes.tryRead<MdsSurface>(s);
        if (!surf) return std::nullopt;
        if (surf->NumVertices < 0 || surf->NumTriangles < 0 || surf->NumBoneRefs < 0) return std::nullopt;

        MdsSurfacePositions sp;
        sp.surface = s;
        sp.vertices = s + surf->OffsetVertices;
        sp.triangles = s + surf->OffsetTriangles;
        sp.collapseMap = s + surf->OffsetCollapseMap;
        sp.boneRefs = s + surf->OffsetBoneRefs;

        if (surf->NumVertices > 0) {
            const std::int64_t minBytes = static_cast<std::int64_t>(surf->NumVertices) * kVertexSize;
            if (sp.vertices < 0 || sp.vertices > size || minBytes > size - sp.vertices) return std::nullopt;
            totalVertexBytes += minBytes;
            if (totalVertexBytes > size) return std::nullopt;
            if (!walkVertices(bytes, sp.vertices, surf->NumVertices)) return std::nullopt;
        }
        p.surfaces.push_back(sp);

        if (n + 1 < h.NumSurfaces) {
            if (surf->OffsetEnd < kSurfaceSize) return std::nullopt;
            s += surf->OffsetEnd;
        }
    }
    return p;
}

bool mdsRecordsInside(ByteView bytes, const MdsPositions& positions) {
    if (!isMds(bytes)) return false;
    const auto h = bytes.read<MdsHeader>(0);
    if (!arrayInside(bytes, positions.frames, h.NumFrames, mdsFrameSize(h.NumBones < 0 ? 0 : h.NumBones)))
        return false;
    if (!arrayInside(bytes, positions.bones, h.NumBones, sizeof(MdsBone))) return false;
    if (h.NumSurfaces < 0 || positions.surfaces.size() != static_cast<std::size_t>(h.NumSurfaces)) return false;

    for (const auto& sp : positions.surfaces) {
        const auto surf = bytes.tryRead<MdsSurface>(sp.surface);
        if (!surf || surf->NumVertices < 0) return false;
        std::int64_t v = sp.vertices;
        for (std::int32_t i = 0; i < surf->NumVertices; ++i) {
            const auto vertex = bytes.tryRead<MdsVertex>(v);
            if (!vertex || vertex->NumWeights < 0) return false;
            if (!arrayInside(bytes, v + kVertexSize, vertex->NumWeights, sizeof(MdsWeight))) return false;
            v += mdsVertexSize(vertex->NumWeights);
        }
        if (!arrayInside(bytes, sp.triangles, surf->NumTriangles, sizeof(MdsTriangle))) return false;
    }
    return true;
}

}  // namespace fmt
