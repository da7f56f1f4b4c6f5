// korvane-render on the demo player: a clean load, pictures that show the
// animation, the textures on the body and the helmet above the face, the
// frame range and size options, and the exit status of every failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "run_tool.h"
#include "scoped_log.h"

namespace {

using krt::Picture;
using krt::Result;
using krt::runRender;

// The whole soldier, boots to helmet, in a square picture.
const char* const kFullView = "0,38,105,0,0";

struct Rgb {
    int r, g, b;
};
constexpr Rgb kSkin{222, 178, 146};     // face and hands texture
constexpr Rgb kUniform{96, 104, 84};    // tunic and trousers
constexpr Rgb kHelmet{88, 98, 80};      // helmet texture

bool near(const unsigned char* p, Rgb c, int tolerance) {
    return std::abs(p[0] - c.r) <= tolerance && std::abs(p[1] - c.g) <= tolerance && std::abs(p[2] - c.b) <= tolerance;
}

int count(const Picture& im, Rgb c, int tolerance) {
    int n = 0;
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x) n += near(im.at(x, y), c, tolerance) ? 1 : 0;
    return n;
}

class DemoRender : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testing_support::TempDir();
        ASSERT_EQ(krt::runMkplayer(dir_->path()), 0);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    static Result render(std::vector<std::string> extra) {
        std::vector<std::string> args = {"--base-dir", "models/players", "--model", "infantryss"};
        args.insert(args.end(), extra.begin(), extra.end());
        return runRender(dir_->path(), args);
    }
    static Picture picture(const std::string& name) { return krt::readPng(dir_->file(name)); }
    static std::string log() { return krt::readFile(dir_->file("log.htm")); }

    static testing_support::TempDir* dir_;
};
testing_support::TempDir* DemoRender::dir_ = nullptr;

TEST_F(DemoRender, LoadsCleanlyAndShowsTheAnimation) {
    const Result first = render({"--frame", "0", "--camera", kFullView, "--out", "f0.png"});
    ASSERT_EQ(first.status, 0) << (first.ownLines.empty() ? "" : first.ownLines[0]);
    EXPECT_TRUE(first.ownLines.empty());
    const std::string text = log();
    EXPECT_NE(text.find("</html>"), std::string::npos) << "log not closed";
    EXPECT_EQ(text.find("ERROR:"), std::string::npos) << text;

    ASSERT_EQ(render({"--frame", "15", "--camera", kFullView, "--out", "f15.png"}).status, 0);
    const Picture a = picture("f0.png");
    const Picture b = picture("f15.png");
    ASSERT_EQ(a.size(), std::make_pair(500, 500));
    ASSERT_EQ(b.size(), a.size());
    int differing = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) differing += std::memcmp(a.at(x, y), b.at(x, y), 3) != 0 ? 1 : 0;
    EXPECT_GT(differing, 1000) << "frames 0 and 15 should show different poses";
}

TEST_F(DemoRender, TexturesLandOnTheBodyAndTheHelmetSitsAboveTheFace) {
    ASSERT_EQ(render({"--camera", kFullView, "--out", "tex.png"}).status, 0);
    const Picture im = picture("tex.png");
    ASSERT_FALSE(im.rgb.empty());
    EXPECT_GT(count(im, kUniform, 14), 5000) << "uniform texture on the torso and legs";

    // The face: the topmost rows with skin colour, in the upper half.
    int faceTop = -1, faceLeft = im.width, faceRight = -1;
    for (int y = 0; y < im.height / 2 && faceTop < 0; ++y) {
        for (int x = 0; x < im.width; ++x) {
            if (!near(im.at(x, y), kSkin, 20)) continue;
            faceTop = y;
            faceLeft = std::min(faceLeft, x);
            faceRight = std::max(faceRight, x);
        }
    }
    ASSERT_GE(faceTop, 0) << "no skin colour in the upper half";
    EXPECT_GT(count(im, kSkin, 20), 300) << "face and hands";

    int helmet = 0;
    for (int y = 0; y < faceTop; ++y)
        for (int x = std::max(0, faceLeft - 10); x <= std::min(im.width - 1, faceRight + 10); ++x)
            helmet += near(im.at(x, y), kHelmet, 14) ? 1 : 0;
    EXPECT_GT(helmet, 200) << "helmet texture above the face";
}

