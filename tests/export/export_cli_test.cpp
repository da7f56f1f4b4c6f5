// korvane-export on the command line: exit status, one-line failures that
// leave nothing behind, the two file forms; and the weights it writes.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <utility>

#include "export/bind_pose.h"
#include "export_test_util.h"
#include "gltf_pose.h"

namespace {

namespace fs = std::filesystem;
using exporttest::exportModel;

std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ExportCli, HelpVersionAndUsageErrors) {
    const exporttest::Folder folder;
    const std::string& dir = folder.path;
    const auto help = exportModel(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    ASSERT_FALSE(help.lines.empty());
    EXPECT_EQ(help.lines[0].rfind("usage: korvane-export", 0), 0u);
    EXPECT_EQ(exportModel(dir, {"--version"}).status, 0);
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"x.mds"}, {"--out", "x.obj", "x.mds"}, {"--weights", "5", "--out", "x.glb", "x.mds"},
          {"--model", "m", "--out", "x.glb"}, {"--frame", "-1", "--out", "x.glb", "x.mds"}, {"--bogus"},
          {"--legs", "walk", "--out", "x.glb", "x.mds"}, {"--legs", "a", "--torso", "b", "--anim", "c", "--out", "x.glb", "x.mds"},
          {"--torso-aim", "0,50", "--out", "x.glb", "x.mds"}, {"--legs", "a", "--torso", "b", "--torso-aim", "50", "--out", "x.glb", "x.mds"}})
        EXPECT_EQ(exportModel(dir, wrong).status, 2) << wrong[0];
}

TEST(ExportCli, FailuresAreOneLineAndLeaveNothing) {
    const exporttest::Folder folder;
    const std::string& dir = folder.path;
    exporttest::run(dir, MKMODEL_PATH, {"mdx", "s.mdx"});
    exporttest::run(dir, MKMODEL_PATH, {"mdm", "m.mdm"});
    const std::string player = exporttest::demoPlayer(dir + "/p");
    struct Case {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--out", "o.glb", "s.mdx"}, "skeleton without a mesh"},
        {{"--out", "o.glb", "m.mdm"}, "--skeleton"},
        {{"--out", "o.glb", "missing.mds"}, "missing.mds"},
        {{"--frame", "36", "--out", "o.gltf", player}, "frame 36 is past"},
        {{"--anim", "run", "--out", "o.glb", player}, "no animation 'run'"},
        {{"--legs", "walk", "--torso", "run", "--out", "o.glb", player}, "no animation 'run'"},
        {{"--legs", "walk", "--torso", "idle", "--frame", "32", "--out", "o.glb", player}, "step 32 is past the pair's 32"},
        {{"--legs", "walk", "--torso", "idle", "--skeleton", "s.mdx", "--out", "o.glb", "m.mdm"}, "no animation rows"},
        {{"--out", "no/such/folder/o.glb", player}, "cannot write"},
    };
    for (const Case& c : cases) {
        const auto run = exportModel(dir, c.args);
        EXPECT_EQ(run.status, 1) << c.says;
        ASSERT_EQ(run.lines.size(), 1u) << c.says;
        EXPECT_NE(run.lines[0].find(c.says), std::string::npos) << run.lines[0];
        EXPECT_EQ(run.lines[0].rfind("korvane-export: ", 0), 0u);
    }
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"m.mdm", "p", "s.mdx"}));
}

TEST(ExportCli, GltfFormWritesItsBufferAndImagesBesideAndBothLoad) {
    const exporttest::Folder folder;
    const std::string& dir = folder.path;
    const std::string player = exporttest::demoPlayer(dir + "/p");
    ASSERT_EQ(exportModel(dir, {"--out", "a.glb", "--weights", "8", player}).status, 0);
    ASSERT_EQ(exportModel(dir, {"--out", "a.gltf", player}).status, 0);
    const std::vector<std::string> files = filesIn(dir);
    EXPECT_EQ(files, (std::vector<std::string>{"a.bin", "a.glb", "a.gltf", "a_0.jpg", "a_1.jpg", "a_2.png", "a_3.png",
                                               "a_4.jpg", "a_5.png", "a_6.png", "a_7.jpg", "p"}));
    tinygltf::Model glb, gltf;
    std::string error;
    ASSERT_TRUE(gltftest::load(dir + "/a.glb", glb, error)) << error;
    ASSERT_TRUE(gltftest::load(dir + "/a.gltf", gltf, error)) << error;
    EXPECT_EQ(glb.images.size(), 8u);
    EXPECT_EQ(glb.images[0].bufferView >= 0, true);  // inside the binary chunk
    EXPECT_EQ(glb.animations.size(), 2u);            // walk and idle
    EXPECT_EQ(glb.animations[0].name, "walk");
    EXPECT_EQ(glb.animations[0].extras.Get("fps").GetNumberAsDouble(), 20.0);
    EXPECT_EQ(glb.skins.at(0).joints.size(), 56u);
    EXPECT_TRUE(glb.meshes.at(0).primitives.at(0).attributes.count("WEIGHTS_1"));
    EXPECT_FALSE(gltf.meshes.at(0).primitives.at(0).attributes.count("WEIGHTS_1"));
}

