// The MDS index on valid files of several layouts, and what the viewer needs
// of it (Reader::Draw) beyond the walk (Reader::Walk).
#include <gtest/gtest.h>

#include <cstddef>

#include "formats/mds_index.h"
#include "modelgen/samples.h"

namespace {

formats::ByteView view(const mg::Bytes& b) { return formats::ByteView(b.data(), b.size()); }
formats::MdsIndex walked(const mg::Bytes& b) { return formats::indexMds(view(b), formats::Reader::Walk); }
bool drawable(const mg::Bytes& b) { return formats::indexMds(view(b), formats::Reader::Draw).ok(); }

// Every position resolve yields equals where the writer put the record.
void expectPositionsMatch(const mg::MdsImage& img) {
    const auto p = walked(img.bytes);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.frames.at, img.frames);
    EXPECT_EQ(p.bones.at, img.bones);
    EXPECT_EQ(p.tags.at, img.tags);
    ASSERT_EQ(p.surfaces.size(), img.surfaces.size());
    for (std::size_t i = 0; i < img.surfaces.size(); ++i) {
        EXPECT_EQ(p.surfaces[i].at, img.surfaces[i].header) << i;
        EXPECT_EQ(p.surfaces[i].firstVertex, img.surfaces[i].vertices) << i;
        ASSERT_EQ(p.surfaces[i].vertices.size(), img.surfaces[i].vertex.size()) << i;
        for (std::size_t v = 0; v < img.surfaces[i].vertex.size(); ++v)
            EXPECT_EQ(p.surfaces[i].vertices[v], img.surfaces[i].vertex[v]) << i << " " << v;
        EXPECT_EQ(p.surfaces[i].triangles.at, img.surfaces[i].triangles) << i;
        EXPECT_EQ(p.surfaces[i].collapseMap.at, img.surfaces[i].collapseMap) << i;
        EXPECT_EQ(p.surfaces[i].boneRefs.at, img.surfaces[i].boneRefs) << i;
    }
    EXPECT_TRUE(drawable(img.bytes));
}

TEST(MdsIndex, SampleModelPositions) {
    const auto img = mg::writeMds(mg::sampleMds());
    expectPositionsMatch(img);
    const auto p = walked(img.bytes);
    EXPECT_EQ(p.frameSize, 52 + 12 * 4);
    EXPECT_EQ(p.frame(2), img.frames + 2 * p.frameSize);
    EXPECT_EQ(p.boneFrame(1, 3), img.frames + p.frameSize + 52 + 36);
    EXPECT_EQ(p.bone(3), img.bones + 240);
    EXPECT_EQ(p.tag(1), img.tags + 72);
    // The ident read as a signed number.
    EXPECT_EQ(view(img.bytes).read<std::int32_t>(0), 1465074765);
}

TEST(MdsIndex, OtherSectionOrderAndGapsUseOnlyOffsets) {
    auto m = mg::sampleMds();
    m.order = {mg::MdsSection::Tags, mg::MdsSection::Surfaces, mg::MdsSection::Bones, mg::MdsSection::Frames};
    m.gapBefore = {13, 7, 29, 3};
    m.gapAtEnd = 11;
    m.surfaces[0].gapAfterHeader = 9;
    m.surfaces[0].gapAfter = 17;
    m.surfaces[1].gapAfterHeader = 1;
    expectPositionsMatch(mg::writeMds(m));

    // Version is not looked at by resolve.
    m.version = 3;
    expectPositionsMatch(mg::writeMds(m));
}

TEST(MdsIndex, ZeroCountsGiveEmptyLists) {
    mg::MdsModel m;
    m.name = "empty";
    const auto img = mg::writeMds(m);
    ASSERT_EQ(img.bytes.size(), 120u);
    const auto p = walked(img.bytes);
    ASSERT_TRUE(p.ok());
    EXPECT_TRUE(p.surfaces.empty());
    EXPECT_EQ(p.frameSize, 52);
    EXPECT_TRUE(drawable(img.bytes));

    // Frames of a model with no bones are 52 bytes; a surface with no lists.
    m.frames.resize(3);
    m.surfaces.resize(1);
    const auto img2 = mg::writeMds(m);
    EXPECT_EQ(img2.bones - img2.frames, 3 * 52);
    expectPositionsMatch(img2);
}

