// The amplifying shapes of MD3, MDM and MDX are what they claim: many
// records that all lead to one list (or to themselves) in a file that stays
// small, so the limits tests and fuzz seeds built on them measure what they
// mean to.
#include <gtest/gtest.h>

#include <cstddef>
#include <set>

#include "formats/md3_layout.h"
#include "formats/mdm_layout.h"
#include "formats/mdx_layout.h"
#include "modelgen/amplify.h"

namespace {

// The records of a chain from `first`, each OffsetEnd on, with the absolute
// position of the list `offset` names in each (relative to the record).
template <class Record>
struct Chain {
    std::vector<std::int64_t> at;
    std::set<std::int64_t> lists;
    std::int64_t end = 0;
};

template <class Record>
Chain<Record> walk(const mg::Bytes& b, std::int64_t first, int count, std::int32_t Record::*offset) {
    const formats::ByteView v(b.data(), b.size());
    Chain<Record> c;
    c.end = first;
    for (int i = 0; i < count; ++i) {
        const auto r = v.tryRead<Record>(c.end);
        if (!r) break;
        c.at.push_back(c.end);
        c.lists.insert(c.end + (*r).*offset);
        c.end += r->OffsetEnd;
    }
    return c;
}

template <class Header>
Header header(const mg::Bytes& b) {
    return formats::ByteView(b.data(), b.size()).read<Header>(0);
}

TEST(AmplifyingShapes, Md3SurfacesShareOneSetOfLists) {
    const auto b = mg::sharedListsMd3(50, 1000, 8);
    const auto h = header<formats::Md3Header>(b);
    EXPECT_EQ(h.NumSurfaces, 50);
    EXPECT_EQ(h.NumFrames, 8);
    EXPECT_EQ(h.OffsetEnd, static_cast<std::int32_t>(b.size()));
    for (auto list : {&formats::Md3Surface::OffsetTriangles, &formats::Md3Surface::OffsetXyzNormals,
                      &formats::Md3Surface::OffsetTexCoords, &formats::Md3Surface::OffsetShaders}) {
        const auto c = walk(b, h.OffsetSurfaces, h.NumSurfaces, list);
        EXPECT_EQ(c.at.size(), 50u);
        EXPECT_EQ(c.lists.size(), 1u);
        EXPECT_EQ(c.end, static_cast<std::int64_t>(b.size()));
    }
    // 50 x 1000 triangles declared (600 KB) from a file of 18 KB.
    EXPECT_LT(b.size(), 1000u * 12 + 8 * (56 + 3 * 8) + 50 * 108 + 400);

    const auto loop = mg::sharedHeaderMd3(0x7FFFFFFF);
    const auto lh = header<formats::Md3Header>(loop);
    EXPECT_EQ(lh.NumSurfaces, 0x7FFFFFFF);
    EXPECT_EQ(formats::ByteView(loop.data(), loop.size()).read<formats::Md3Surface>(lh.OffsetSurfaces).OffsetEnd, 0);
}

TEST(AmplifyingShapes, MdmSurfacesAndTagsShareOneList) {
    const auto lists = mg::sharedListsMdm(40, 500);
    const auto h = header<formats::MdmHeader>(lists);
    EXPECT_EQ(h.OffsetEnd, static_cast<std::int32_t>(lists.size()));
    const auto c = walk(lists, h.OffsetSurfaces, h.NumSurfaces, &formats::MdmSurface::OffsetTriangles);
    EXPECT_EQ(c.at.size(), 40u);
    EXPECT_EQ(c.lists.size(), 1u);
    for (auto at : c.at)  // every alias still leads back to the file's start
        EXPECT_EQ(formats::ByteView(lists.data(), lists.size()).read<formats::MdmSurface>(at).OffsetHeader, -at);

    const auto refs = mg::sharedTagRefsMdm(100, 5000);
    const auto th = header<formats::MdmHeader>(refs);
    const auto tags = walk(refs, th.OffsetTags, th.NumTags, &formats::MdmTag::OffsetBoneRefs);
    EXPECT_EQ(tags.at.size(), 100u);
    EXPECT_EQ(tags.lists.size(), 1u);
    EXPECT_EQ(tags.end, static_cast<std::int64_t>(refs.size()));
    EXPECT_LT(refs.size(), 5000u * 4 + 100 * 128 + 1000);  // 2 MB of references declared

    const auto loop = mg::sharedHeaderMdm(1000, 2000);
    const auto lh = header<formats::MdmHeader>(loop);
    EXPECT_EQ(lh.NumSurfaces, 1000);
    EXPECT_EQ(lh.NumTags, 2000);
    EXPECT_EQ(walk(loop, lh.OffsetTags, 5, &formats::MdmTag::OffsetBoneRefs).end, lh.OffsetTags);
    EXPECT_EQ(walk(loop, lh.OffsetSurfaces, 5, &formats::MdmSurface::OffsetVertices).end, lh.OffsetSurfaces);
}

TEST(AmplifyingShapes, ChainsOfCollapsesAndBones) {
    const auto collapse = mg::collapseChainMdm(20, 500);
    const formats::ByteView v(collapse.data(), collapse.size());
    const auto h = v.read<formats::MdmHeader>(0);
    const auto c = walk(collapse, h.OffsetSurfaces, h.NumSurfaces, &formats::MdmSurface::OffsetCollapseMap);
    ASSERT_EQ(c.at.size(), 20u);
    ASSERT_EQ(c.lists.size(), 1u);
    const auto s = v.read<formats::MdmSurface>(c.at.back());
    EXPECT_EQ(s.NumVertices, 500);
    EXPECT_EQ(s.NumTriangles, 498);
    for (std::int32_t j = 1; j < 500; ++j) EXPECT_EQ(v.read<std::int32_t>(*c.lists.begin() + 4 * j), j - 1);

    const auto bones = mg::boneChainMdx(300, 4);
    const formats::ByteView bv(bones.data(), bones.size());
    const auto xh = bv.read<formats::MdxHeader>(0);
    EXPECT_EQ(bones.size(), 96u + 4 * (52 + 12 * 300) + 80 * 300);
    for (std::int32_t b = 0; b < 300; ++b) EXPECT_EQ(bv.read<formats::MdxBone>(xh.OffsetBones + 80 * b).ParentIndex, b - 1);
}

}  // namespace
