// Skinning and drawing: weighted vertices in drawing axes, weights used as
// stored, skinning failures, and the draw call sequence.
#include "model_fixture.h"
#include "skin/skin.h"

namespace model_test {
namespace {

using SkinningTest = ModelTest;

ModelVertex skinned(const MDS& mds, std::uint32_t s, std::size_t v) {
    return vertexAt(recorded(mds.vertexBuffer(s)), v);
}

void expectAt(const ModelVertex& v, float x, float y, float z, float tol = 1e-5f) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

// Bone 0: root at the origin turned by Yaw 16384; bone 1: 10 along the
// parent direction, turned by Pitch 8192; bone 2: at (−2, 3, 1) unturned.
mg::MdsModel posedModel(std::vector<mg::MdsVertexDesc> vertices) {
    mg::MdsSurfaceDesc s;
    s.name = "s";
    s.vertices = std::move(vertices);
    s.triangles = {{{0, 0, 0}}};
    mg::MdsModel m = oneBoneModel({s});
    m.bones = {{"yawed", -1, 0, 0, 0}, {"pitched", 0, 0, 10.0f, 0}, {"moved", -1, 0, 0, 0}};
    m.frames.resize(2);
    m.frames[0].boneFrames = {angles(0, 16384, 0), angles(8192, 0, 0), angles(0, 0, 0)};
    m.frames[1].boneFrames = m.frames[0].boneFrames;
    m.frames[0].parentOffset = {0, 0, 0};
    return m;
}

TEST_F(SkinningTest, TwoWeightsBlendAsComputedByHand) {
    auto mds = load(posedModel({vertex(0.5f, 0.25f, {weight(0, 0.25f, 1, 2, 3), weight(1, 0.75f, -1, 0, 2)})}));
    ASSERT_EQ(mds->setFrame(0), 1);
    // (1, 2, 3) -> q (-2, 3, 1) -> RotY(90°) -> (1, 3, 2) at the origin;
    // (-1, 0, 2) -> q (0, 2, -1) -> RotX(-45°) -> (0, 0.7071068, -2.1213203)
    // from (0, 0, 10). Blend 0.25 / 0.75.
    const ModelVertex v = skinned(*mds, 0, 0);
    expectAt(v, 0.25f, 0.75f + 0.75f * 0.7071068f, 0.5f + 0.75f * (10.0f - 2.1213203f));
    EXPECT_EQ(v.color, 0xFF00FF00u);
    EXPECT_EQ(v.u, 0.5f);
    EXPECT_EQ(v.v, 0.25f);
}

TEST_F(SkinningTest, WeightsAreNotNormalised) {
    mg::MdsModel m = posedModel({vertex(0, 0, {weight(2, 1.0f, 1, 2, 3)}), vertex(0, 0, {weight(2, 0.5f, 1, 2, 3)}),
                                 vertex(0, 0, {weight(2, 1.0f, 1, 2, 3), weight(2, 1.0f, 1, 2, 3)})});
    m.frames[0].parentOffset = {1, 2, 3};  // bone 2 at (-2, 3, 1)
    auto mds = load(m);
    ASSERT_EQ(mds->setFrame(0), 1);
    expectAt(skinned(*mds, 0, 0), -4.0f, 6.0f, 2.0f);
    expectAt(skinned(*mds, 0, 1), -2.0f, 3.0f, 1.0f);
    expectAt(skinned(*mds, 0, 2), -8.0f, 12.0f, 4.0f);
}

TEST_F(SkinningTest, YawQuarterTurnInDrawingAxes) {
    auto mds = load(posedModel({vertex(0, 0, {weight(0, 1.0f, 1, 0, 0)}), vertex(0, 0, {weight(0, 1.0f, 0, 1, 0)})}));
    ASSERT_EQ(mds->setFrame(0), 1);
    expectAt(skinned(*mds, 0, 0), 1.0f, 0.0f, 0.0f);
    expectAt(skinned(*mds, 0, 1), 0.0f, 0.0f, 1.0f);
}

TEST_F(SkinningTest, VerticesWithoutUsableWeightsLieAtTheOrigin) {
    auto mds = load(posedModel({vertex(0.125f, 0.875f, {}),
                                vertex(0, 0, {weight(3, 1.0f, 5, 5, 5), weight(-1, 1.0f, 5, 5, 5)}),
                                vertex(0, 0, {weight(99, 1.0f, 5, 5, 5), weight(2, 1.0f, 1, 2, 3)})}));
    ASSERT_EQ(mds->setFrame(0), 1);
    const ModelVertex none = skinned(*mds, 0, 0);
    expectAt(none, 0, 0, 0, 0);
    EXPECT_EQ(none.color, 0xFF00FF00u);
    EXPECT_EQ(none.u, 0.125f);
    EXPECT_EQ(none.v, 0.875f);
    // Weights on bones outside the list add nothing.
    expectAt(skinned(*mds, 0, 1), 0, 0, 0, 0);
    expectAt(skinned(*mds, 0, 2), -2.0f, 3.0f, 1.0f);
}

TEST_F(SkinningTest, LockAndUnlockFailures) {
    mg::MdsModel m = posedModel({vertex(0, 0, {weight(2, 1.0f, 1, 2, 3)})});
    m.surfaces.push_back(m.surfaces[0]);
    auto mds = load(m);
    const std::vector<BYTE> firstContent = recorded(mds->vertexBuffer(0))->data;
    const std::size_t before = log.body().size();
    // A frame change locks the lines, then surface 0, then surface 1; the
    // load used the first two locks and unlocks.
    device.lockVertexBuffer.onCall = 4;
    device.unlockVertexBuffer.onCall = 4;
    EXPECT_EQ(mds->setFrame(0), 1);
    EXPECT_EQ(recorded(mds->vertexBuffer(0))->data, firstContent);  // keeps its vertices
    expectAt(skinned(*mds, 1, 0), -2.0f, 3.0f, 1.0f);                // still skinned
    EXPECT_EQ(log.body().substr(before), errorLine("Lock failed!") + errorLine("Unlock failed - buffer still locked"));
    device.lockVertexBuffer.onCall = device.lockVertexBuffer.calls + 1;
    EXPECT_EQ(mds->skinSurface(0), -1);
    device.unlockVertexBuffer.onCall = device.unlockVertexBuffer.calls + 1;
    EXPECT_EQ(mds->skinSurface(0), 1);
}

// ---- drawing ---------------------------------------------------------------

// A 2 x 2 uncompressed 32-bit TGA.
mg::Bytes tinyTga() {
    mg::Bytes b(18, 0);
    b[2] = 2;
    b[12] = 2;
    b[14] = 2;
    b[16] = 32;
    b[17] = 8;
    for (int i = 0; i < 4; ++i) b.insert(b.end(), {0x10, 0x20, 0x30, 0xFF});
    return b;
}

class DrawTest : public ModelTest {
protected:
    void SetUp() override {
        mg::MdsModel m = oneBoneModel({plainSurface("skinned"), plainSurface("bare", 4)});
        m.surfaces[1].triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
        mds = load(m);
        ASSERT_EQ(mds->setFrame(0), 1);
        write(tinyTga(), "tex/skinned.tga");
        dir.write("body.skin", std::string("skinned,\"tex/skinned\"\n"));
        skin = std::make_unique<Skin>("test");
        ASSERT_EQ(skin->load(dir.file("body.skin").c_str()), 1);
        mds->applySkin(dir.path().c_str(), skin.get());
        ASSERT_NE(mds->textures().at(0), nullptr);
        device.clearRecord();
    }

