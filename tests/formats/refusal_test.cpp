// What the MDS walk refuses: files that are not MDS, negative counts, walks
// that would leave the bytes and counts that could never fit.
#include <gtest/gtest.h>

#include <cstddef>

#include "formats/identify.h"
#include "formats/mds_index.h"
#include "modelgen/amplify.h"
#include "modelgen/samples.h"

namespace {

using formats::MdsHeader;
using formats::MdsSurface;
using formats::MdsVertex;

formats::MdsIndex walk(const mg::Bytes& b) {
    return formats::indexMds(formats::ByteView(b.data(), b.size()), formats::Reader::Walk);
}
bool resolves(const mg::Bytes& b) { return walk(b).ok(); }

TEST(Accept, IdentAndLength) {
    const auto good = mg::writeMds(mg::sampleMds()).bytes;
    EXPECT_TRUE(formats::isMds(formats::ByteView(good.data(), good.size())));
    EXPECT_TRUE(formats::isMds(formats::ByteView(good.data(), 120)));
    EXPECT_FALSE(formats::isMds(formats::ByteView(good.data(), 119)));
    EXPECT_FALSE(formats::isMds(formats::ByteView()));
    EXPECT_FALSE(resolves(mg::damagedMds(mg::MdsDamage::WrongIdent)));
    EXPECT_FALSE(resolves(mg::damagedMds(mg::MdsDamage::Truncated)));
    EXPECT_TRUE(resolves(mg::damagedMds(mg::MdsDamage::Version3)));
    EXPECT_TRUE(resolves(mg::damagedMds(mg::MdsDamage::BadBoneIndices)));
}

TEST(Refuse, NegativeCounts) {
    const auto img = mg::writeMds(mg::sampleMds());
    for (auto field : {offsetof(MdsHeader, NumFrames), offsetof(MdsHeader, NumBones),
                       offsetof(MdsHeader, NumSurfaces), offsetof(MdsHeader, NumTags)}) {
        auto b = img.bytes;
        mg::put<std::int32_t>(b, static_cast<std::int64_t>(field), -1);
        EXPECT_FALSE(resolves(b)) << field;
    }
    for (auto field : {offsetof(MdsSurface, NumVertices), offsetof(MdsSurface, NumTriangles),
                       offsetof(MdsSurface, NumBoneRefs)}) {
        auto b = img.bytes;
        mg::put<std::int32_t>(b, img.surfaces[1].header + static_cast<std::int64_t>(field), -7);
        EXPECT_FALSE(resolves(b)) << field;
    }
    auto b = img.bytes;
    mg::put<std::int32_t>(b, img.surfaces[0].vertex[1] + offsetof(MdsVertex, NumWeights), -1);
    EXPECT_FALSE(resolves(b));
}

TEST(Refuse, WalkLeavingTheBytes) {
    const auto img = mg::writeMds(mg::sampleMds());
    EXPECT_FALSE(resolves(mg::damagedMds(mg::MdsDamage::SurfaceEndOutside)));
    auto b = img.bytes;
    mg::put<std::int32_t>(b, offsetof(MdsHeader, OffsetSurfaces), -4);
    EXPECT_FALSE(resolves(b));
    b = img.bytes;
    mg::put<std::int32_t>(b, offsetof(MdsHeader, OffsetSurfaces), static_cast<std::int32_t>(b.size()) - 175);
    EXPECT_FALSE(resolves(b));
    // A middle vertex whose weights jump past the end: the next NumWeights
    // would be read outside.
    b = img.bytes;
    mg::put<std::int32_t>(b, img.surfaces[0].vertex[1] + offsetof(MdsVertex, NumWeights), 1 << 24);
    EXPECT_FALSE(resolves(b));
    // Vertex 0 placed outside.
    b = img.bytes;
    mg::put<std::int32_t>(b, img.surfaces[0].header + offsetof(MdsSurface, OffsetVertices), -(1 << 20));
    EXPECT_FALSE(resolves(b));
}

TEST(Refuse, HostileCountsAndChains) {
    const auto img = mg::writeMds(mg::sampleMds());
    const auto size = static_cast<std::int32_t>(img.bytes.size());
    auto with = [&](std::int64_t at, std::int32_t value) {
        auto b = img.bytes;
        mg::put<std::int32_t>(b, at, value);
        return b;
    };
    // A chain that comes back to its own header is followed (the two
    // surfaces are the same record) as long as the records fit the budget.
    EXPECT_TRUE(resolves(with(img.surfaces[0].header + offsetof(MdsSurface, OffsetEnd), 0)));
    // The last surface's OffsetEnd is not followed.
    EXPECT_TRUE(resolves(with(img.surfaces[1].header + offsetof(MdsSurface, OffsetEnd), 0)));
    // More surfaces than 176-byte headers fit.
    EXPECT_FALSE(resolves(with(offsetof(MdsHeader, NumSurfaces), size / 176 + 1)));
    // More vertices than 32-byte records fit behind vertex 0.
    const auto left = size - img.surfaces[1].vertices;
    EXPECT_FALSE(resolves(with(img.surfaces[1].header + offsetof(MdsSurface, NumVertices),
                               static_cast<std::int32_t>(left / 32 + 1))));
    EXPECT_FALSE(resolves(with(img.surfaces[1].header + offsetof(MdsSurface, NumVertices), 0x7FFFFFFF)));
    // More frames than fit in the file.
    EXPECT_FALSE(resolves(with(offsetof(MdsHeader, NumFrames), 0x7FFFFFFF)));
    EXPECT_FALSE(resolves(with(offsetof(MdsHeader, NumBones), 0x7FFFFFFF)));  // 3 frames of 24 GiB
    // Huge tag and bone counts without frames are left to the readers.
    auto b = with(offsetof(MdsHeader, NumTags), 0x7FFFFFFF);
    EXPECT_TRUE(resolves(b));
}

TEST(Refuse, TotalVerticesAboveFileSize) {
    // Many surfaces that all point at the same vertex list: each alone fits,
    // all together claim more vertex bytes than the file holds.
    mg::MdsModel m;
    mg::MdsSurfaceDesc s;
    s.vertices.resize(40);
    m.surfaces = {s};
    auto img = mg::writeMds(m);
    const auto first = img.surfaces[0].header;
    const auto vertexOffset = img.surfaces[0].vertices - first;
    // Append surface headers that reuse the first one's vertices.
    const int extra = 12;
    for (int i = 0; i < extra; ++i) {
        formats::MdsSurface h = formats::ByteView(img.bytes.data(), img.bytes.size()).read<formats::MdsSurface>(first);
        const auto at = static_cast<std::int64_t>(img.bytes.size());
        h.OffsetVertices = static_cast<std::int32_t>(first + vertexOffset - at);
        h.OffsetEnd = 176;
        mg::append(img.bytes, h);
    }
    mg::put<std::int32_t>(img.bytes, first + offsetof(MdsSurface, OffsetEnd),
                          static_cast<std::int32_t>(img.surfaces[0].end - first));
    mg::put<std::int32_t>(img.bytes, offsetof(MdsHeader, NumSurfaces), 1 + extra);
    // 13 surfaces x 40 vertices x 32 bytes = 16640 > file size (~4 KiB).
    ASSERT_LT(img.bytes.size(), 13u * 40 * 32);
    EXPECT_FALSE(resolves(img.bytes));
    mg::put<std::int32_t>(img.bytes, offsetof(MdsHeader, NumSurfaces), 2);
    EXPECT_TRUE(resolves(img.bytes));
}

// Lists shared by many surfaces: the records the chain declares are
// counted once per surface and may not exceed the budget, whatever the order.
TEST(Budget, SharedListsAreRefusedOnceTheyPassTheBudget) {
    const auto b = mg::sharedListsMds(40, 2000);  // 40 x 24 KB of triangles in a 31 KB file
    const auto refused = walk(b);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(formats::idName(refused.refusal->id), std::string("declares-too-much"));
    EXPECT_NE(refused.refusal->message.find("the file's " + std::to_string(b.size()) + " bytes"), std::string::npos);
    EXPECT_TRUE(resolves(mg::sharedListsMds(1, 2000)));
}

TEST(Budget, ChainsInAnyOrderResolveWithinTheBudget) {
    const auto back = mg::backwardChainMds();
    const auto p = formats::indexMds(formats::ByteView(back.data(), back.size()), formats::Reader::Draw);
    ASSERT_TRUE(p.ok());
    ASSERT_EQ(p.surfaces.size(), 2u);
    EXPECT_GT(p.surfaces[0].at, p.surfaces[1].at);

    // One header named over and over (twice is accepted above while it fits).
    EXPECT_FALSE(resolves(mg::sharedHeaderMds(1000)));
    EXPECT_FALSE(resolves(mg::sharedHeaderMds(0x7FFFFFFF)));
}

}  // namespace
