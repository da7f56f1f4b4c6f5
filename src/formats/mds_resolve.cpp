// MDS acceptance and offset resolution.
//
// resolveMds reads only the header, each surface header of the chain and
// each vertex's NumWeights. Besides a read that would leave the bytes and a
// negative count, it refuses counts that could never fit in the file, so
// that no file makes a reader loop or allocate out of proportion to its
// size:
//   - NumFrames frame records (52 + 12 * NumBones bytes each) larger than
//     the file (frame nodes are listed without reading the records);
//   - NumSurfaces above size / 176;
//   - a chain whose surface records, counted once for every surface that
//     names them (the 176-byte header, each vertex with its weights, the
//     triangles, the collapse map and the bone references, each list as far
//     as it lies inside the file), add up to more bytes than the file holds. In a well-formed file no two lists share
//     bytes, so the sum never exceeds the size; a file whose surfaces share
//     or overlap their lists can only be accepted while the sum fits. This
//     bounds every later walk over the surfaces (the tree, the buffers, the
//     skinning of a frame) by the file's size.
// The chain follows OffsetEnd wherever it points: forwards, backwards, or
// back to the same header.
// The last vertex of a surface may have weights beyond the end of the bytes:
// its NumWeights lies inside, and its weights are checked by their reader.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "formats/mds_layout.h"
#include "formats/mds_resolve.h"

namespace formats {

namespace {

constexpr std::int64_t kHeaderSize = sizeof(MdsHeader);
constexpr std::int64_t kSurfaceSize = sizeof(MdsSurface);
constexpr std::int64_t kVertexSize = sizeof(MdsVertex);
constexpr std::int64_t kTriangleSize = sizeof(MdsTriangle);
constexpr std::int64_t kIndexSize = 4;  // a collapse map entry, a bone reference

std::string hex(std::int64_t v) {
    char buf[32];
    if (v < 0)
        std::snprintf(buf, sizeof buf, "-0x%" PRIx64, static_cast<std::uint64_t>(-v));
    else
        std::snprintf(buf, sizeof buf, "0x%" PRIx64, static_cast<std::uint64_t>(v));
    return buf;
}

std::string surfaceField(std::int64_t n, const char* field) { return "surface " + std::to_string(n) + " ." + field; }

// Records the reason (when asked for) and returns false, so that a check
// reads `return refuse(...)`.
bool refuse(MdsRefusal* why, std::string where, std::int64_t offset, std::string what) {
    if (why) *why = {std::move(where), offset, std::move(what)};
    return false;
}

std::string endsPast(std::int64_t count, const char* records, std::int64_t from, std::int64_t size) {
    return std::to_string(count) + " " + records + " from " + hex(from) + " end past the end of the file at " +
           hex(size);
}

// True when count records of elemSize bytes from offset lie inside; no
// product can overflow because the count is first bounded by the size.
bool arrayInside(ByteView bytes, std::int64_t offset, std::int64_t count, std::int64_t elemSize) {
    if (count < 0) return false;
    if (count == 0) return true;  // an empty list occupies nothing, wherever it points
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (elemSize > 0 && count > size / elemSize) return false;
    return bytes.has(offset, count * elemSize);
}

class Resolver {
public:
    Resolver(ByteView bytes, MdsRefusal* why)
        : bytes_(bytes), why_(why), size_(static_cast<std::int64_t>(bytes.size())) {}

    bool header(const MdsHeader& h, MdsPositions& p) {
        const struct {
            const char* field;
            std::size_t at;
            std::int32_t value;
        } counts[] = {{"NumFrames", offsetof(MdsHeader, NumFrames), h.NumFrames},
                      {"NumBones", offsetof(MdsHeader, NumBones), h.NumBones},
                      {"NumSurfaces", offsetof(MdsHeader, NumSurfaces), h.NumSurfaces},
                      {"NumTags", offsetof(MdsHeader, NumTags), h.NumTags}};
        for (const auto& c : counts)
            if (c.value < 0)
                return refuse(why_, std::string("header .") + c.field, static_cast<std::int64_t>(c.at),
                              "negative count " + std::to_string(c.value));
        p.frames = h.OffsetFrames;
        p.bones = h.OffsetBones;
        p.tags = h.OffsetTags;
        p.frameSize = mdsFrameSize(h.NumBones);
        if (h.NumFrames > size_ / p.frameSize)
            return refuse(why_, "header .NumFrames", offsetof(MdsHeader, NumFrames),
                          std::to_string(h.NumFrames) + " frames of " + std::to_string(p.frameSize) +
                              " bytes cannot fit in the file's " + std::to_string(size_) + " bytes");
        if (h.NumSurfaces > size_ / kSurfaceSize)
            return refuse(why_, "header .NumSurfaces", offsetof(MdsHeader, NumSurfaces),
                          std::to_string(h.NumSurfaces) + " surface headers of 176 bytes cannot fit in the file's " +
                              std::to_string(size_) + " bytes");
        return true;
    }

