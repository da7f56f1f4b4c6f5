#include "modelgen/amplify.h"

#include <cstddef>

#include "modelgen/mdc_writer.h"
#include "modelgen/mds_writer.h"
#include "modelgen/samples.h"

namespace mg {

namespace {

// A copy of the surface header at `from`, appended to the image, whose
// list offsets point at the original's lists. Returns its position.
template <class Surface>
std::int64_t appendAlias(Bytes& bytes, std::int64_t from, std::int32_t Surface::*const* offsets, std::size_t count,
                         std::int32_t Surface::*offsetEnd, std::int32_t end) {
    Surface s;
    std::memcpy(&s, bytes.data() + from, sizeof s);
    const auto at = static_cast<std::int64_t>(bytes.size());
    for (std::size_t i = 0; i < count; ++i) s.*offsets[i] = static_cast<std::int32_t>(from + s.*offsets[i] - at);
    s.*offsetEnd = end;
    append(bytes, s);
    return at;
}

MdsModel oneSurfaceMds(int triangles) {
    MdsModel m;
    m.name = "amplify";
    m.bones = {{"root", -1, 0.0f, 0.0f, 0}};
    m.frames.resize(1);
    m.order = {MdsSection::Frames, MdsSection::Bones, MdsSection::Tags, MdsSection::Surfaces};
    MdsSurfaceDesc d;
    d.name = "shared";
    for (int v = 0; v < 3; ++v) {
        MdsVertexDesc vd;
        vd.weights.push_back({0, 1.0f, {static_cast<float>(v), 0.0f, 0.0f}});
        d.vertices.push_back(vd);
    }
    d.triangles.assign(static_cast<std::size_t>(triangles), formats::MdsTriangle{{0, 1, 2}});
    d.boneRefs = {0};
    m.surfaces.push_back(d);
    return m;
}

constexpr std::int32_t formats::MdsSurface::*kMdsOffsets[] = {
    &formats::MdsSurface::OffsetVertices, &formats::MdsSurface::OffsetTriangles,
    &formats::MdsSurface::OffsetCollapseMap, &formats::MdsSurface::OffsetBoneRefs, &formats::MdsSurface::OffsetHeader};

}  // namespace

Bytes sharedListsMds(int surfaces, int triangles) {
    MdsImage img = writeMds(oneSurfaceMds(triangles));
    Bytes& b = img.bytes;
    const std::int64_t first = img.surfaces[0].header;
    put<std::int32_t>(b, offsetof(formats::MdsHeader, NumSurfaces), surfaces);
    put<std::int32_t>(b, first + offsetof(formats::MdsSurface, OffsetEnd), static_cast<std::int32_t>(b.size() - first));
    for (int i = 1; i < surfaces; ++i)
        appendAlias(b, first, kMdsOffsets, std::size(kMdsOffsets), &formats::MdsSurface::OffsetEnd,
                    static_cast<std::int32_t>(sizeof(formats::MdsSurface)));
    put<std::int32_t>(b, offsetof(formats::MdsHeader, OffsetEnd), static_cast<std::int32_t>(b.size()));
    return b;
}

Bytes sharedHeaderMds(int surfaces) {
    MdsImage img = writeMds(oneSurfaceMds(1));
    put<std::int32_t>(img.bytes, offsetof(formats::MdsHeader, NumSurfaces), surfaces);
    put<std::int32_t>(img.bytes, img.surfaces[0].header + offsetof(formats::MdsSurface, OffsetEnd), 0);
    return img.bytes;
}

Bytes backwardChainMds() {
    MdsModel m = sampleMds();
    std::swap(m.surfaces[0], m.surfaces[1]);
    MdsImage img = writeMds(m);
    // The chain starts at the surface stored second and goes back to the first.
    const std::int64_t first = img.surfaces[1].header, second = img.surfaces[0].header;
    put<std::int32_t>(img.bytes, offsetof(formats::MdsHeader, OffsetSurfaces), static_cast<std::int32_t>(first));
    put<std::int32_t>(img.bytes, first + offsetof(formats::MdsSurface, OffsetEnd),
                      static_cast<std::int32_t>(second - first));
    return img.bytes;
}

Bytes repeatedFramesMds(int frames) {
    MdsModel m = sampleMds();
    m.order = {MdsSection::Bones, MdsSection::Tags, MdsSection::Surfaces, MdsSection::Frames};
    MdsImage img = writeMds(m);
    Bytes& b = img.bytes;
    const std::size_t frameSize = sizeof(formats::MdsFrame) + m.bones.size() * sizeof(formats::CompressedBoneFrame);
    const std::size_t last = b.size() - frameSize;
    const auto extra = static_cast<std::size_t>(frames) - m.frames.size();
    b.resize(b.size() + extra * frameSize);
    for (std::size_t k = 1; k <= extra; ++k) std::memcpy(b.data() + last + k * frameSize, b.data() + last, frameSize);
    put<std::int32_t>(b, offsetof(formats::MdsHeader, NumFrames), frames);
    put<std::int32_t>(b, offsetof(formats::MdsHeader, OffsetEnd), static_cast<std::int32_t>(b.size()));
    return b;
}

Bytes sharedListsMdc(int surfaces, int triangles) {
    MdcModel m = sampleMdc();
    m.surfaces.resize(1);
    m.surfaces[0].triangles.assign(static_cast<std::size_t>(triangles), formats::MdcTriangle{{0, 1, 2}});
    MdcImage img = writeMdc(m);
    Bytes& b = img.bytes;
    const std::int64_t first = img.surfaces[0].header;
    static constexpr std::int32_t formats::MdcSurface::*kOffsets[] = {
        &formats::MdcSurface::OffsetTriangles,      &formats::MdcSurface::OffsetShaders,
        &formats::MdcSurface::OffsetTexCoords,      &formats::MdcSurface::OffsetBaseVertices,
        &formats::MdcSurface::OffsetCompVertices, &formats::MdcSurface::OffsetFrameBaseFrames,
        &formats::MdcSurface::OffsetFrameCompFrames};
    put<std::int32_t>(b, offsetof(formats::MdcHeader, NumSurfaces), surfaces);
    put<std::int32_t>(b, first + offsetof(formats::MdcSurface, OffsetEnd), static_cast<std::int32_t>(b.size() - first));
    for (int i = 1; i < surfaces; ++i)
        appendAlias(b, first, kOffsets, std::size(kOffsets), &formats::MdcSurface::OffsetEnd,
                    static_cast<std::int32_t>(sizeof(formats::MdcSurface)));
    return b;
}

Bytes manySurfacesMds(int surfaces) { return writeMds(syntheticMds(surfaces, 3, 1, 1, 1)).bytes; }

std::string longSkin(int lines) {
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * 56);
    for (int i = lines - 1; i >= 0; --i) {
        const std::string n = std::to_string(i);
        text += "surface" + n + ",models/players/synthetic/t" + n + ".tga\r\n";
    }
    return text;
}

}  // namespace mg
