// The fixture writers put the fields where the layouts say, so that tests of
// the readers built on them mean something.
#include <gtest/gtest.h>

#include <cstddef>

#include "formats/mdc_layout.h"
#include "modelgen/samples.h"
#include "modelgen/skin_writer.h"

namespace {

TEST(MdcWriter, SurfaceListsLieWhereTheHeaderSays) {
    auto m = mg::sampleMdc();
    m.gapBeforeSurfaces = 5;
    m.surfaces[0].gapAfter = 3;
    m.surfaces[1].gapAfterHeader = 8;
    const auto img = mg::writeMdc(m);
    const formats::ByteView v(img.bytes.data(), img.bytes.size());
    const auto h = v.read<formats::MdcHeader>(0);
    EXPECT_EQ(v.read<std::int32_t>(0), 0x43504449);  // "IDPC"
    EXPECT_EQ(h.NumFrames, 3);
    EXPECT_EQ(h.NumSurfaces, 2);
    EXPECT_EQ(h.OffsetSurfaces, 112 + 5);
    std::int64_t s = h.OffsetSurfaces;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(v.has(s, 124));
        const auto sh = v.read<formats::MdcSurface>(s);
        EXPECT_EQ(s, img.surfaces[i].header);
        EXPECT_EQ(sh.NumVertices, 3);
        EXPECT_EQ(sh.NumTriangles, 1);
        char shader[64];
        std::memcpy(shader, img.bytes.data() + s + sh.OffsetShaders, 64);
        EXPECT_EQ(formats::nameOf(shader), m.surfaces[i].shader);
        const auto table = v.read<std::uint16_t>(s + sh.OffsetFrameBaseFrames + 2 * 2);
        EXPECT_EQ(table, 1);
        const auto bv = v.read<formats::MdcBaseVertex>(s + sh.OffsetBaseVertices + 8 * (table * 3 + 1));
        EXPECT_EQ(bv.x, 64);
        EXPECT_EQ(bv.y, -128);
        EXPECT_EQ(v.read<formats::MdcTexCoord>(s + sh.OffsetTexCoords + 8).u, 1.0f);
        s += sh.OffsetEnd;
    }
    EXPECT_EQ(s, static_cast<std::int64_t>(img.bytes.size()));
}

TEST(MdsWriter, StoredOverridesAndNames) {
    auto m = mg::sampleMds();
    m.surfaces[0].offsetEnd = 5;
    m.surfaces[1].vertices[0].numWeights = 9;
    m.bones[0].name = std::string(70, 'x');
    const auto img = mg::writeMds(m);
    const formats::ByteView v(img.bytes.data(), img.bytes.size());
    EXPECT_EQ(v.read<formats::MdsSurface>(img.surfaces[0].header).OffsetEnd, 5);
    EXPECT_EQ(v.read<formats::MdsVertex>(img.surfaces[1].vertex[0]).NumWeights, 9);
    EXPECT_EQ(img.surfaces[1].vertex[1] - img.surfaces[1].vertex[0], 32 + 20);  // one weight written
    EXPECT_EQ(formats::nameOf(v.read<formats::MdsBone>(img.bones).Name), std::string(64, 'x'));
    EXPECT_EQ(v.read<formats::MdsSurface>(img.surfaces[1].header).OffsetHeader, -img.surfaces[1].header);
}

TEST(SkinWriter, Lines) {
    EXPECT_EQ(mg::skinText({{"body", "models/a/body.tga"}, {"md3_hat", "acc/hat", false}}),
              "body,\"models/a/body.tga\"\r\nmd3_hat,acc/hat\r\n");
    EXPECT_EQ(mg::skinText({{"k", "v"}}, "\n"), "k,\"v\"\n");
}

}  // namespace