    bool surface(std::int64_t n, std::int64_t s, MdsPositions& p, MdsSurface& out) {
        const auto surf = bytes_.tryRead<MdsSurface>(s);
        if (!surf)
            return refuse(why_, "surface " + std::to_string(n), s,
                          "its 176-byte header at " + hex(s) + " lies outside the file's " + std::to_string(size_) +
                              " bytes");
        out = *surf;
        const struct {
            const char* field;
            std::size_t at;
            std::int32_t value;
        } counts[] = {{"NumVertices", offsetof(MdsSurface, NumVertices), surf->NumVertices},
                      {"NumTriangles", offsetof(MdsSurface, NumTriangles), surf->NumTriangles},
                      {"NumBoneRefs", offsetof(MdsSurface, NumBoneRefs), surf->NumBoneRefs}};
        for (const auto& c : counts)
            if (c.value < 0)
                return refuse(why_, surfaceField(n, c.field), s + static_cast<std::int64_t>(c.at),
                              "negative count " + std::to_string(c.value));

        MdsSurfacePositions sp;
        sp.surface = s;
        sp.vertices = s + surf->OffsetVertices;
        sp.triangles = s + surf->OffsetTriangles;
        sp.collapseMap = s + surf->OffsetCollapseMap;
        sp.boneRefs = s + surf->OffsetBoneRefs;

        const std::int64_t lists = kSurfaceSize + inFile(sp.vertices, surf->NumVertices, kVertexSize) +
                                   inFile(sp.triangles, surf->NumTriangles, kTriangleSize) +
                                   inFile(sp.collapseMap, surf->NumVertices, kIndexSize) +
                                   inFile(sp.boneRefs, surf->NumBoneRefs, kIndexSize);
        if (!spend(n, s, lists, p)) return false;
        if (surf->NumVertices > 0) {
            const std::int64_t minBytes = std::int64_t{surf->NumVertices} * kVertexSize;
            if (sp.vertices < 0 || sp.vertices > size_ || minBytes > size_ - sp.vertices)
                return refuse(why_, surfaceField(n, "OffsetVertices"), s + std::int64_t{offsetof(MdsSurface, OffsetVertices)},
                              endsPast(surf->NumVertices, "vertices", sp.vertices, size_));
            if (!walkVertices(n, s, sp.vertices, surf->NumVertices, p)) return false;
        }
        p.surfaces.push_back(sp);
        return true;
    }

private:
    // The bytes of count records of elemSize from `at` that lie inside the
    // file: a list that runs past the end costs its readers only the part
    // before the end, where they stop.
    std::int64_t inFile(std::int64_t at, std::int64_t count, std::int64_t elemSize) const {
        if (count <= 0 || at < 0 || at >= size_) return 0;
        const std::int64_t room = size_ - at;
        return count > room / elemSize ? room : count * elemSize;
    }

    // Adds bytes of surface n's records to the chain's total; false once the
    // total passes the file's size.
    bool spend(std::int64_t n, std::int64_t s, std::int64_t bytes, MdsPositions& p) {
        p.surfaceRecordBytes += bytes;
        if (p.surfaceRecordBytes <= size_) return true;
        return refuse(why_, "surface " + std::to_string(n), s,
                      "the surfaces up to this one declare " + std::to_string(p.surfaceRecordBytes) +
                          " bytes of records, more than the file's " + std::to_string(size_) +
                          " bytes can hold (lists shared between surfaces or overlapping)");
    }

    // Walks one surface's vertices from their first position; false when a
    // NumWeights field lies outside or is negative, or the weights overrun
    // the budget.
    bool walkVertices(std::int64_t n, std::int64_t s, std::int64_t first, std::int64_t count, MdsPositions& p) {
        std::int64_t v = first;
        for (std::int64_t i = 0; i < count; ++i) {
            const std::int64_t at = v + static_cast<std::int64_t>(offsetof(MdsVertex, NumWeights));
            const auto numWeights = bytes_.tryRead<std::int32_t>(at);
            const std::string where = surfaceField(n, ("vertex " + std::to_string(i) + " .NumWeights").c_str());
            if (!numWeights) return refuse(why_, where, at, "the vertex lies past the end of the file at " + hex(size_));
            if (*numWeights < 0) return refuse(why_, where, at, "negative count " + std::to_string(*numWeights));
            if (!spend(n, s, inFile(v + kVertexSize, *numWeights, sizeof(MdsWeight)), p)) return false;
            v += mdsVertexSize(*numWeights);
        }
        return true;
    }

