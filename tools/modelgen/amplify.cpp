#include "modelgen/amplify.h"

#include <cstddef>

#include "modelgen/md3_writer.h"
#include "modelgen/mdc_writer.h"
#include "modelgen/mdm_writer.h"
#include "modelgen/mds_writer.h"
#include "modelgen/mdx_writer.h"
#include "modelgen/samples.h"

namespace mg {

namespace {

// A copy of the record (a surface header, an MDM tag) at `from`, appended
// to the image, whose list offsets point at the original's lists. Returns
// its position.
template <class Record, std::size_t N>
std::int64_t appendAlias(Bytes& bytes, std::int64_t from, std::int32_t Record::*const (&offsets)[N],
                         std::int32_t Record::*offsetEnd, std::int32_t end) {
    Record s;
    std::memcpy(&s, bytes.data() + from, sizeof s);
    const auto at = static_cast<std::int64_t>(bytes.size());
    for (auto offset : offsets) s.*offset = static_cast<std::int32_t>(from + s.*offset - at);
    s.*offsetEnd = end;
    append(bytes, s);
    return at;
}

// Makes the record at `first` (with its lists, the last thing in the
// image) the first of `count`: its OffsetEnd leads to count - 1 copies of
// it appended after it, each pointing at its lists and each OffsetEnd the
// size of the record. Stores the count at countAt.
template <class Record, std::size_t N>
void shareLists(Bytes& b, std::int64_t first, int count, std::int64_t countAt,
                std::int32_t Record::*const (&offsets)[N], std::int32_t Record::*offsetEnd) {
    put<std::int32_t>(b, countAt, count);
    Record s;
    std::memcpy(&s, b.data() + first, sizeof s);
    s.*offsetEnd = static_cast<std::int32_t>(static_cast<std::int64_t>(b.size()) - first);
    put(b, first, s);
    for (int i = 1; i < count; ++i) appendAlias(b, first, offsets, offsetEnd, static_cast<std::int32_t>(sizeof s));
}

// The record at `at` names itself as the next one (OffsetEnd 0), and the
// header says there are `count` of them.
template <class Record>
void loopBack(Bytes& b, std::int64_t at, int count, std::int64_t countAt, std::int32_t Record::*offsetEnd) {
    put<std::int32_t>(b, countAt, count);
    Record s;
    std::memcpy(&s, b.data() + at, sizeof s);
    s.*offsetEnd = 0;
    put(b, at, s);
}

// One surface named "shared": `vertices` vertices on bone 0, `triangles`
// triangles over the first three.
template <class Surface>
Surface oneSurface(int triangles, int vertices = 3) {
    Surface d;
    d.name = "shared";
    for (int v = 0; v < vertices; ++v) {
        typename decltype(d.vertices)::value_type vd;
        vd.weights.push_back({0, 1.0f, {static_cast<float>(v), 0.0f, 0.0f}});
        d.vertices.push_back(vd);
    }
    d.triangles.assign(static_cast<std::size_t>(triangles), formats::MdsTriangle{{0, 1, 2}});
    d.boneRefs = {0};
    return d;
}

MdsModel oneSurfaceMds(int triangles) {
    MdsModel m;
    m.name = "amplify";
    m.bones = {{"root", -1, 0.0f, 0.0f, 0}};
    m.frames.resize(1);
    m.order = {MdsSection::Frames, MdsSection::Bones, MdsSection::Tags, MdsSection::Surfaces};
    m.surfaces.push_back(oneSurface<MdsSurfaceDesc>(triangles));
    return m;
}

// An MDM file of one such surface after one tag on bone 0.
MdmModel oneSurfaceMdm(int triangles, int vertices = 3) {
    MdmModel m;
    m.name = "amplify";
    m.order = {MdmSection::Tags, MdmSection::Surfaces};
    m.surfaces.push_back(oneSurface<MdmSurfaceDesc>(triangles, vertices));
    MdmTagDesc tag;
    tag.name = "tag_shared";
    tag.boneRefs = {0};
    m.tags.push_back(tag);
    return m;
}

constexpr std::int32_t formats::MdsSurface::*kMdsOffsets[] = {
    &formats::MdsSurface::OffsetVertices, &formats::MdsSurface::OffsetTriangles,
    &formats::MdsSurface::OffsetCollapseMap, &formats::MdsSurface::OffsetBoneRefs, &formats::MdsSurface::OffsetHeader};

// Stores the image's size as the header's OffsetEnd.
template <class Header>
void storeEnd(Bytes& b, std::int32_t Header::*offsetEnd) {
    Header h;
    std::memcpy(&h, b.data(), sizeof h);
    h.*offsetEnd = static_cast<std::int32_t>(b.size());
    put(b, 0, h);
}

// One MD3 surface of three vertices in `frames` frames and `triangles`
// triangles, after the frame records.
Md3Image oneSurfaceMd3(int triangles, int frames) {
    Md3Model m;
    m.name = "amplify";
    Md3SurfaceDesc d;
    d.name = "shared";
    d.shaders = {{"models/amplify/shared.tga", 0}};
    d.triangles.assign(static_cast<std::size_t>(triangles), formats::Md3Triangle{{0, 1, 2}});
    d.texCoords = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}};
    for (int f = 0; f < frames; ++f) {
        const auto z = static_cast<float>(f % 64);
        const std::array<float, 3> up{0.0f, 0.0f, 1.0f};
        d.frames.push_back({md3Vertex({0.0f, 0.0f, z}, up), md3Vertex({8.0f, 0.0f, z}, up), md3Vertex({0.0f, 8.0f, z}, up)});
        Md3FrameDesc frame;
        frame.bboxMax = {8.0f, 8.0f, z};
        frame.bboxMin = {0.0f, 0.0f, z};
        frame.radius = 8.0f + z;
        frame.name = "f" + std::to_string(f);
        m.frames.push_back(frame);
    }
    m.surfaces.push_back(d);
    return writeMd3(m);
}

