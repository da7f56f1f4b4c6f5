// The exported file read back by TinyGLTF's loader and posed by the
// test's own evaluator (gltf_pose.h), against our own evaluation of the
// same frame from the model files (src/formats: evaluatePose and the
// weighted sum of every vertex's offsets, as the viewer skins).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "export_test_util.h"
#include "formats/families/split_pose.h"
#include "formats/families/weighted_mesh.h"
#include "formats/md3_index.h"
#include "formats/mdm_index.h"
#include "formats/mds_index.h"
#include "formats/mdx_index.h"
#include "gltf_pose.h"

namespace {

using exporttest::exportModel;
using gltftest::Vec3;

constexpr double kScale = 0.0254;

std::vector<std::uint8_t> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Per surface, every vertex skinned at `poses` as the viewer skins it.
std::vector<std::vector<Vec3>> skinnedAt(formats::ByteView bytes, const formats::WeightedSurfaces& mesh,
                                         const std::vector<formats::BonePose3>& poses) {
    std::vector<std::vector<Vec3>> out;
    for (const formats::WeightedSurfaceIndex& s : mesh.surfaces) {
        out.emplace_back();
        formats::forEachVertex(bytes, s, [&](std::size_t, std::int64_t at) {
            Vec3 p{0, 0, 0};
            for (std::int32_t k = 0; k < s.numWeights(bytes, at); ++k) {
                const auto w = bytes.read<formats::MdsWeight>(s.weight(at, k));
                const formats::BonePose3& b = poses.at(static_cast<std::size_t>(w.BoneIndex));
                for (int i = 0; i < 3; ++i)
                    p[static_cast<std::size_t>(i)] +=
                        w.Weight * (b.turn[i][0] * w.xyz[0] + b.turn[i][1] * w.xyz[1] + b.turn[i][2] * w.xyz[2] + b.origin[i]);
            }
            out.back().push_back(p);
        });
    }
    return out;
}

// The same at frame K of the skeleton.
std::vector<std::vector<Vec3>> ownSkinning(formats::ByteView bytes, const formats::WeightedSurfaces& mesh,
                                           const formats::SkeletonIndex& skeleton, formats::ByteView skeletonBytes,
                                           std::uint32_t frame) {
    std::vector<formats::BonePose3> poses;
    formats::evaluatePose(skeleton, skeletonBytes, frame, poses);
    return skinnedAt(bytes, mesh, poses);
}

struct Comparison {
    double largest = 0.0;  // game units
    double height = 0.0;
    double residual = 0.0;  // the exporter's bind residual
    std::size_t vertices = 0;
};

// The exported file's skinned meshes (read back, glTF axes and metres;
// posed by `animation` at `seconds` when given) against `expected` (game
// axes and units), surface by surface.
Comparison compare(const std::string& glb, const std::vector<std::vector<Vec3>>& expected, int animation = -1,
                   double seconds = 0.0) {
    tinygltf::Model model;
    std::string error;
    EXPECT_TRUE(gltftest::load(glb, model, error)) << error;
    Comparison c;
    const auto& extras = model.scenes.at(0).extras;
    if (extras.Has("bindResidual")) c.residual = extras.Get("bindResidual").GetNumberAsDouble();
    const std::vector<gltftest::PosedMesh> posed = gltftest::posedMeshes(model, animation, seconds);
    double low = 1e30, high = -1e30;
    std::size_t surface = 0;
    for (const auto& mesh : posed) {
        if (surface >= expected.size()) break;
        const auto& want = expected[surface++];
        EXPECT_EQ(mesh.points.size(), want.size()) << mesh.name;
        for (std::size_t v = 0; v < std::min(want.size(), mesh.points.size()); ++v) {
            const Vec3& g = mesh.points[v];
            const Vec3 game{g[2] / kScale, g[0] / kScale, g[1] / kScale};
            double d = 0.0;
            for (int i = 0; i < 3; ++i) d += (game[static_cast<std::size_t>(i)] - want[v][static_cast<std::size_t>(i)]) *
                                            (game[static_cast<std::size_t>(i)] - want[v][static_cast<std::size_t>(i)]);
            c.largest = std::max(c.largest, std::sqrt(d));
            low = std::min(low, want[v][2]);
            high = std::max(high, want[v][2]);
            ++c.vertices;
        }
    }
    EXPECT_EQ(surface, expected.size());
    c.height = high - low;
    return c;
}

// Each frame, wherever the bind frame is: the difference is the bind
// pose's disagreement at most (the demo's vertices have at most 3
// weights, so none is dropped), and within 0.5 % of the body's height.
void expectClose(const Comparison& c, std::uint32_t frame) {
    EXPECT_GT(c.vertices, 500u);
    EXPECT_LE(c.largest, c.residual + 1e-3) << "frame " << frame;
    EXPECT_LE(c.largest, 0.005 * c.height) << "frame " << frame << ": height " << c.height;
    std::printf("frame %u: largest difference %.4f units (%.3f %% of %.1f), bind residual %.4f, %zu vertices\n", frame,
                c.largest, 100.0 * c.largest / c.height, c.height, c.residual, c.vertices);
}

TEST(RoundTrip, DemoBodyPosedThroughJointsAndWeightsMatchesOwnSkinning) {
    const exporttest::Folder folder;
    const std::string& dir = folder.path;
    const std::string player = exporttest::demoPlayer(dir);
    const std::vector<std::uint8_t> body = bytesOf(player + "/body.mds");
    const formats::ByteView bytes(body.data(), body.size());
    const formats::MdsIndex index = formats::indexMds(bytes, formats::Reader::Draw);
    ASSERT_TRUE(index.ok());
    for (const std::uint32_t frame : {0u, 5u, 27u}) {
        const auto run = exportModel(dir, {"--anims", "none", "--frame", std::to_string(frame), "--out", "f.glb", player});
        ASSERT_EQ(run.status, 0);
        expectClose(compare(dir + "/f.glb", ownSkinning(bytes, index, index, bytes, frame)), frame);
    }
}

// walk (frames 0-19 looping, 20 fps) on the legs, idle (20-35 looping,
// 10 fps) on the torso: one animation of one play of idle at walk's frame
// time. Each step read back from its keys against the split pose of the
// frames the renderer shows then, worked out here by hand. Aimed, bones of
// partial torso weight are shrunk by the game's blend of turns, which a
// joint cannot carry: 50 degrees shrink a half-weight bone by 1 - cos 25
// (9 %) across the turn, so the body differs by about 1 % of its height.
TEST(RoundTrip, LegsTorsoPairBakesTheRenderersSplitSteps) {
    const exporttest::Folder folder;
    const std::string& dir = folder.path;
    const std::string player = exporttest::demoPlayer(dir);
    const std::vector<std::uint8_t> body = bytesOf(player + "/body.mds");
    const formats::ByteView bytes(body.data(), body.size());
    const formats::MdsIndex index = formats::indexMds(bytes, formats::Reader::Draw);
    ASSERT_TRUE(index.ok());
    struct Step {
        std::uint32_t step, legs, torso, torsoNext;
        float torsoLerp;
    };
    const auto own = [&](const Step& s, const formats::TorsoTurn& turn) {
        const formats::IndexedFrame legs{&index, bytes, s.legs, s.legs, 0.0f};
        const formats::IndexedFrame torso{&index, bytes, s.torso, s.torsoNext, s.torsoLerp};
        std::vector<formats::BonePose3> poses;
        formats::evaluateSplitPose(index, bytes, legs, torso, turn, true, poses);
        return skinnedAt(bytes, index, poses);
    };
    formats::TorsoTurn turn;
    turn.torsoParent = index.header.TorsoParent;
    // Step 21 (1.05 s): walk has looped to frame 1; idle is halfway from 30 to 31.
    const Step late{21, 1, 30, 31, 0.5f};

    ASSERT_EQ(exportModel(dir, {"--legs", "walk", "--torso", "idle", "--frame", "21", "--out", "p.glb", player}).status, 0);
    tinygltf::Model model;
    std::string error;
    ASSERT_TRUE(gltftest::load(dir + "/p.glb", model, error)) << error;
    ASSERT_EQ(model.animations.size(), 1u);
    const tinygltf::Value& extras = model.animations[0].extras;
    EXPECT_EQ(model.animations[0].name, "legs_walk+torso_idle");
    EXPECT_EQ(extras.Get("steps").GetNumberAsInt(), 32);
    EXPECT_EQ(extras.Get("torso").Get("name").Get<std::string>(), "idle");
    EXPECT_EQ(extras.Get("torso").Get("loopFrames").GetNumberAsInt(), 16);
    for (const Step& s : {Step{0, 0, 20, 21, 0.0f}, late, Step{31, 11, 35, 20, 0.5f}})
        expectClose(compare(dir + "/p.glb", own(s, turn), 0, s.step * 0.05), s.step);
    // --frame K with a pair: the nodes show step K without the animation.
    expectClose(compare(dir + "/p.glb", own(late, turn)), late.step);

    ASSERT_EQ(exportModel(dir, {"--legs", "walk", "--torso", "idle", "--torso-aim", "-10,50", "--out", "a.glb", player})
                  .status,
              0);
    formats::anglesToAxis(-10.0f, 50.0f, 0.0f, turn.axis);
    const Comparison aimed = compare(dir + "/a.glb", own(late, turn), 0, late.step * 0.05);
    EXPECT_LE(aimed.largest, 0.015 * aimed.height);
    std::printf("aimed: largest difference %.4f units (%.3f %%)\n", aimed.largest, 100.0 * aimed.largest / aimed.height);
}

TEST(RoundTrip, MdmOnItsMdxAndMd3FramesMatchTheFiles) {
    const exporttest::Folder folder;
    const std::string& dir = folder.path;
    for (const char* shape : {"mdm", "mdx", "md3"})
        exporttest::run(dir, MKMODEL_PATH, {shape, std::string("m.") + shape});
    const std::vector<std::uint8_t> mdm = bytesOf(dir + "/m.mdm"), mdx = bytesOf(dir + "/m.mdx");
    const formats::ByteView meshBytes(mdm.data(), mdm.size()), skeletonBytes(mdx.data(), mdx.size());
    const formats::MdmIndex mesh = formats::indexMdm(meshBytes, formats::Reader::Draw);
    const formats::MdxIndex skeleton = formats::indexMdx(skeletonBytes, formats::Reader::Draw);
    ASSERT_TRUE(mesh.ok() && skeleton.ok());
    ASSERT_EQ(exportModel(dir, {"--skeleton", "m.mdx", "--frame", "7", "--out", "m.gltf", "m.mdm"}).status, 0);
    expectClose(compare(dir + "/m.gltf", ownSkinning(meshBytes, mesh, skeleton, skeletonBytes, 7)), 7);

    // A vertex-animated model: frame 2 through the morph targets.
    ASSERT_EQ(exportModel(dir, {"--frame", "2", "--out", "h.glb", "m.md3"}).status, 0);
    const std::vector<std::uint8_t> md3 = bytesOf(dir + "/m.md3");
    const formats::ByteView bytes(md3.data(), md3.size());
    const formats::Md3Index x = formats::indexMd3(bytes, formats::Reader::Draw);
    std::vector<std::vector<Vec3>> frame2;
    for (const auto& s : x.surfaces) {
        frame2.emplace_back();
        for (std::int64_t k = 0; k < s.numVertices(); ++k) {
            const auto v = bytes.read<formats::Md3XyzNormal>(s.xyzNormal(2, k));
            frame2.back().push_back({v.xyz[0] / 64.0, v.xyz[1] / 64.0, v.xyz[2] / 64.0});
        }
    }
    const Comparison c = compare(dir + "/h.glb", frame2);
    EXPECT_LT(c.largest, 1e-4);
}

}  // namespace
