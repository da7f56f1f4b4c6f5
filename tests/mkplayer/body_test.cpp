// The generated body through the viewer's own code: its structure and
// weights, the whole assembly (body, skins, accessories, head, hat) with no
// error in the log, and the poses of every frame as the viewer evaluates
// them: standing on the ground, limbs that bend without tearing, and the
// attached models turning with the body.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "formats/mds_index.h"
#include "generated_player.h"
#include "model/mdc.h"
#include "model/mds.h"
#include "model/model_vertex.h"
#include "recording_device.h"
#include "scoped_log.h"
#include "skin/skin.h"

namespace mkp {
namespace {

constexpr std::uint32_t kSlotBones[] = {7, 8, 51, 54, 55};

TEST(MkplayerBody, SkeletonFramesAndWeightsAreWellFormed) {
    const auto bytes = readBytes(player().modelDir + "/body.mds");
    const formats::ByteView view(bytes.data(), bytes.size());
    const auto positions = formats::indexMds(view, formats::Reader::Draw);
    ASSERT_TRUE(positions.ok());
    const auto header = view.read<formats::MdsHeader>(0);
    EXPECT_EQ(header.Version, 4);
    ASSERT_GE(header.NumBones, 56);
    EXPECT_GE(header.NumFrames, 30);
    EXPECT_GE(header.NumSurfaces, 4);

    std::set<std::string> names;
    for (std::int32_t i = 0; i < header.NumBones; ++i) {
        const auto bone = view.read<formats::MdsBone>(positions.bone(i));
        EXPECT_LT(bone.ParentIndex, i) << "bone " << i;
        EXPECT_EQ(bone.ParentIndex < 0, i == 0) << "one root, bone 0";
        EXPECT_TRUE(names.insert(formats::nameOf(bone.Name)).second) << "duplicate " << formats::nameOf(bone.Name);
    }
    EXPECT_TRUE(names.count("tag_head") && names.count("tag_armright"));
    EXPECT_EQ(formats::nameOf(view.read<formats::MdsBone>(positions.bone(7)).Name), "tag_head");

    for (const auto& s : positions.surfaces) {
        const auto surface = view.read<formats::MdsSurface>(s.at);
        std::int64_t at = s.firstVertex;
        for (std::int32_t v = 0; v < surface.NumVertices; ++v) {
            const auto vertex = view.read<formats::MdsVertex>(at);
            at += static_cast<std::int64_t>(sizeof vertex);
            ASSERT_GE(vertex.NumWeights, 1);
            ASSERT_LE(vertex.NumWeights, 3);
            EXPECT_TRUE(vertex.TexCoords[0] >= 0.0f && vertex.TexCoords[0] <= 1.0f && vertex.TexCoords[1] >= 0.0f &&
                        vertex.TexCoords[1] <= 1.0f);
            float sum = 0.0f;
            for (std::int32_t w = 0; w < vertex.NumWeights;
                 ++w, at += static_cast<std::int64_t>(sizeof(formats::MdsWeight))) {
                const auto weight = view.read<formats::MdsWeight>(at);
                ASSERT_GE(weight.BoneIndex, 0);
                ASSERT_LT(weight.BoneIndex, header.NumBones);
                // Slot bones are turned for their attached models only.
                for (auto slot : kSlotBones) EXPECT_NE(static_cast<std::uint32_t>(weight.BoneIndex), slot);
                EXPECT_GT(weight.Weight, 0.0f);
                sum += weight.Weight;
            }
            EXPECT_NEAR(sum, 1.0f, 1e-6f) << formats::nameOf(surface.Name) << " vertex " << v;
        }
    }
}

// The viewer's start-up assembly of the generated player.
struct Assembled {
    testing_support::ScopedLog log;
    rec::RecordingDevice device;
    std::string dir = player().modelDir;
    Skin bodySkin{"infantryss"}, headSkin{"infantryss"};
    MDS mds{&device, "infantryss"};
    int loaded = 0;

    Assembled() {
        loaded = mds.loadFromFile((dir + "/body.mds").c_str());
        mds.setFrame(0);
        bodySkin.load((dir + "/body_default.skin").c_str());
        mds.applySkin(dir.c_str(), &bodySkin);
        mds.loadAccessories(dir.c_str(), &bodySkin);
        headSkin.load((dir + "/head_default.skin").c_str());
        mds.loadHead(dir.c_str(), &headSkin);
    }