constexpr std::int32_t formats::Md3Surface::*kMd3Offsets[] = {
    &formats::Md3Surface::OffsetTriangles, &formats::Md3Surface::OffsetShaders,
    &formats::Md3Surface::OffsetTexCoords, &formats::Md3Surface::OffsetXyzNormals};

// The image's only surface (its last record) shared by `surfaces` surface
// headers, the header's OffsetEnd the new size.
template <class Header, class Image, class Surface, std::size_t N>
Bytes shareSurface(Image img, int surfaces, std::int32_t Surface::*const (&offsets)[N]) {
    shareLists(img.bytes, img.surfaces[0].header, surfaces, offsetof(Header, NumSurfaces), offsets,
               &Surface::OffsetEnd);
    storeEnd(img.bytes, &Header::OffsetEnd);
    return img.bytes;
}

}  // namespace

Bytes sharedListsMds(int surfaces, int triangles) {
    return shareSurface<formats::MdsHeader>(writeMds(oneSurfaceMds(triangles)), surfaces, kMdsOffsets);
}

Bytes sharedHeaderMds(int surfaces) {
    MdsImage img = writeMds(oneSurfaceMds(1));
    loopBack(img.bytes, img.surfaces[0].header, surfaces, offsetof(formats::MdsHeader, NumSurfaces),
             &formats::MdsSurface::OffsetEnd);
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
    static constexpr std::int32_t formats::MdcSurface::*kOffsets[] = {
        &formats::MdcSurface::OffsetTriangles,      &formats::MdcSurface::OffsetShaders,
        &formats::MdcSurface::OffsetTexCoords,      &formats::MdcSurface::OffsetBaseVertices,
        &formats::MdcSurface::OffsetCompVertices, &formats::MdcSurface::OffsetFrameBaseFrames,
        &formats::MdcSurface::OffsetFrameCompFrames};
    shareLists(img.bytes, img.surfaces[0].header, surfaces, offsetof(formats::MdcHeader, NumSurfaces), kOffsets,
               &formats::MdcSurface::OffsetEnd);
    return img.bytes;
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

Bytes sharedListsMd3(int surfaces, int triangles, int frames) {
    return shareSurface<formats::Md3Header>(oneSurfaceMd3(triangles, frames), surfaces, kMd3Offsets);
}

Bytes sharedHeaderMd3(int surfaces) {
    Md3Image img = oneSurfaceMd3(1, 1);
    loopBack(img.bytes, img.surfaces[0].header, surfaces, offsetof(formats::Md3Header, NumSurfaces),
             &formats::Md3Surface::OffsetEnd);
    return img.bytes;
}

Bytes sharedListsMdm(int surfaces, int triangles) {
    return shareSurface<formats::MdmHeader>(writeMdm(oneSurfaceMdm(triangles)), surfaces, kMdsOffsets);
}

Bytes sharedHeaderMdm(int surfaces, int tags) {
    MdmImage img = writeMdm(oneSurfaceMdm(1));
    loopBack(img.bytes, img.surfaces[0].header, surfaces, offsetof(formats::MdmHeader, NumSurfaces),
             &formats::MdmSurface::OffsetEnd);
    loopBack(img.bytes, img.tags[0].at, tags, offsetof(formats::MdmHeader, NumTags), &formats::MdmTag::OffsetEnd);
    return img.bytes;
}

Bytes sharedTagRefsMdm(int tags, int refs) {
    MdmModel m = oneSurfaceMdm(1);
    m.order = {MdmSection::Surfaces, MdmSection::Tags};
    m.tags[0].boneRefs.resize(static_cast<std::size_t>(refs));
    for (int r = 0; r < refs; ++r) m.tags[0].boneRefs[static_cast<std::size_t>(r)] = r % 128;
    MdmImage img = writeMdm(m);
    static constexpr std::int32_t formats::MdmTag::*kOffsets[] = {&formats::MdmTag::OffsetBoneRefs};
    shareLists(img.bytes, img.tags[0].at, tags, offsetof(formats::MdmHeader, NumTags), kOffsets,
               &formats::MdmTag::OffsetEnd);
    storeEnd(img.bytes, &formats::MdmHeader::OffsetEnd);
    return img.bytes;
}

Bytes collapseChainMdm(int surfaces, int vertices) {
    MdmModel m = oneSurfaceMdm(0, vertices);
    for (std::int32_t t = 0; t + 2 < vertices; ++t) m.surfaces[0].triangles.push_back({{t, t + 1, t + 2}});
    // The collapse map's default: each vertex onto the one before.
    return shareSurface<formats::MdmHeader>(writeMdm(m), surfaces, kMdsOffsets);
}

Bytes boneChainMdx(int bones, int frames) {
    MdxModel m;
    m.name = "amplify";
    m.torsoParent = bones / 2;
    for (int b = 0; b < bones; ++b) m.bones.push_back({"bone" + std::to_string(b), b - 1, 0.5f, 1.0f, 0});
    for (int f = 0; f < frames; ++f) {
        MdxFrameDesc frame;
        frame.radius = static_cast<float>(bones);
        const auto a = static_cast<std::int16_t>(f * 512);
        frame.boneFrames.assign(static_cast<std::size_t>(bones), formats::CompressedBoneFrame{a, a, 0, 0, a, 0});
        m.frames.push_back(frame);
    }
    return writeMdx(m).bytes;
}

}  // namespace mg
