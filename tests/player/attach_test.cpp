// Placing attached models at the body's bones: the world matrix from a
// bone's pose, the refusals that leave it alone, and the five slots drawn
// in order at their fixed bones.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "model/mdc.h"
#include "model/mds.h"
#include "modelgen/bytes.h"
#include "player_fixture.h"
#include "recording_device.h"
#include "scoped_log.h"
#include "skin/skin.h"

namespace {

using testing_support::TempDir;

constexpr std::int16_t kQuarter = 16384;

D3DXVECTOR3 transform(const D3DMATRIX& m, float x, float y, float z) {
    D3DXMATRIX matrix;
    std::memcpy(&matrix.m, &m.m, sizeof matrix.m);
    const D3DXVECTOR3 p(x, y, z);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &p, &matrix);
    return out;
}

void expectNear(const D3DXVECTOR3& got, float x, float y, float z) {
    EXPECT_NEAR(got.x, x, 1e-5f);
    EXPECT_NEAR(got.y, y, 1e-5f);
    EXPECT_NEAR(got.z, z, 1e-5f);
}

void expectMatrix(const D3DXMATRIX& got, const D3DXMATRIX& want) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(got(r, c), want(r, c), 1e-6f) << r << "," << c;
}

formats::CompressedBoneFrame yaw(std::int16_t units) {
    formats::CompressedBoneFrame f{};
    f.Yaw = units;
    return f;
}

// Writes the body to dir/body.mds, loads it and shows frame 0.
void loadBody(MDS& body, const TempDir& dir, const pt::BodyDesc& desc) {
    ASSERT_TRUE(mg::writeFile(dir.file("body.mds"), mg::writeMds(pt::body(desc)).bytes));
    ASSERT_EQ(body.loadFromFile(dir.file("body.mds").c_str()), 1);
    ASSERT_EQ(body.setFrame(0), 1);
}

TEST(AttachToBone, IdentityRotationGivesATranslation) {
    TempDir dir;
    rec::RecordingDevice dev;
    MDS body(&dev, "test");
    pt::BodyDesc desc;
    desc.origin[0] = 1.0f;
    desc.origin[1] = 2.0f;
    desc.origin[2] = 3.0f;
    loadBody(body, dir, desc);
    MDC model(&dev);
    EXPECT_EQ(body.attachToBone(&model, 7), 1);
    D3DXMATRIX want;
    D3DXMatrixTranslation(&want, 1.0f, 2.0f, 3.0f);
    expectMatrix(model.world, want);
}

TEST(AttachToBone, AttachedModelsTurnInverseToTheBodysVertices) {
    TempDir dir;
    rec::RecordingDevice dev;
    MDS body(&dev, "test");
    pt::BodyDesc desc;
    desc.origin[0] = 5.0f;
    desc.poses = {{7, yaw(kQuarter)}};
    desc.vertexBone = 7;
    desc.offset[1] = -1.0f;  // file (0, -1, 0) is drawing (1, 0, 0)
    loadBody(body, dir, desc);
    MDC model(&dev);
    ASSERT_EQ(body.attachToBone(&model, 7), 1);
    expectNear(transform(model.world, 1.0f, 0.0f, 0.0f), 5.0f, 0.0f, 1.0f);

    ModelVertex v{};
    const auto* vb = static_cast<rec::VertexBuffer*>(body.vertexBuffer(0));
    std::memcpy(&v, vb->data.data(), sizeof v);
    expectNear(D3DXVECTOR3(v.x, v.y, v.z), 5.0f, 0.0f, -1.0f);
}

TEST(AttachToBone, RefusalsLeaveTheMatrixAlone) {
    TempDir dir;
    rec::RecordingDevice dev;
    MDC model(&dev);
    D3DXMatrixTranslation(&model.world, 7.0f, 8.0f, 9.0f);
    const D3DXMATRIX before = model.world;

    MDS unloaded(&dev, "test");
    EXPECT_EQ(unloaded.attachToBone(&model, 0), -1);
    EXPECT_EQ(unloaded.attachToBone(nullptr, 0), -1);

    MDS body(&dev, "test");
    pt::BodyDesc desc;
    desc.numBones = 9;
    desc.origin[1] = 4.0f;
    loadBody(body, dir, desc);
    EXPECT_EQ(body.attachToBone(nullptr, 8), -2);
    EXPECT_EQ(body.attachToBone(&model, 9), -3);
    EXPECT_EQ(body.attachToBone(&model, 0xFFFFFFFFu), -3);
    expectMatrix(model.world, before);
    EXPECT_EQ(body.attachToBone(&model, 8), 1);
}

TEST(AttachToBone, SlotsAreDrawnInOrderAtTheirBones) {
    TempDir dir;
    rec::RecordingDevice dev;
    MDS body(&dev, "test");
    // 55 bones: slot 1 (bone 55) cannot be placed, the other four can.
    pt::BodyDesc desc;
    desc.numBones = 55;
    desc.origin[2] = 2.0f;
    desc.poses = {{54, yaw(kQuarter)}, {51, yaw(-kQuarter)}, {7, yaw(-2 * kQuarter)}, {8, yaw(0)}};
    loadBody(body, dir, desc);

    for (const char* name : {"beltl", "beltr", "back", "head", "hat"})
        ASSERT_TRUE(mg::writeFile(dir.file(std::string(name) + ".mdc"),
                                  mg::writeMdc(pt::quadMdc(name, {{"s", ""}})).bytes));
    dir.write("body.skin", "md3_beltl,beltl\nmd3_beltr,beltr\nmd3_back,back\n");
    dir.write("head.skin", "md3_part,head\nmd3_hat,hat\n");
    Skin bodySkin("test"), headSkin("test");
    ASSERT_EQ(bodySkin.load(dir.file("body.skin").c_str()), 1);
    ASSERT_EQ(headSkin.load(dir.file("head.skin").c_str()), 1);
    ASSERT_EQ(body.loadAccessories(dir.path().c_str(), &bodySkin), 1);
    ASSERT_EQ(body.loadHead(dir.path().c_str(), &headSkin), 1);
    const MDS::Slot order[] = {MDS::BeltLeft, MDS::BeltRight, MDS::Back, MDS::Head, MDS::Hat};
    for (MDS::Slot slot : order) ASSERT_TRUE(body.attachment(slot) && body.attachment(slot)->loaded()) << slot;

    for (int round = 0; round < 2; ++round) {
        dev.clearRecord();
        body.draw(&dev);
        // The body's surface, its skeleton lines, then one quad per slot.
        ASSERT_EQ(dev.draws.size(), 7u);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(dev.draws[2 + i].stream, body.attachment(order[i])->vertexBuffer(0));
        auto shown = [&](int i) { return transform(dev.draws[2 + i].world, 1.0f, 0.0f, 0.0f); };
        expectNear(shown(0), 1.0f, 0.0f, 0.0f);         // never placed: the origin, no turn
        expectNear(shown(1), 0.0f, 0.0f, 2.0f + 1.0f);  // yaw +90 degrees
        expectNear(shown(2), 0.0f, 0.0f, 2.0f - 1.0f);  // yaw -90 degrees
        expectNear(shown(3), -1.0f, 0.0f, 2.0f);        // yaw 180 degrees
        expectNear(shown(4), 1.0f, 0.0f, 2.0f);
    }

    // Empty slots are skipped.
    ASSERT_EQ(body.loadAccessories(dir.path().c_str(), nullptr), 1);
    dev.clearRecord();
    body.draw(&dev);
    EXPECT_EQ(dev.draws.size(), 4u);
}

}  // namespace
