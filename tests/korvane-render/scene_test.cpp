// Model files drawn alone (every format, told by its first bytes), the
// demo player posed with legs and torso apart and aimed, and level of
// detail: what the pictures show and what the LOD log counts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>

#include "run_tool.h"
#include "scoped_log.h"

namespace {

using krt::Picture;
using krt::Result;

class Scenes : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testing_support::TempDir();
        ASSERT_EQ(krt::runMkplayer(dir_->path()), 0);
        for (const char* shape : {"md3", "mdm", "mdx"}) {
            const std::string command = std::string(MKMODEL_PATH) + " " + shape + " '" + dir_->file("alone.") + shape +
                                        "' >/dev/null";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
        }
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static Result render(const std::vector<std::string>& args) { return krt::runRender(dir_->path(), args); }
    static Result player(std::vector<std::string> extra) {
        std::vector<std::string> args = {"--base-dir", "models/players", "--model", "infantryss"};
        args.insert(args.end(), extra.begin(), extra.end());
        return render(args);
    }
    static Picture picture(const std::string& name) { return krt::readPng(dir_->file(name)); }
    static testing_support::TempDir* dir_;
};
testing_support::TempDir* Scenes::dir_ = nullptr;

constexpr const char* kPlayerDir = "models/players/infantryss/";

TEST_F(Scenes, EveryModelFileAloneIsFramedWhole) {
    const std::string mds = std::string(kPlayerDir) + "body.mds";
    const std::string mdc = std::string(kPlayerDir) + "head.mdc";
    const std::vector<std::vector<std::string>> files = {
        {"alone.md3"}, {mdc}, {mds}, {"alone.mdm", "--skeleton", "alone.mdx"}};
    for (const std::vector<std::string>& file : files) {
        SCOPED_TRACE(file.front());
        std::vector<std::string> args = file;
        args.insert(args.end(), {"--frame", "0", "--no-grid", "--size", "160x120", "--out", "alone.png"});
        const Result run = render(args);
        ASSERT_EQ(run.status, 0) << (run.ownLines.empty() ? "" : run.ownLines[0]);
        const Picture im = picture("alone.png");
        ASSERT_EQ(im.size(), std::make_pair(160, 120));
        const krt::Extent e = krt::modelIn(im, 0, 160);
        ASSERT_GT(e.count, 400);
        EXPECT_GT(e.left, 0);
        EXPECT_GT(e.top, 0);
        EXPECT_LT(e.right, 159);
        EXPECT_LT(e.bottom, 119);
        EXPECT_TRUE(e.spanX() >= 160 * 2 / 3 || e.spanY() >= 120 * 2 / 3) << "fills the picture on one axis";
    }
}

TEST_F(Scenes, FilesThatCannotBeDrawnAloneAreUsageErrors) {
    // By the first bytes, not the name: an MDM mesh called .md3 still needs its skeleton.
    dir_->write("mesh.md3", krt::readFile(dir_->file("alone.mdm")));
    for (const char* file : {"alone.mdm", "mesh.md3", "alone.mdx"}) {
        const Result run = render({file, "--out", "none.png"});
        EXPECT_EQ(run.status, 2) << file;
        EXPECT_EQ(run.ownLines.size(), 1u) << file;
    }
    EXPECT_EQ(render({"alone.md3", "--legs", "walk", "--torso", "idle", "--out", "none.png"}).status, 2);
}

TEST_F(Scenes, LegsAndTorsoPoseApartAndTheAimTurnsTheTorsoOnly) {
    // One camera for every picture, level with the hips, so that pictures compare pixel by pixel.
    const std::vector<std::string> look = {"--camera", "0,38,110,0,0", "--no-grid", "--size", "120x120"};
    const auto draw = [&](std::vector<std::string> pose, const std::string& out) {
        pose.insert(pose.end(), look.begin(), look.end());
        pose.insert(pose.end(), {"--out", out});
        ASSERT_EQ(player(pose).status, 0) << out;
    };
    // --lod 1 poses the whole-body animation the same way as legs and torso.
    draw({"--anim", "walk", "--lod", "1"}, "walk.png");
    draw({"--legs", "walk", "--torso", "walk", "--frame", "0"}, "both.png");
    draw({"--legs", "walk", "--torso", "idle", "--frame", "0"}, "split.png");
    draw({"--legs", "walk", "--torso", "idle", "--frame", "0", "--torso-aim", "0,50"}, "aimed.png");
    EXPECT_EQ(picture("both.png"), picture("walk-0000.png")) << "one animation on both parts is the animation";
    EXPECT_NE(picture("split.png"), picture("both.png"));

    const Picture split = picture("split.png"), aimed = picture("aimed.png");
    ASSERT_EQ(split.size(), aimed.size());
    const auto rowDiffers = [&](int y) {
        return !std::equal(split.at(0, y), split.at(0, y) + 3 * split.width, aimed.at(0, y));
    };
    int upper = 0, lower = 0;
    for (int y = 0; y < 50; ++y) upper += rowDiffers(y) ? 1 : 0;
    for (int y = 75; y < 120; ++y) lower += rowDiffers(y) ? 1 : 0;
    EXPECT_GT(upper, 20) << "the torso turns";
    EXPECT_EQ(lower, 0) << "the legs stay";
}

// Kept vertices and triangles of every surface, summed from the LOD lines.
std::pair<long, long> keptOf(const Result& run) {
    static const std::regex line(R"(LOD .*: (\d+) of \d+ vertices, (\d+) of \d+ triangles)");
    std::pair<long, long> kept{0, 0};
    for (const std::string& l : run.ownLines) {
        std::smatch m;
        if (!std::regex_search(l, m, line)) continue;
        kept.first += std::stol(m[1]);
        kept.second += std::stol(m[2]);
    }
    return kept;
}

TEST_F(Scenes, LevelOfDetailKeepsFewerAsItFalls) {
    std::pair<long, long> before{1L << 40, 1L << 40};
    for (const char* factor : {"1", "0.6", "0.3"}) {
        const Result run = player({"--lod", factor, "--verbose", "--size", "64x64", "--out", "lod.png"});
        ASSERT_EQ(run.status, 0) << factor;
        EXPECT_EQ(run.ownLines.size(), 4u) << "one line per surface";
        const std::pair<long, long> kept = keptOf(run);
        EXPECT_LT(kept.first, before.first) << factor;
        EXPECT_LT(kept.second, before.second) << factor;
        before = kept;
    }
    // By distance: near is whole, far keeps less.
    const Result near = player({"--lod-distance", "50", "--verbose", "--size", "64x64", "--out", "near.png"});
    const Result far = player({"--lod-distance", "3000", "--verbose", "--size", "64x64", "--out", "far.png"});
    ASSERT_EQ(near.status, 0);
    ASSERT_EQ(far.status, 0);
    EXPECT_EQ(keptOf(near), keptOf(player({"--lod", "1", "--verbose", "--size", "64x64", "--out", "lod.png"})));
    EXPECT_LT(keptOf(far).first, keptOf(near).first);
}

}  // namespace