    ByteView bytes_;
    MdsRefusal* why_;
    std::int64_t size_;
};

}  // namespace

std::string MdsRefusal::text() const { return where + " @" + hex(offset) + ": " + what; }

bool isMds(ByteView bytes) {
    if (!bytes.has(0, kHeaderSize)) return false;
    return std::memcmp(bytes.data(), "MDSW", 4) == 0;
}

std::optional<MdsPositions> resolveMds(ByteView bytes, MdsRefusal* why) {
    if (!isMds(bytes)) {
        refuse(why, "header .Id", 0,
               bytes.size() < kHeaderSize ? "the file holds " + std::to_string(bytes.size()) +
                                                " bytes, fewer than the 120-byte header"
                                          : std::string("the first four bytes are not \"MDSW\""));
        return std::nullopt;
    }
    const auto h = bytes.read<MdsHeader>(0);
    Resolver resolver(bytes, why);
    MdsPositions p;
    if (!resolver.header(h, p)) return std::nullopt;

    p.surfaces.reserve(static_cast<std::size_t>(h.NumSurfaces));
    std::int64_t s = h.OffsetSurfaces;
    for (std::int32_t n = 0; n < h.NumSurfaces; ++n) {
        MdsSurface surf{};
        if (!resolver.surface(n, s, p, surf)) return std::nullopt;
        // At most size / 176 steps of an int32 each: s cannot overflow.
        s += surf.OffsetEnd;
    }
    return p;
}

bool mdsRecordsInside(ByteView bytes, const MdsPositions& positions, MdsRefusal* why) {
    if (!isMds(bytes)) return refuse(why, "header .Id", 0, "not an MDS file");
    const auto h = bytes.read<MdsHeader>(0);
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (!arrayInside(bytes, positions.frames, h.NumFrames, mdsFrameSize(h.NumBones < 0 ? 0 : h.NumBones)))
        return refuse(why, "header .OffsetFrames", offsetof(MdsHeader, OffsetFrames),
                      endsPast(h.NumFrames, "frames", positions.frames, size));
    if (!arrayInside(bytes, positions.bones, h.NumBones, sizeof(MdsBone)))
        return refuse(why, "header .OffsetBones", offsetof(MdsHeader, OffsetBones),
                      endsPast(h.NumBones, "bones", positions.bones, size));
    if (h.NumSurfaces < 0 || positions.surfaces.size() != static_cast<std::size_t>(h.NumSurfaces))
        return refuse(why, "header .NumSurfaces", offsetof(MdsHeader, NumSurfaces), "does not match the resolved chain");

    std::int64_t n = 0;
    for (const auto& sp : positions.surfaces) {
        const auto surf = bytes.tryRead<MdsSurface>(sp.surface);
        if (!surf || surf->NumVertices < 0)
            return refuse(why, "surface " + std::to_string(n), sp.surface, "header outside the file or damaged");
        std::int64_t v = sp.vertices;
        for (std::int32_t i = 0; i < surf->NumVertices; ++i) {
            const auto vertex = bytes.tryRead<MdsVertex>(v);
            const std::string where = surfaceField(n, ("vertex " + std::to_string(i)).c_str());
            if (!vertex || vertex->NumWeights < 0)
                return refuse(why, where, v, "the vertex lies past the end of the file at " + hex(size));
            if (!arrayInside(bytes, v + kVertexSize, vertex->NumWeights, sizeof(MdsWeight)))
                return refuse(why, where + " .NumWeights", v + std::int64_t{offsetof(MdsVertex, NumWeights)},
                              endsPast(vertex->NumWeights, "weights", v + kVertexSize, size));
            v += mdsVertexSize(vertex->NumWeights);
        }
        if (!arrayInside(bytes, sp.triangles, surf->NumTriangles, sizeof(MdsTriangle)))
            return refuse(why, surfaceField(n, "OffsetTriangles"), sp.surface + std::int64_t{offsetof(MdsSurface, OffsetTriangles)},
                          endsPast(surf->NumTriangles, "triangles", sp.triangles, size));
        ++n;
    }
    return true;
}

}  // namespace formats