TEST(MdsIndex, VertexWithoutWeightsIsThirtyTwoBytes) {
    // The surface is the last thing in the file and ends with its vertices;
    // a walk that took a weightless vertex for anything but 32 bytes would
    // read the final vertex's NumWeights from the wrong place or outside.
    mg::MdsModel m;
    m.bones = {{"b"}};
    mg::MdsSurfaceDesc s;
    s.name = "s";
    s.vertices.resize(3);
    s.vertices[2].weights = {{0, 1.0f, {0, 0, 0}}};
    s.vertices[1].numWeights = 0;
    m.surfaces = {s};
    m.order = {mg::MdsSection::Frames, mg::MdsSection::Bones, mg::MdsSection::Tags, mg::MdsSection::Surfaces};
    auto img = mg::writeMds(m);
    EXPECT_EQ(img.surfaces[0].vertex[1] - img.surfaces[0].vertex[0], 32);
    // Move the collapse map and triangles in front so the vertices end the file.
    const auto hdr = img.surfaces[0].header;
    mg::put<std::int32_t>(img.bytes, hdr + offsetof(formats::MdsSurface, OffsetTriangles), 0);
    mg::put<std::int32_t>(img.bytes, hdr + offsetof(formats::MdsSurface, OffsetCollapseMap), 0);
    img.bytes.resize(static_cast<std::size_t>(img.surfaces[0].vertex[2] + 32 + 20));
    EXPECT_TRUE(walked(img.bytes).ok());
    EXPECT_TRUE(drawable(img.bytes));
    img.bytes.pop_back();  // the last weight now sticks out by one byte
    EXPECT_TRUE(walked(img.bytes).ok());
    EXPECT_FALSE(drawable(img.bytes));
}

TEST(MdsIndex, NamesOfSixtyFourCharactersStopAtTheField) {
    const auto bytes = mg::damagedMds(mg::MdsDamage::UnterminatedNames);
    const auto p = walked(bytes);
    ASSERT_TRUE(p.ok());
    const auto bone = view(bytes).read<formats::MdsBone>(p.bone(0));
    EXPECT_EQ(formats::nameOf(bone.Name), std::string(64, 'N'));
    const auto h = view(bytes).read<formats::MdsHeader>(0);
    EXPECT_EQ(formats::nameOf(h.Name), std::string(64, 'N'));
    const auto surf = view(bytes).read<formats::MdsSurface>(p.surfaces[0].at);
    EXPECT_EQ(formats::nameOf(surf.Name), std::string(64, 'N'));  // Shader follows directly
}

TEST(MdsIndex, WeightsPastTheEndResolveButAreNotInside) {
    const auto bytes = mg::damagedMds(mg::MdsDamage::WeightsPastEnd);
    const auto p = walked(bytes);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.surfaces.size(), 2u);
    EXPECT_FALSE(drawable(bytes));
}

TEST(MdsIndexDraw, EachListTheViewerReadsIsChecked) {
    const auto good = mg::writeMds(mg::sampleMds());
    const auto p = walked(good.bytes);
    auto check = [&](auto&& damage) {
        mg::Bytes b = good.bytes;
        damage(b);
        return drawable(b);
    };
    using formats::MdsHeader;
    using formats::MdsSurface;
    // Frames one record too many, bones moved past the end, a triangle list
    // that sticks out, a weight list pushed out by a bigger count.
    EXPECT_FALSE(check([&](mg::Bytes& b) {
        mg::put<std::int32_t>(b, offsetof(MdsHeader, OffsetFrames),
                              static_cast<std::int32_t>(b.size() - 2 * p.frameSize));
    }));
    EXPECT_FALSE(check([&](mg::Bytes& b) {
        mg::put<std::int32_t>(b, offsetof(MdsHeader, OffsetBones), static_cast<std::int32_t>(b.size()) - 80 * 3);
    }));
    EXPECT_FALSE(check([&](mg::Bytes& b) {
        mg::put<std::int32_t>(b, good.surfaces[1].header + offsetof(MdsSurface, OffsetTriangles),
                              static_cast<std::int32_t>(b.size() - good.surfaces[1].header) - 12);
    }));
    EXPECT_FALSE(check([&](mg::Bytes& b) {
        mg::put<std::int32_t>(b, good.surfaces[0].vertex[3] + offsetof(formats::MdsVertex, NumWeights), 100000);
    }));
    // Collapse map and bone references are not read by the viewer.
    EXPECT_TRUE(check([&](mg::Bytes& b) {
        mg::put<std::int32_t>(b, good.surfaces[0].header + offsetof(MdsSurface, OffsetBoneRefs), 1 << 30);
        mg::put<std::int32_t>(b, good.surfaces[0].header + offsetof(MdsSurface, OffsetCollapseMap), -(1 << 30));
    }));
}

}  // namespace
