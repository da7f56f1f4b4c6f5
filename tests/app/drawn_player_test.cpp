// The player as a drawn scene: its steps are the body's frames and its box
// is exactly the box of what the body draws at the shown frame (the
// skinned surfaces, the skeleton lines, the head where the body puts it),
// so framing a picture on it cuts nothing off.
#include <gtest/gtest.h>

#include <cstring>

#include "model/mdc.h"
#include "model/mds.h"
#include "model_files.h"
#include "recording_device.h"
#include "scene/drawn_player.h"
#include "scoped_log.h"

namespace {

// Every position in the vertex buffers, carried by `world`, in game axes.
void addBuffers(scene::Box& box, IDirect3DVertexBuffer8* const* buffers, std::uint32_t count, const D3DXMATRIX& world) {
    for (std::uint32_t s = 0; s < count; ++s) {
        const auto* vb = static_cast<const rec::VertexBuffer*>(buffers[s]);
        if (vb == nullptr) continue;
        for (std::size_t at = 0; at + sizeof(ModelVertex) <= vb->data.size(); at += sizeof(ModelVertex)) {
            ModelVertex v;
            std::memcpy(&v, vb->data.data() + at, sizeof v);
            const D3DXVECTOR3 p(v.x, v.y, v.z);
            D3DXVECTOR3 placed;
            D3DXVec3TransformCoord(&placed, &p, &world);
            box.add(placed.z, -placed.x, placed.y);
        }
    }
}

// The box of what `body` draws now, read from its buffers.
scene::Box drawnBox(const MDS& body) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    scene::Box box;
    for (std::uint32_t s = 0; s < body.numSurfaces() && body.meshVisible; ++s) {
        IDirect3DVertexBuffer8* vb = body.vertexBuffer(s);
        addBuffers(box, &vb, 1, identity);
    }
    IDirect3DVertexBuffer8* lines = body.skeletonLines();
    addBuffers(box, &lines, 1, identity);
    const MDC* head = body.attachment(MDS::Head);
    for (std::uint32_t s = 0; s < head->numSurfaces(); ++s) {
        IDirect3DVertexBuffer8* vb = head->vertexBuffer(s);
        addBuffers(box, &vb, 1, head->world);
    }
    return box;
}

void expectSameBox(const scene::Box& a, const scene::Box& b) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(a.min[i], b.min[i], 1e-4f) << "axis " << i;
        EXPECT_NEAR(a.max[i], b.max[i], 1e-4f) << "axis " << i;
    }
}

TEST(DrawnPlayer, StepsAreFramesAndTheBoxIsWhatTheBodyDraws) {
    testing_support::ScopedLog log;
    testing_support::TempDir dir;
    rec::RecordingDevice device;
    app_test::writeModelFolder(dir.path() + "/mymodel");
    PlayerScene player(&device, PlayerFiles{"mymodel", modelDirOf(dir.path(), "mymodel"), "body_default.skin",
                                            "head_default.skin"});
    scene::DrawnPlayer drawn(player);
    EXPECT_TRUE(drawn.bounds().empty()) << "nothing loaded, nothing drawn";
    EXPECT_EQ(drawn.numSteps(), 0u);
    ASSERT_TRUE(player.loadBody(0));
    player.dress();
    MDS& body = *player.body();
    ASSERT_NE(body.attachment(MDS::Head), nullptr);
    EXPECT_EQ(drawn.renderables(), std::vector<Renderable*>{&body});
    EXPECT_EQ(drawn.numSteps(), body.numFrames());
    ASSERT_GT(drawn.numSteps(), 1u);

    for (bool mesh : {true, false}) {
        body.meshVisible = mesh;
        for (std::uint32_t step = 0; step < drawn.numSteps(); ++step) {
            SCOPED_TRACE(testing::Message() << "mesh " << mesh << ", step " << step);
            drawn.setStep(step);
            body.draw(&device);  // places the head at this frame
            expectSameBox(drawn.bounds(), drawnBox(body));
        }
    }
}

}  // namespace