TEST(ExportWeights, FourLargestKeptPerBoneAndScaledToOneInFloat) {
    exporter::SkinnedSurface s;
    s.weightStart = {0, 7};
    const float w[7] = {0.3f, 0.05f, 0.2f, 0.1f, 0.15f, 0.1f, 0.1f};
    const std::int32_t bones[7] = {3, 9, 1, 3, 2, 4, 99};  // bone 3 twice; 99 has no pose
    for (int k = 0; k < 7; ++k) s.weights.push_back({bones[k], w[k], {0, 0, 0}});
    exporter::WeightLoss loss;
    const exporter::VertexWeights out = exporter::vertexWeights(s, 10, 4, loss);
    EXPECT_EQ(out.joints, (std::vector<std::uint16_t>{3, 1, 2, 4}));
    float sum = 0.0f;
    for (const float x : out.weights) sum += x;
    EXPECT_EQ(sum, 1.0f);
    EXPECT_NEAR(out.weights[0], 0.4 / 0.85, 1e-6);
    EXPECT_EQ(loss.vertices, 1u);
    EXPECT_FLOAT_EQ(static_cast<float>(loss.largestDropped), 0.05f);
    EXPECT_EQ(loss.unweighted, 0u);
}

}  // namespace

namespace {

// The keys of the first rotation channel of an animation: its target node and values.
std::pair<int, std::vector<double>> firstRotation(const tinygltf::Model& m, const tinygltf::Animation& a) {
    for (const tinygltf::AnimationChannel& c : a.channels)
        if (c.target_path == "rotation") {
            const std::vector<double> keys = gltftest::readAccessor(m, a.samplers[static_cast<std::size_t>(c.sampler)].output);
            if (keys.size() > 4) return {c.target_node, keys};
        }
    return {-1, {}};
}

}  // namespace

// A character's REVERSED row (the demo's walk_back: walk's frames) plays its
// frames from the last to the first, key for key.
TEST(ExportCharacter, AReversedRowPlaysItsFramesBackwards) {
    const exporttest::Folder folder;
    const std::string& dir = folder.path;
    exporttest::run(dir, MKPLAYER_PATH, {"--character", dir + "/game"});
    const auto run = exportModel(dir, {"--char", "characters/demo/soldier.char", "--game-dir", "game", "--anims",
                                       "walk,walk_back", "--out", "c.glb"});
    ASSERT_EQ(run.status, 0) << (run.lines.empty() ? "" : run.lines[0]);
    tinygltf::Model m;
    std::string error;
    ASSERT_TRUE(gltftest::load(dir + "/c.glb", m, error)) << error;
    ASSERT_EQ(m.animations.size(), 2u);
    EXPECT_TRUE(m.animations[1].extras.Get("reversed").Get<bool>());
    const auto [node, forward] = firstRotation(m, m.animations[0]);
    const auto [backNode, backward] = firstRotation(m, m.animations[1]);
    ASSERT_EQ(node, backNode);
    ASSERT_EQ(forward.size(), backward.size());
    const std::size_t keys = forward.size() / 4;
    for (std::size_t k = 0; k < keys; ++k)
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_NEAR(std::fabs(backward[4 * k + i]), std::fabs(forward[4 * (keys - 1 - k) + i]), 1e-6) << k;
}

// A legs/torso pair of rows on two MDX files of the group: each part plays
// on its own file, as the game plays it; so does each row exported whole.
TEST(ExportCharacter, APairPlaysEachRowOnItsOwnSkeletonFile) {
    const exporttest::Folder folder;
    const std::string& dir = folder.path;
    exporttest::run(dir, MKPLAYER_PATH, {"--character", dir + "/game"});
    const auto run = exportModel(dir, {"--char", "characters/demo/soldier.char", "--game-dir", "game", "--legs", "walk",
                                       "--torso", "idle", "--out", "c.glb"});
    ASSERT_EQ(run.status, 0) << (run.lines.empty() ? "" : run.lines[0]);
    tinygltf::Model m;
    std::string error;
    ASSERT_TRUE(gltftest::load(dir + "/c.glb", m, error)) << error;
    ASSERT_EQ(m.animations.size(), 1u);
    const auto skeleton = [&](const char* part) { return m.animations[0].extras.Get(part).Get("skeleton").Get<std::string>(); };
    EXPECT_NE(skeleton("legs").find("walk.mdx"), std::string::npos);
    EXPECT_NE(skeleton("torso").find("idle.mdx"), std::string::npos);

    // Every row of the group, idle.mdx's too, is an animation of its own file.
    const auto all = exportModel(dir, {"--char", "characters/demo/soldier.char", "--game-dir", "game", "--out", "all.glb"});
    ASSERT_EQ(all.status, 0) << (all.lines.empty() ? "" : all.lines[0]);
    tinygltf::Model whole;
    ASSERT_TRUE(gltftest::load(dir + "/all.glb", whole, error)) << error;
    std::vector<std::string> onIdle;
    for (const tinygltf::Animation& a : whole.animations)
        if (a.extras.Has("skeleton") && a.extras.Get("skeleton").Get<std::string>().find("idle.mdx") != std::string::npos)
            onIdle.push_back(a.name);
    EXPECT_EQ(whole.animations.size(), 6u);
    EXPECT_EQ(onIdle, (std::vector<std::string>{"idle", "idle_glance"}));
}
