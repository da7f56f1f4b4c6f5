// Skeleton evaluation: the angle unit, the rotation conventions, placement
// from the parent, roots from the frame's ParentOffset, the result codes of
// setFrame and the skeleton line buffer.
#include <cmath>

#include "model_fixture.h"

namespace model_test {
namespace {

using SkeletonTest = ModelTest;

// One bone per entry; every bone gets the given angles in frame 0.
mg::MdsModel bones(std::vector<mg::MdsBoneDesc> list, std::vector<formats::CompressedBoneFrame> frame,
                   std::array<float, 3> parentOffset = {}) {
    mg::MdsModel m = oneBoneModel({plainSurface("s")});
    m.bones = std::move(list);
    m.frames[0].boneFrames = std::move(frame);
    m.frames[0].parentOffset = parentOffset;
    return m;
}

// A local point turned by a pose's rotation (row vector times the matrix).
D3DXVECTOR3 turn(const BonePose& pose, float x, float y, float z) {
    const D3DXVECTOR3 p(x, y, z);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &p, &pose.rotation);
    return out;
}

void expectNear(const D3DXVECTOR3& v, float x, float y, float z, float tol = 1e-5f) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

void expectRow(const D3DXMATRIX& m, int r, float a, float b, float c, float d) {
    EXPECT_NEAR(m(r, 0), a, 1e-6f) << "row " << r;
    EXPECT_NEAR(m(r, 1), b, 1e-6f) << "row " << r;
    EXPECT_NEAR(m(r, 2), c, 1e-6f) << "row " << r;
    EXPECT_NEAR(m(r, 3), d, 1e-6f) << "row " << r;
}

TEST_F(SkeletonTest, RootIsPlacedFromParentOffsetInDrawingAxes) {
    auto mds = load(bones({{"root", -1, 0, 0, 0}}, {angles(0, 0, 0)}, {1.0f, 2.0f, 3.0f}));
    ASSERT_EQ(mds->setFrame(0), 1);
    const BonePose& p = pose(*mds, 0);
    EXPECT_EQ(p.position, D3DXVECTOR3(-2.0f, 3.0f, 1.0f));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(p.skinMatrix(r, c), r == c ? 1.0f : 0.0f);
    expectRow(p.skinMatrix, 3, -2.0f, 3.0f, 1.0f, 1.0f);
}

TEST_F(SkeletonTest, ChildLiesAtParentDistanceAlongOffsetAngles) {
    // Bones 1..4 hang on bone 0 at distance 10 with different offset angles.
    auto mds = load(bones({{"root", -1, 0, 0, 0},
                           {"straight", 0, 0, 10.0f, 0},
                           {"yawed", 0, 0, 10.0f, 0},
                           {"pitched", 0, 0, 10.0f, 0},
                           {"both", 0, 0, 10.0f, 0}},
                          {angles(0, 0, 0), angles(0, 0, 0), angles(0, 0, 0, 0, 16384),
                           angles(0, 0, 0, 16384, 0), angles(0, 0, 0, 8192, 8192)},
                          {1.0f, 2.0f, 3.0f}));
    ASSERT_EQ(mds->setFrame(0), 1);
    const D3DXVECTOR3 root = pose(*mds, 0).position;
    auto d = [&](int i) { return pose(*mds, i).position - root; };
    expectNear(d(1), 0.0f, 0.0f, 10.0f);
    expectNear(d(2), -10.0f, 0.0f, 0.0f);
    expectNear(d(3), 0.0f, -10.0f, 0.0f);
    expectNear(d(4), -5.0f, -7.071068f, 5.0f);
    // The quarter turn in float32 is slightly more than pi/2, which leaves a
    // residue along the parent direction; root is at z = 1, so measure d
    // directly from the offset rotation.
    const D3DXVECTOR3 along(0.0f, 0.0f, 10.0f);
    D3DXVECTOR3 yawed, pitched;
    D3DXVec3TransformCoord(&yawed, &along, &pose(*mds, 2).offsetRotation);
    D3DXVec3TransformCoord(&pitched, &along, &pose(*mds, 3).offsetRotation);
    EXPECT_NEAR(yawed.z, -4.371139e-07f, 1e-12f);
    EXPECT_NEAR(pitched.z, -4.371139e-07f, 1e-12f);
}

TEST_F(SkeletonTest, RotationConventions) {
    auto mds = load(bones({{"pitch", -1, 0, 0, 0},
                           {"eighth", -1, 0, 0, 0},
                           {"all", -1, 0, 0, 0},
                           {"minus", -1, 0, 0, 0},
                           {"yaw", -1, 0, 0, 0},
                           {"roll", -1, 0, 0, 0}},
                          {angles(16384, 0, 0), angles(8192, 0, 0), angles(16384, 16384, 16384),
                           angles(static_cast<std::int16_t>(0xC000), 0, 0), angles(0, 16384, 0),
                           angles(0, 0, 16384)}));
    ASSERT_EQ(mds->setFrame(0), 1);
    // Pitch is negated: a quarter turn carries (0, 0, 1) to about (0, 1, 0).
    expectNear(turn(pose(*mds, 0), 0, 0, 1), 0, 1, 0);
    EXPECT_NEAR(pose(*mds, 0).rotation(1, 1), -4.371139e-08f, 1e-14f);  // float32 quarter turn
    const D3DXMATRIX& eighth = pose(*mds, 1).rotation;
    expectRow(eighth, 0, 1, 0, 0, 0);
    expectRow(eighth, 1, 0, 0.7071068f, -0.7071068f, 0);
    expectRow(eighth, 2, 0, 0.7071068f, 0.7071068f, 0);
    expectRow(eighth, 3, 0, 0, 0, 1);
    // RotY(y) . RotX(-p) . RotZ(r): any other order gives other images.
    expectNear(turn(pose(*mds, 2), 1, 0, 0), 1, 0, 0);
    expectNear(turn(pose(*mds, 2), 0, 1, 0), 0, 0, -1);
    expectNear(turn(pose(*mds, 2), 0, 0, 1), 0, 1, 0);
    // 0xC000 is -16384: -90 degrees.
    expectNear(turn(pose(*mds, 3), 0, 0, 1), 0, -1, 0);
    // Yaw and roll are used with their own sign.
    expectNear(turn(pose(*mds, 4), 0, 0, 1), 1, 0, 0);
    expectNear(turn(pose(*mds, 5), 1, 0, 0), 0, 1, 0);
    // The skinning matrix is the rotation with the position as its last row.
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(pose(*mds, 2).skinMatrix(r, c), pose(*mds, 2).rotation(r, c));
}

TEST_F(SkeletonTest, OrientationIsAbsoluteAndOnlyAnglesMatter) {
    mg::MdsModel m = bones({{"root", -1, 0, 2.0f, 0}, {"child", 0, 0, 10.0f, 0}},
                           {angles(0, 0, 0), angles(1000, 2000, 3000, 4000, 5000)}, {4.0f, 5.0f, 6.0f});
    m.frames.push_back(m.frames[0]);
    mg::MdsFrameDesc& other = m.frames[1];
    other.boneFrames[0] = angles(12000, -7000, 300);  // the parent turns
    other.boneFrames[0].Zero = 99;
    other.boneFrames[1].Zero = -5;
    other.localOrigin = {7, 8, 9};
    other.radius = 3;
    other.bboxMin = {-1, -1, -1};
    m.bones[0].torsoWeight = 0.75f;
    m.bones[1].flags = 0xFFu;
    auto mds = load(m);
    ASSERT_EQ(mds->setFrame(0), 1);
    const BonePose child0 = pose(*mds, 1);
    ASSERT_EQ(mds->setFrame(1), 1);
    EXPECT_EQ(pose(*mds, 1).position, child0.position);
    EXPECT_EQ(pose(*mds, 1).skinMatrix, child0.skinMatrix);
    // The root's own distance is applied too.
    expectNear(pose(*mds, 0).position, -5.0f, 6.0f, 4.0f + 2.0f);
}

TEST_F(SkeletonTest, SetFrameResults) {
    MDS unloaded(&device, "test");
    EXPECT_EQ(unloaded.setFrame(0), -1);

    mg::MdsModel m = bones({{"root", -1, 0, 0, 0}}, {angles(100, 0, 0)});
    m.frames.push_back({});
    auto mds = load(m);
    ASSERT_EQ(mds->setFrame(0), 1);
    const BonePose before = pose(*mds, 0);
    const std::vector<BYTE> vertices = recorded(mds->vertexBuffer(0))->data;
    IDirect3DVertexBuffer8* lines = mds->skeletonLines();
    device.clearRecord();
    EXPECT_EQ(mds->setFrame(2), -2);
    EXPECT_EQ(mds->setFrame(0xFFFFFFFFu), -2);
    // Refusals touch nothing.
    EXPECT_TRUE(device.calls.empty());
    EXPECT_EQ(pose(*mds, 0).rotation, before.rotation);
    EXPECT_EQ(mds->skeletonLines(), lines);
    EXPECT_EQ(recorded(mds->vertexBuffer(0))->data, vertices);
    // The same frame again gives the same poses.
    ASSERT_EQ(mds->setFrame(1), 1);
    ASSERT_EQ(mds->setFrame(0), 1);
    EXPECT_EQ(pose(*mds, 0).skinMatrix, before.skinMatrix);
}

TEST_F(SkeletonTest, ModelWithoutFramesHasNoPoses) {
    mg::MdsModel m = oneBoneModel({plainSurface("s")});
    m.frames.clear();
    auto mds = load(m);
    EXPECT_EQ(mds->setFrame(0), -2);
    EXPECT_TRUE(mds->poses().empty());
    EXPECT_EQ(mds->evaluateSkeleton(0), -1);
    device.clearRecord();
    mds->draw(&device);
    EXPECT_EQ(device.draws.size(), 1u);  // the surface, no skeleton
}

TEST_F(SkeletonTest, ParentsThatAreNotEarlierBonesMakeRoots) {
    auto mds = load(bones({{"root", -1, 0, 1.0f, 0},
                           {"self", 1, 0, 1.0f, 0},
                           {"later", 3, 0, 1.0f, 0},
                           {"outside", 99, 0, 1.0f, 0},
                           {"negative", -7, 0, 1.0f, 0}},
                          {}, {0.0f, 0.0f, 5.0f}));
    ASSERT_EQ(mds->setFrame(0), 1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(pose(*mds, i).position, D3DXVECTOR3(0.0f, 5.0f, 1.0f)) << i;
    const rec::VertexBuffer* lines = recorded(mds->skeletonLines());
    for (int i = 0; i < 5; ++i) EXPECT_EQ(vertexAt(lines, 2 * i).y, 0.0f) << i;  // start at the origin
}

TEST_F(SkeletonTest, SkeletonLinesRunFromParentToBoneWithTheirColours) {
    auto mds = load(bones({{"root", -1, 0, 0, 0},
                           {"tag_armright", 0, 0, 10.0f, 0},
                           {"tag_head", 1, 0, 10.0f, 0},
                           {"Tag_head", 0, 0, 10.0f, 0},
                           {"tag_head2", 0, 0, 10.0f, 0},
                           {"tag_arm", 0, 0, 10.0f, 0}},
                          {}, {1.0f, 2.0f, 3.0f}));
    ASSERT_EQ(mds->setFrame(0), 1);
    EXPECT_EQ(device.callsStartingWith("CreateVertexBuffer").back(), "CreateVertexBuffer(288, 0, 0x142, 1)");
    const rec::VertexBuffer* lines = recorded(mds->skeletonLines());
    ASSERT_NE(lines, nullptr);
    EXPECT_FALSE(lines->locked);
    const D3DCOLOR ends[6] = {0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u, 0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u};
    for (int i = 0; i < 6; ++i) {
        const ModelVertex start = vertexAt(lines, 2 * i), end = vertexAt(lines, 2 * i + 1);
        EXPECT_EQ(start.color, 0xFFFF0000u) << i;
        EXPECT_EQ(end.color, ends[i]) << i;
        EXPECT_EQ(start.u + start.v + end.u + end.v, 0.0f);
        EXPECT_EQ(D3DXVECTOR3(end.x, end.y, end.z), pose(*mds, i).position) << i;
    }
    // The root's segment starts at the origin whatever the ParentOffset.
    EXPECT_EQ(D3DXVECTOR3(vertexAt(lines, 0).x, vertexAt(lines, 0).y, vertexAt(lines, 0).z), D3DXVECTOR3());
    const ModelVertex headStart = vertexAt(lines, 4);
    EXPECT_EQ(D3DXVECTOR3(headStart.x, headStart.y, headStart.z), pose(*mds, 1).position);
    // Each frame change makes a new buffer and releases the old one.
    const auto* old = lines;
    ASSERT_EQ(mds->setFrame(0), 1);
    EXPECT_EQ(old->refs, 0);
    EXPECT_NE(recorded(mds->skeletonLines()), old);
}

TEST_F(SkeletonTest, LineBufferFailures) {
    mg::MdsModel m = bones({{"root", -1, 0, 0, 0}}, {});
    m.frames.resize(3);
    auto mds = load(m);
    const std::size_t before = log.body().size();
    // Counted from the load's surface buffer (call 1 of each); a frame
    // change builds the lines first, then skins the surface.
    device.createVertexBuffer.onCall = 2;
    device.lockVertexBuffer.onCall = 2;
    device.unlockVertexBuffer.onCall = 3;
    EXPECT_EQ(mds->evaluateSkeleton(0), -1);
    EXPECT_EQ(mds->skeletonLines(), nullptr);
    EXPECT_EQ(mds->poses().size(), 1u);  // poses complete anyway
    EXPECT_EQ(mds->setFrame(1), 1);      // the lines' lock fails
    EXPECT_EQ(mds->skeletonLines(), nullptr);
    EXPECT_EQ(device.vertexBuffers().back()->refs, 0);
    EXPECT_EQ(mds->setFrame(2), 1);  // the lines' unlock fails
    EXPECT_NE(mds->skeletonLines(), nullptr);
    EXPECT_EQ(log.body().substr(before), errorLine("CreateVertexBuffer failed!") + errorLine("Lock failed!") +
                                             errorLine("Unlock failed - buffer still locked"));
}

TEST_F(SkeletonTest, NoBonesMeansNoLineBuffer) {
    mg::MdsSurfaceDesc s = plainSurface("s");
    for (auto& v : s.vertices) v.weights.clear();
    mg::MdsModel m = oneBoneModel({s});
    m.bones.clear();
    m.frames.resize(2);
    auto mds = load(m);
    const std::size_t before = log.body().size();
    EXPECT_EQ(mds->evaluateSkeleton(0), -1);
    EXPECT_EQ(mds->setFrame(1), 1);
    EXPECT_TRUE(mds->poses().empty());
    EXPECT_EQ(mds->skeletonLines(), nullptr);
    EXPECT_EQ(log.body().substr(before),
              errorLine("CreateVertexBuffer failed!") + errorLine("CreateVertexBuffer failed!"));
    device.clearRecord();
    mds->draw(&device);
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_TRUE(device.draws[0].indexed);
}

}  // namespace
}  // namespace model_test
