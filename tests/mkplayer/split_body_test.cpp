// The demo body split into MDM and MDX (mkplayer/split_body.h) against the
// body.mds the real mkplayer wrote: the MDX's bones and frames are its bone
// records and walk frames byte for byte, and the MDM's surfaces hold its
// vertices (normals, texture coordinates, weights) and triangles.
#include <gtest/gtest.h>

#include <cstring>

#include "formats/mds_index.h"
#include "generated_player.h"
#include "mkplayer/split_body.h"

namespace mkp {
namespace {

bool sameBytes(const std::vector<std::uint8_t>& a, std::int64_t atA, const mg::Bytes& b, std::int64_t atB,
               std::int64_t n) {
    return std::memcmp(a.data() + atA, b.data() + atB, static_cast<std::size_t>(n)) == 0;
}

TEST(MkplayerSplitBody, MdxAndMdmHoldTheBodysRecords) {
    const auto body = readBytes(player().modelDir + "/body.mds");
    const formats::ByteView view(body.data(), body.size());
    const auto index = formats::indexMds(view, formats::Reader::Draw);
    ASSERT_TRUE(index.ok());

    const auto mdx = mg::writeMdx(mp::walkMdx());
    const auto xh = formats::ByteView(mdx.bytes.data(), mdx.bytes.size()).read<formats::MdxHeader>(0);
    ASSERT_EQ(xh.NumBones, index.header.NumBones);
    ASSERT_EQ(xh.NumFrames, 20);
    EXPECT_EQ(xh.TorsoParent, index.header.TorsoParent);
    for (std::int32_t b = 0; b < xh.NumBones; ++b)
        EXPECT_TRUE(sameBytes(body, index.bone(b), mdx.bytes, mdx.bones + b * 80, 80)) << "bone " << b;
    for (std::int32_t f = 0; f < xh.NumFrames; ++f)
        EXPECT_TRUE(sameBytes(body, index.frame(f), mdx.bytes, mdx.frames + f * index.frameSize, index.frameSize))
            << "frame " << f;

    const auto mdm = mg::writeMdm(mp::bodyMdm());
    ASSERT_EQ(mdm.surfaces.size(), index.surfaces.size());
    for (std::size_t s = 0; s < mdm.surfaces.size(); ++s) {
        const auto& mds = index.surfaces[s];
        const auto& at = mdm.surfaces[s];
        // Id, name, shader, shader index as the body's; triangles likewise.
        EXPECT_TRUE(sameBytes(body, mds.at + 4, mdm.bytes, at.header + 4, 128 + 4)) << "surface " << s;
        ASSERT_EQ(at.vertex.size(), mds.vertices.size());
        for (std::size_t v = 0; v < at.vertex.size(); ++v) {
            // Normal, texture coordinates and NumWeights, then the weights.
            const std::int64_t weights = 20 * mds.numWeights(view, mds.vertices[v]);
            EXPECT_TRUE(sameBytes(body, mds.vertices[v], mdm.bytes, at.vertex[v], 24));
            EXPECT_TRUE(sameBytes(body, mds.weight(mds.vertices[v], 0), mdm.bytes, at.vertex[v] + 24, weights))
                << "surface " << s << " vertex " << v;
        }
        EXPECT_TRUE(sameBytes(body, mds.triangles.at, mdm.bytes, at.triangles, 12 * mds.header.NumTriangles));
    }
}

}  // namespace
}  // namespace mkp