    // Skinned vertex positions of every surface, as the last setFrame left them.
    std::vector<std::vector<D3DXVECTOR3>> vertices() const {
        std::vector<std::vector<D3DXVECTOR3>> out;
        for (std::uint32_t s = 0; s < mds.numSurfaces(); ++s) {
            const auto* vb = static_cast<const rec::VertexBuffer*>(mds.vertexBuffer(s));
            std::vector<D3DXVECTOR3> points;
            for (std::size_t at = 0; at + sizeof(ModelVertex) <= vb->data.size(); at += sizeof(ModelVertex)) {
                ModelVertex v;
                std::memcpy(&v, vb->data.data() + at, sizeof v);
                points.emplace_back(v.x, v.y, v.z);
            }
            out.push_back(points);
        }
        return out;
    }
};

float distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

TEST(MkplayerBody, AssemblesWithEveryTextureAndSlotAndNoError) {
    Assembled a;
    ASSERT_EQ(a.loaded, 1);
    EXPECT_FALSE(a.log.contains("ERROR")) << a.log.body();
    ASSERT_EQ(a.mds.textures().size(), a.mds.numSurfaces());
    for (auto* t : a.mds.textures()) EXPECT_NE(t, nullptr);
    for (int slot = 0; slot < MDS::SlotCount; ++slot) {
        const MDC* m = a.mds.attachment(static_cast<MDS::Slot>(slot));
        ASSERT_NE(m, nullptr) << "slot " << slot;
        EXPECT_TRUE(m->loaded()) << "slot " << slot;
        ASSERT_TRUE(m->hasTextures());
        for (auto* t : m->textures()) EXPECT_NE(t, nullptr) << "slot " << slot;
    }
}

TEST(MkplayerBody, FrameZeroStandsUprightOnTheGround) {
    Assembled a;
    ASSERT_EQ(a.loaded, 1);
    const auto& poses = a.mds.poses();
    const float head = poses[7].position.y;
    EXPECT_GT(head, poses[54].position.y + 15.0f);
    EXPECT_GT(head, poses[55].position.y + 15.0f);
    EXPECT_GT(poses[8].position.y, head);  // the hat above the neck
    EXPECT_GT(poses[51].position.y, poses[54].position.y);  // the pack above the belt
    // The belt pieces sit to the left and right of the body.
    EXPECT_GT(std::fabs(poses[54].position.x - poses[55].position.x), 6.0f);
    EXPECT_EQ(a.mds.setFrame(a.mds.numFrames()), -2);
}

TEST(MkplayerBody, EveryFrameKeepsTheMeshWholeAndTheFeetOnTheGround) {
    Assembled a;
    ASSERT_EQ(a.loaded, 1);
    const auto rest = a.vertices();
    std::vector<std::vector<WORD>> indices;
    for (std::uint32_t s = 0; s < a.mds.numSurfaces(); ++s)
        indices.push_back(static_cast<const rec::IndexBuffer*>(a.mds.indexBuffer(s))->indices());
    float moved15 = 0.0f;
    for (std::uint32_t f = 0; f < a.mds.numFrames(); ++f) {
        ASSERT_EQ(a.mds.setFrame(f), 1);
        const auto now = a.vertices();
        float lowest = 1e9f;
        for (std::size_t s = 0; s < now.size(); ++s) {
            for (const auto& p : now[s]) lowest = std::min(lowest, p.y);
            for (std::size_t t = 0; t + 2 < indices[s].size(); t += 3)
                for (int e = 0; e < 3; ++e) {
                    const WORD i = indices[s][t + e], j = indices[s][t + (e + 1) % 3];
                    // Joints bend and blend, but no edge tears open.
                    EXPECT_LT(distance(now[s][i], now[s][j]), 1.6f * distance(rest[s][i], rest[s][j]) + 0.3f)
                        << "frame " << f << " surface " << s << " edge " << i << "-" << j << " at y " << rest[s][i].y;
                }
            if (f == 15)
                for (std::size_t v = 0; v < now[s].size(); ++v) moved15 = std::max(moved15, distance(now[s][v], rest[s][v]));
        }
        EXPECT_NEAR(lowest, 0.0f, 0.05f) << "frame " << f;
    }
    EXPECT_GT(moved15, 3.0f) << "frame 15 shows another pose than frame 0";
}

// Forward (drawing +z) of an attached model: row 2 of its world matrix.
D3DXVECTOR3 forwardOf(const D3DXMATRIX& m) { return {m(2, 0), m(2, 1), m(2, 2)}; }

float yawOf(const D3DXVECTOR3& v) { return std::atan2(v.x, v.z) * 180.0f / 3.14159265f; }

TEST(MkplayerBody, AttachedModelsTurnWithTheBody) {
    Assembled a;
    ASSERT_EQ(a.loaded, 1);
    const D3DXVECTOR3 ahead(0.0f, 0.0f, 1.0f);
    float turned = 0.0f;
    for (std::uint32_t f = 0; f < a.mds.numFrames(); ++f) {
        ASSERT_EQ(a.mds.setFrame(f), 1);
        a.mds.draw(&a.device);
        // The chest's own vertices are turned by its rotation.
        D3DXVECTOR3 chest;
        D3DXVec3TransformCoord(&chest, &ahead, &a.mds.poses()[4].rotation);
        const D3DXMATRIX& head = a.mds.attachment(MDS::Head)->world;
        const D3DXMATRIX& hat = a.mds.attachment(MDS::Hat)->world;
        float diff = yawOf(forwardOf(head)) - yawOf(chest);
        diff = std::remainder(diff, 360.0f);
        EXPECT_LT(std::fabs(diff), 30.0f) << "frame " << f;
        EXPECT_LT(std::fabs(yawOf(forwardOf(hat)) - yawOf(forwardOf(head))), 1.0f) << "frame " << f;
        EXPECT_GT(hat(3, 1), head(3, 1) + 7.0f) << "frame " << f;
        EXPECT_LT(std::hypot(hat(3, 0) - head(3, 0), hat(3, 2) - head(3, 2)), 2.0f) << "frame " << f;
        turned = std::max(turned, std::fabs(yawOf(chest)));
    }
    EXPECT_GT(turned, 40.0f) << "the idle turn turns the body";
}

}  // namespace
}  // namespace mkp