TEST_F(DemoRender, NoMeshLeavesTheSkeletonAndAttachments) {
    ASSERT_EQ(render({"--camera", kFullView, "--out", "mesh.png"}).status, 0);
    ASSERT_EQ(render({"--camera", kFullView, "--no-mesh", "--out", "bare.png"}).status, 0);
    const Picture mesh = picture("mesh.png");
    const Picture bare = picture("bare.png");
    EXPECT_LT(count(bare, kUniform, 14) * 10, count(mesh, kUniform, 14));
    EXPECT_GT(count(bare, kSkin, 20), 100) << "the head is an attachment and stays";
}

TEST_F(DemoRender, RangeWritesNumberedFilesOfTheRequestedSize) {
    ASSERT_EQ(render({"--frames", "3-5", "--size", "200x120", "--out", "walk.png"}).status, 0);
    for (const char* name : {"walk-0003.png", "walk-0004.png", "walk-0005.png"}) {
        EXPECT_EQ(picture(name).size(), std::make_pair(200, 120)) << name;
    }
    EXPECT_NE(picture("walk-0003.png"), picture("walk-0005.png")) << "each file shows its own frame";
    EXPECT_FALSE(std::filesystem::exists(dir_->file("walk.png")));
    EXPECT_FALSE(std::filesystem::exists(dir_->file("walk-0006.png")));
}

TEST_F(DemoRender, FailuresExitNonZeroWithOneLine) {
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const std::vector<Case> cases = {
        {{"--model", "nobody", "--out", "x.png"}, 1},                       // no body.mds
        {{"--model", "infantryss", "--frame", "36", "--out", "x.png"}, 1},  // past the 36 frames
        {{"--model", "infantryss", "--out", "no/such/dir/x.png"}, 1},       // not writable
        {{"--model", "infantryss"}, 2},                                     // no --out
        {{"--model", "infantryss", "--out", "x.jpg"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--frame", "-1"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--frame", "2", "--frames", "1-3"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--frames", "5-3"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--size", "0x100"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--size", "100"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--camera", "1,2,3,4"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--camera", "1,2,3,4,x"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--spin"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--body-skin"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--body-skin", "a.skin", "--body-skin", "sub/a.skin"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--log", ""}, 2},
        {{"--model", std::string(30, 'a'), "--out", "x.png"}, 2},  // longer than the viewer's field
        {{"--model", "infantryss", "--out", "x.png", "--view", "side"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--sheet", "front,,top"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--view", "top", "--sheet", "front"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--view", "front", "--camera", "0,0,0,0,0"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--size", "3000x10", "--sheet", "front,back,top"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--samples", "3"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--background", "#12345"}, 2},
        {{"--model", "infantryss", "--out", "x.png", "--standing", "--frame", "2"}, 2},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--base-dir", "models/players"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result run = runRender(dir_->path(), args);
        std::string shown;
        for (const std::string& a : c.args) shown += a + " ";
        EXPECT_EQ(run.status, c.status) << shown;
        EXPECT_EQ(run.ownLines.size(), 1u) << shown;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_->file("x.png")));
    // The missing body is reported with its directory.
    const Result missing = runRender(dir_->path(), {"--base-dir", "models/players", "--model", "nobody", "--out", "x.png"});
    ASSERT_EQ(missing.ownLines.size(), 1u);
    EXPECT_NE(missing.ownLines[0].find("couldn't load body.mds"), std::string::npos) << missing.ownLines[0];
    EXPECT_NE(missing.ownLines[0].find("nobody"), std::string::npos) << missing.ownLines[0];
    EXPECT_NE(log().find("ERROR:"), std::string::npos);
}

}  // namespace
