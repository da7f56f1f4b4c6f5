// The MD3, MDM and MDX writers: read back through the layout records, every
// file gives the description it was written from (writing that again gives
// the same bytes) and the records lie where the writer's image says, in any
// section order and with gaps anywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "mkplayer/split_body.h"
#include "modelgen/samples.h"
#include "readback.h"

namespace {

template <class Image>
std::vector<std::int64_t> where(const Image& img);

template <>
std::vector<std::int64_t> where(const mg::Md3Image& img) {
    std::vector<std::int64_t> at{img.frames, img.tags, img.surfacesStart};
    for (const auto& s : img.surfaces)
        at.insert(at.end(), {s.header, s.shaders, s.triangles, s.texCoords, s.xyzNormals, s.end});
    return at;
}

template <>
std::vector<std::int64_t> where(const mg::MdmImage& img) {
    std::vector<std::int64_t> at{img.surfacesStart, img.tagsStart};
    for (const auto& s : img.surfaces) {
        at.insert(at.end(), {s.header, s.vertices, s.triangles, s.collapseMap, s.boneRefs, s.end});
        at.insert(at.end(), s.vertex.begin(), s.vertex.end());
    }
    for (const auto& t : img.tags) at.insert(at.end(), {t.at, t.boneRefs, t.end});
    return at;
}

template <>
std::vector<std::int64_t> where(const mg::MdxImage& img) {
    return {img.frames, img.bones};
}

// A packed normal as the format decodes it.
std::array<float, 3> normalOf(std::uint16_t packed) {
    const float lat = static_cast<float>(packed >> 8) * 6.2831853f / 256.0f;
    const float lng = static_cast<float>(packed & 255) * 6.2831853f / 256.0f;
    return {std::cos(lat) * std::sin(lng), std::sin(lat) * std::sin(lng), std::cos(lng)};
}

float dot(const std::array<float, 3>& a, const std::array<float, 3>& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Read back, the same positions; written again, the same bytes.
template <class Model, class Image, class Write, class ReadBack>
void expectRoundTrip(const Model& model, Write write, ReadBack readBack, const char* what) {
    const Image img = write(model);
    const auto read = readBack(img.bytes);
    EXPECT_EQ(where(read.at), where(img)) << what;
    EXPECT_EQ(write(read.model).bytes, img.bytes) << what;
}

void md3RoundTrip(const mg::Md3Model& m, const char* what) {
    expectRoundTrip<mg::Md3Model, mg::Md3Image>(m, mg::writeMd3, readback::md3, what);
}
void mdmRoundTrip(const mg::MdmModel& m, const char* what) {
    expectRoundTrip<mg::MdmModel, mg::MdmImage>(m, mg::writeMdm, readback::mdm, what);
}
void mdxRoundTrip(const mg::MdxModel& m, const char* what) {
    expectRoundTrip<mg::MdxModel, mg::MdxImage>(m, mg::writeMdx, readback::mdx, what);
}

TEST(Md3Writer, SamplesAndLodsRoundTripInAnyLayout) {
    for (int lod = 0; lod <= 3; ++lod) md3RoundTrip(mg::sampleMd3(lod), "sample");
    auto m = mg::sampleMd3();
    m.order = {mg::Md3Section::Surfaces, mg::Md3Section::Frames, mg::Md3Section::Tags};
    m.gapBefore = {3, 5, 7};
    m.gapAtEnd = 2;
    m.surfaces[0].gapAfterHeader = 4;
    m.surfaces[1].gapAfter = 9;
    md3RoundTrip(m, "reordered with gaps");

    const auto img = mg::writeMd3(m);
    const formats::ByteView v(img.bytes.data(), img.bytes.size());
    const auto h = v.read<formats::Md3Header>(0);
    EXPECT_EQ(std::string(h.Id, 4), "IDP3");
    EXPECT_EQ(h.Version, 15);
    EXPECT_EQ(h.NumFrames, 4);
    EXPECT_EQ(h.NumTags, 2);
    EXPECT_EQ(h.OffsetSurfaces, 108 + 7);  // the gap before the surfaces
    EXPECT_EQ(h.OffsetEnd, static_cast<std::int32_t>(img.bytes.size()));
    // Tag 1 of frame 2, frame-major.
    const auto tag = v.read<formats::Md3Tag>(img.tags + (2 * 2 + 1) * 112);
    EXPECT_EQ(formats::nameOf(tag.Name), "tag_eyes");
    EXPECT_EQ(tag.Origin[0], m.frames[2].tags[1].origin[0]);
}

TEST(Md3Writer, StoredOverrides) {
    auto m = mg::sampleMd3();
    m.surfaces[1].numFrames = 9;
    m.surfaces[1].numVertices = 1000;
    m.surfaces[0].offsetEnd = 0;
    m.frames[0].name = std::string(20, 'f');
    const auto img = mg::writeMd3(m);
    const formats::ByteView v(img.bytes.data(), img.bytes.size());
    const auto s1 = v.read<formats::Md3Surface>(img.surfaces[1].header);
    EXPECT_EQ(s1.NumFrames, 9);
    EXPECT_EQ(s1.NumVertices, 1000);
    EXPECT_EQ(img.surfaces[1].end - img.surfaces[1].xyzNormals, 4 * 26 * 8);  // only the given frames written
    EXPECT_EQ(v.read<formats::Md3Surface>(img.surfaces[0].header).OffsetEnd, 0);
    EXPECT_EQ(std::string(v.read<formats::Md3Frame>(img.frames).Name, 16), std::string(16, 'f'));
}

TEST(Md3Writer, PackedNormalsAndUnits) {
    EXPECT_EQ(mg::md3Normal({0.0f, 0.0f, 1.0f}), 0);
    EXPECT_EQ(mg::md3Normal({0.0f, 0.0f, -1.0f}), 128);
    EXPECT_EQ(mg::md3Normal({1.0f, 0.0f, 0.0f}), 64);           // lng 90 degrees
    EXPECT_EQ(mg::md3Normal({0.0f, -2.0f, 0.0f}), 192 << 8 | 64);  // lat -90 degrees, any length
    // Decoded as the format says, every direction comes back within a step.
    for (float x = -1.0f; x <= 1.0f; x += 0.25f)
        for (float y = -1.0f; y <= 1.0f; y += 0.25f) {
            const std::array<float, 3> n{x, y, 0.6f};
            EXPECT_GT(dot(normalOf(mg::md3Normal(n)), n), std::cos(0.025f) * std::sqrt(dot(n, n))) << x << " " << y;
        }
    EXPECT_EQ(mg::md3Units(1.0f), 64);
    EXPECT_EQ(mg::md3Units(-0.5f), -32);
    EXPECT_EQ(mg::md3Units(1e6f), 32767);
}

// The sample and its LOD files as a checker sees them: frame counts agree,
// each LOD smaller, every index in range, positions inside the frame's
// bounds, every triangle wound clockwise seen from outside.
TEST(Md3Samples, LodsAndGeometry) {
    const auto lod0 = mg::sampleMd3();
    for (int lod = 0; lod <= 3; ++lod) {
        const auto m = mg::sampleMd3(lod);
        ASSERT_EQ(m.frames.size(), lod0.frames.size());
        for (std::size_t s = 0; s < m.surfaces.size(); ++s) {
            const auto& surface = m.surfaces[s];
            if (lod > 0) {
                EXPECT_LT(surface.texCoords.size(), mg::sampleMd3(lod - 1).surfaces[s].texCoords.size());
            }
            ASSERT_EQ(surface.frames.size(), m.frames.size());
            for (std::size_t f = 0; f < m.frames.size(); ++f) {
                const auto& frame = m.frames[f];
                EXPECT_NE(frame.radius, 1.0f);
                for (const auto& v : surface.frames[f])
                    for (int c = 0; c < 3; ++c) {
                        EXPECT_GE(v.xyz[c] / 64.0f, frame.bboxMin[c]);
                        EXPECT_LE(v.xyz[c] / 64.0f, frame.bboxMax[c]);
                    }
            }
            const auto& p = surface.frames[0];
            for (const auto& t : surface.triangles) {
                for (auto i : t.Indices) ASSERT_TRUE(i >= 0 && i < static_cast<int>(p.size()));
                std::array<float, 3> e[2], face, out{};
                for (std::size_t c = 0; c < 3; ++c) {
                    e[0][c] = static_cast<float>(p[t.Indices[1]].xyz[c] - p[t.Indices[0]].xyz[c]);
                    e[1][c] = static_cast<float>(p[t.Indices[2]].xyz[c] - p[t.Indices[0]].xyz[c]);
                }
                for (std::size_t c = 0; c < 3; ++c)
                    face[c] = e[0][(c + 1) % 3] * e[1][(c + 2) % 3] - e[0][(c + 2) % 3] * e[1][(c + 1) % 3];
                for (auto i : t.Indices)
                    for (std::size_t c = 0; c < 3; ++c) out[c] += normalOf(p[i].Normal)[c];
                EXPECT_LT(dot(face, out), 0.0f) << surface.name;  // the right-hand normal points in
            }
        }
    }
}

TEST(MdmWriter, BodyRoundTripsInAnyLayout) {
    mdmRoundTrip(mp::bodyMdm(), "body");
    auto m = mp::bodyMdm();
    m.order = {mg::MdmSection::Tags, mg::MdmSection::Surfaces};
    m.gapBefore = {6, 2};
    m.gapAtEnd = 3;
    m.surfaces[2].gapAfterHeader = 12;
    m.surfaces[0].gapAfter = 1;
    m.tags[4].gapAfter = 5;
    mdmRoundTrip(m, "reordered with gaps");
}

TEST(MdmWriter, DefaultsAndStoredOverrides) {
    mg::MdmModel m;
    mg::MdmSurfaceDesc s;
    s.vertices.resize(4);
    s.vertices[1].weights = {{3, 1.0f, {1.0f, 2.0f, 3.0f}}};
    s.vertices[2].numWeights = 50;
    s.collapseMap = {0, 0};
    m.surfaces = {s};
    mg::MdmTagDesc t;
    t.boneRefs = {0, 1, 2};
    t.offsetEnd = 0;
    m.tags = {t};
    const auto img = mg::writeMdm(m);
    const formats::ByteView v(img.bytes.data(), img.bytes.size());
    const auto h = v.read<formats::MdmHeader>(0);
    EXPECT_EQ(std::string(h.Id, 4), "MDMW");
    EXPECT_EQ(h.Version, 3);
    const auto& at = img.surfaces[0];
    const auto sh = v.read<formats::MdmSurface>(at.header);
    EXPECT_EQ(sh.Id, 9);
    EXPECT_EQ(sh.OffsetHeader, -at.header);
    EXPECT_EQ(at.vertex[2] - at.vertex[1], 24 + 20);
    EXPECT_EQ(v.read<formats::MdmVertex>(at.vertex[2]).NumWeights, 50);
    EXPECT_EQ(v.read<formats::MdmWeight>(at.vertex[1] + 24).BoneIndex, 3);
    for (int j = 0; j < 4; ++j)  // given 0, 0; then the default j - 1
        EXPECT_EQ(v.read<std::int32_t>(at.collapseMap + 4 * j), j < 2 ? 0 : j - 1);
    const auto tag = v.read<formats::MdmTag>(img.tags[0].at);
    EXPECT_EQ(tag.OffsetEnd, 0);
    EXPECT_EQ(tag.NumBoneRefs, 3);
    EXPECT_EQ(v.read<std::int32_t>(img.tags[0].at + tag.OffsetBoneRefs + 8), 2);
    EXPECT_EQ(tag.Axis[4], 1.0f);
}

TEST(MdxWriter, WalkRoundTripsInAnyLayout) {
    const auto walk = mp::walkMdx();
    mdxRoundTrip(walk, "walk");
    auto m = walk;
    m.order = {mg::MdxSection::Bones, mg::MdxSection::Frames};
    m.gapBefore = {1, 4};
    m.gapAtEnd = 7;
    mdxRoundTrip(m, "reordered with gaps");
    const auto img = mg::writeMdx(m);
    const formats::ByteView v(img.bytes.data(), img.bytes.size());
    const auto h = v.read<formats::MdxHeader>(0);
    EXPECT_EQ(std::string(h.Id, 4), "MDXW");
    EXPECT_EQ(h.Version, 2);
    EXPECT_EQ(h.OffsetBones, 96 + 4);
    EXPECT_EQ(h.OffsetFrames, 96 + 4 + 56 * 80 + 1);
    EXPECT_EQ(h.OffsetEnd, static_cast<std::int32_t>(img.bytes.size()));
    // Frame 7, bone 30.
    const auto bone = v.read<formats::MdxBoneFrame>(img.frames + 7 * formats::mdsFrameSize(56) + 52 + 30 * 12);
    EXPECT_EQ(bone.Yaw, walk.frames[7].boneFrames[30].Yaw);
}

// The split body as a checker sees it: weights and tags name bones of the
// MDX, bone references hold every bone the weights name with its
// ancestors, collapse maps and minLod keep the LOD rules.
TEST(SplitBody, MeshAndSkeletonFitTogether) {
    const auto mdm = mp::bodyMdm();
    const auto mdx = mp::walkMdx();
    const auto bones = static_cast<std::int32_t>(mdx.bones.size());
    ASSERT_EQ(bones, 56);
    ASSERT_EQ(mdx.frames.size(), 20u);
    const auto closed = [&](const std::vector<std::int32_t>& refs, std::int32_t bone) {
        for (; bone >= 0; bone = mdx.bones[static_cast<std::size_t>(bone)].parent)
            if (std::find(refs.begin(), refs.end(), bone) == refs.end()) return false;
        return true;
    };
    ASSERT_EQ(mdm.surfaces.size(), 4u);
    for (const auto& s : mdm.surfaces) {
        const auto n = static_cast<std::int32_t>(s.vertices.size());
        EXPECT_TRUE(s.minLod >= 0 && s.minLod <= n);
        ASSERT_EQ(s.collapseMap.size(), s.vertices.size());
        for (std::int32_t j = 1; j < n; ++j) EXPECT_LT(s.collapseMap[static_cast<std::size_t>(j)], j);
        EXPECT_TRUE(std::is_sorted(s.boneRefs.begin(), s.boneRefs.end()));
        for (const auto& v : s.vertices)
            for (const auto& w : v.weights) {
                ASSERT_TRUE(w.BoneIndex >= 0 && w.BoneIndex < bones);
                EXPECT_TRUE(closed(s.boneRefs, w.BoneIndex)) << s.name << " bone " << w.BoneIndex;
            }
        for (const auto& t : s.triangles)
            for (auto i : t.Indices) EXPECT_TRUE(i >= 0 && i < n);
    }
    EXPECT_EQ(mdm.tags.size(), 9u);
    for (const auto& t : mdm.tags) EXPECT_TRUE(closed(t.boneRefs, t.boneIndex)) << t.name;
}

}  // namespace
