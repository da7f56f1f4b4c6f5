#include "formats/mdc_walk.h"

#include <utility>

namespace formats {

namespace {

bool arrayInside(ByteView bytes, std::int64_t at, std::uint64_t count, std::uint64_t recordSize) {
    // count < 2^32 and recordSize <= 124, so the product stays far below 2^63.
    return bytes.has(at, static_cast<std::int64_t>(count * recordSize));
}

// Every record of one surface that the viewer reads, for every frame. Adds
// their bytes to `spent`.
bool surfaceInside(ByteView bytes, const MdcSurfaceAt& s, std::uint32_t numFrames, std::uint64_t& spent) {
    spent += sizeof(MdcSurface) + kNameLength + std::uint64_t{s.numTriangles()} * sizeof(MdcTriangle) +
             std::uint64_t{s.numVertices()} * sizeof(MdcTexCoord) + 2 * std::uint64_t{numFrames};
    if (!arrayInside(bytes, s.triangle(0), s.numTriangles(), sizeof(MdcTriangle))) return false;
    if (!bytes.has(s.shaderName(), kNameLength)) return false;
    if (!arrayInside(bytes, s.texCoord(0), s.numVertices(), sizeof(MdcTexCoord))) return false;
    if (!arrayInside(bytes, s.frameEntry(0), numFrames, 2)) return false;
    if (numFrames == 0) return true;
    std::uint16_t highest = 0;
    for (std::uint32_t f = 0; f < numFrames; ++f) {
        const std::uint16_t b = mdcBaseFrame(bytes, s, f);
        if (b > highest) highest = b;
    }
    // Base frames 0..highest, each NumVertices records.
    const std::uint64_t records = (std::uint64_t{highest} + 1) * s.numVertices();
    spent += records * sizeof(MdcBaseVertex);
    return arrayInside(bytes, s.baseVertex(0, 0), records, sizeof(MdcBaseVertex));
}

}  // namespace

std::uint16_t mdcBaseFrame(ByteView bytes, const MdcSurfaceAt& surface, std::uint32_t f) {
    return bytes.read<std::uint16_t>(surface.frameEntry(f));
}

MdcWalk walkMdc(ByteView bytes) {
    MdcWalk walk;
    const auto id = bytes.tryRead<std::int32_t>(0);
    if (!id || *id != kMdcIdent) return walk;
    walk.status = MdcStatus::Damaged;
    const auto header = bytes.tryRead<MdcHeader>(0);
    if (!header) return walk;
    walk.header = *header;

    const auto numSurfaces = static_cast<std::uint32_t>(header->NumSurfaces);
    const auto numFrames = static_cast<std::uint32_t>(header->NumFrames);
    const std::uint64_t perSurface = sizeof(MdcSurface) + 2 * std::uint64_t{numFrames};
    if (numSurfaces > 0 && perSurface > bytes.size() / numSurfaces) return walk;

    std::vector<MdcSurfaceAt> surfaces;
    surfaces.reserve(numSurfaces);
    std::int64_t at = header->OffsetSurfaces;
    std::uint64_t spent = 0;  // bytes of the records of the surfaces walked so far
    for (std::uint32_t i = 0; i < numSurfaces; ++i) {
        const auto surface = bytes.tryRead<MdcSurface>(at);
        if (!surface) return walk;
        MdcSurfaceAt s{at, *surface};
        if (!surfaceInside(bytes, s, numFrames, spent) || spent > bytes.size()) return walk;
        surfaces.push_back(s);
        at += surface->OffsetEnd;
    }
    walk.surfaces = std::move(surfaces);
    walk.status = MdcStatus::Ok;
    return walk;
}

}  // namespace formats