    std::string name(const void* p) const { return device.nameOf(p); }

    std::vector<std::string> surfaceCalls(std::uint32_t s, const void* texture, int verts, int tris) {
        return {"SetStreamSource(0, " + name(mds->vertexBuffer(s)) + ", 24)",
                "SetVertexShader(0x142)",
                "SetIndices(" + name(mds->indexBuffer(s)) + ", 0)",
                "SetTexture(0, " + name(texture) + ")",
                "SetTextureStageState(0, 1, 2)",
                "SetTextureStageState(0, 2, 2)",
                "SetTextureStageState(0, 3, 0)",
                "DrawIndexedPrimitive(4, 0, " + std::to_string(verts) + ", 0, " + std::to_string(tris) + ")"};
    }
    std::vector<std::string> skeletonCalls() {
        return {"SetTexture(0, null)", "SetStreamSource(0, " + name(mds->skeletonLines()) + ", 24)",
                "SetVertexShader(0x142)", "DrawPrimitive(2, 0, 1)"};
    }
    static std::vector<std::string> join(std::vector<std::vector<std::string>> parts) {
        std::vector<std::string> out;
        for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
        return out;
    }

    std::unique_ptr<MDS> mds;
    std::unique_ptr<Skin> skin;
    const std::vector<std::string> opening{"SetRenderState(22, 1)", "SetRenderState(137, 0)", "SetTransform(256)"};
};

TEST_F(DrawTest, SurfacesThenSkeleton) {
    mds->draw(&device);
    EXPECT_EQ(device.calls, join({opening, surfaceCalls(0, mds->textures()[0], 3, 1), surfaceCalls(1, nullptr, 4, 2),
                                  skeletonCalls()}));
    ASSERT_EQ(device.draws.size(), 3u);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    for (const rec::Draw& d : device.draws) {
        EXPECT_TRUE(d.world == identity);
        EXPECT_EQ(d.lighting, 0u);
        EXPECT_EQ(d.cull, D3DCULL_NONE);
    }
    EXPECT_EQ(device.draws[2].colorOp, D3DTOP_SELECTARG1);  // the lines keep the stage as the surfaces left it
}

TEST_F(DrawTest, HiddenMeshDrawsOnlyTheSkeleton) {
    mds->meshVisible = false;
    mds->draw(&device);
    EXPECT_EQ(device.calls, join({opening, skeletonCalls()}));
}

TEST_F(DrawTest, NothingWhenNotLoaded) {
    MDS empty(&device, "test");
    empty.draw(&device);
    EXPECT_TRUE(device.calls.empty());
}

TEST_F(DrawTest, DrawingChangesNoBuffer) {
    const std::vector<BYTE> before = recorded(mds->vertexBuffer(0))->data;
    mds->draw(&device);
    mds->draw(&device);
    EXPECT_TRUE(device.callsStartingWith("VB.").empty());
    EXPECT_EQ(recorded(mds->vertexBuffer(0))->data, before);
}

}  // namespace
}  // namespace model_test
