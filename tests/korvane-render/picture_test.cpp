// Pictures to post: without --camera the demo player is framed whole in
// every view and every frame of a range, a wide picture keeps its aspect,
// the background is a colour or transparent, --samples smooths the edges,
// and --standing draws the idle animation's first frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "run_tool.h"
#include "scoped_log.h"

namespace {

using krt::Picture;
using krt::Result;

using krt::Extent;
using krt::modelIn;

class Pictures : public testing::Test {
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
        return krt::runRender(dir_->path(), args);
    }
    static Picture picture(const std::string& name, int channels = 3) {
        return krt::readPng(dir_->file(name), channels);
    }
    static testing_support::TempDir* dir_;
};
testing_support::TempDir* Pictures::dir_ = nullptr;

TEST_F(Pictures, EveryViewFramesThePlayerWholeInEveryFrameOfTheRange) {
    const char* const views[] = {"front", "back", "left", "right", "three-quarter", "top"};
    const int cell = 120;
    ASSERT_EQ(render({"--sheet", "front,back,left,right,three-quarter,top", "--frames", "0-19", "--size", "120x120",
                      "--no-grid", "--out", "views.png"})
                  .status,
              0);
    for (int frame = 0; frame < 20; ++frame) {
        const std::string name = "views-00" + std::string(frame < 10 ? "0" : "") + std::to_string(frame) + ".png";
        const Picture im = picture(name);
        ASSERT_EQ(im.size(), std::make_pair(6 * cell, cell)) << name;
        for (int v = 0; v < 6; ++v) {
            SCOPED_TRACE(testing::Message() << name << " " << views[v]);
            const Extent e = modelIn(im, v * cell, cell);
            ASSERT_GT(e.count, 0);
            EXPECT_GT(e.left, 0);
            EXPECT_GT(e.top, 0);
            EXPECT_LT(e.right, cell - 1);
            EXPECT_LT(e.bottom, cell - 1);
            // Standing upright in the side views; about as wide as deep from above.
            EXPECT_GE(std::max(e.spanX(), e.spanY()), v == 5 ? cell / 3 : cell * 2 / 3);
        }
    }
    // A view alone is the sheet's cell.
    ASSERT_EQ(render({"--view", "right", "--frames", "0-19", "--size", "120x120", "--no-grid", "--out", "right.png"})
                  .status,
              0);
    const Picture alone = picture("right-0007.png");
    const Picture sheet = picture("views-0007.png");
    ASSERT_EQ(alone.size(), std::make_pair(cell, cell));
    for (int y = 0; y < cell; ++y) {
        ASSERT_TRUE(std::equal(alone.at(0, y), alone.at(0, y) + 3 * cell, sheet.at(3 * cell, y))) << "row " << y;
    }
}

TEST_F(Pictures, WidePictureKeepsTheAspect) {
    ASSERT_EQ(render({"--view", "front", "--size", "400x400", "--no-grid", "--out", "square.png"}).status, 0);
    ASSERT_EQ(render({"--view", "front", "--size", "800x400", "--no-grid", "--out", "wide.png"}).status, 0);
    const Picture square = picture("square.png");
    const Picture wide = picture("wide.png");
    ASSERT_EQ(wide.size(), std::make_pair(800, 400));
    const Extent a = modelIn(square, 0, 400);
    const Extent b = modelIn(wide, 0, 800);
    // The player is taller than wide: its height fills both pictures alike.
    EXPECT_NEAR(b.spanX(), a.spanX(), 2);
    EXPECT_NEAR(b.spanY(), a.spanY(), 2);
    EXPECT_NEAR(b.left + b.right, 800 - 1, 4) << "centred";
}

TEST_F(Pictures, BackgroundIsAColourOrTransparent) {
    ASSERT_EQ(render({"--background", "#203040", "--size", "100x100", "--out", "blue.png"}).status, 0);
    const Picture blue = picture("blue.png");
    ASSERT_FALSE(blue.rgb.empty());
    EXPECT_EQ(std::vector<int>(blue.at(0, 0), blue.at(0, 0) + 3), (std::vector<int>{0x20, 0x30, 0x40}));

    ASSERT_EQ(render({"--background", "transparent", "--size", "200x200", "--out", "clear.png"}).status, 0);
    const Picture clear = picture("clear.png", 4);
    ASSERT_EQ(clear.fileChannels, 4);
    for (auto [x, y] : {std::pair{0, 0}, {199, 0}, {0, 199}, {199, 199}}) EXPECT_EQ(clear.at(x, y)[3], 0);
    ASSERT_EQ(render({"--background", "transparent", "--size", "200x200", "--no-grid", "--out", "bare.png"}).status, 0);
    const Picture bare = picture("bare.png", 4);
    const Extent e = modelIn(bare, 0, 200);
    long opaque = 0;
    for (int y = e.top; y <= e.bottom; ++y)
        for (int x = e.left; x <= e.right; ++x) opaque += bare.at(x, y)[3] == 255 ? 1 : 0;
    EXPECT_EQ(opaque, e.count) << "without anti-aliasing every model pixel is opaque";
    EXPECT_GT(e.count, 2000);
}

TEST_F(Pictures, SamplesSmoothTheEdges) {
    // Over a transparent background an edge pixel's alpha is the share of
    // its samples the model covers: only 0 and 255 without anti-aliasing.
    const Result run = render({"--samples", "8", "--background", "transparent", "--no-grid", "--view", "front",
                               "--size", "200x200", "--out", "smooth.png"});
    ASSERT_EQ(run.status, 0);
    std::set<int> levels;
    const Picture im = picture("smooth.png", 4);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x) levels.insert(im.at(x, y)[3]);
    // A context that cannot multisample says so and draws with fewer.
    ASSERT_LE(run.ownLines.size(), 1u);
    const std::string note = run.ownLines.empty() ? "" : run.ownLines[0];
    EXPECT_TRUE(note.empty() || note.find("--samples 8") != std::string::npos) << note;
    if (note.find("drawing with 1") != std::string::npos) GTEST_SKIP() << note;
    EXPECT_GE(levels.size(), 4u) << "0, 255 and levels between them on the edges";
}

TEST_F(Pictures, StandingIsTheIdleAnimationsFirstFrame) {
    // The demo's config: walk from 0, idle from 20.
    ASSERT_EQ(render({"--standing", "--size", "100x100", "--out", "stand.png"}).status, 0);
    ASSERT_EQ(render({"--frame", "20", "--size", "100x100", "--out", "idle.png"}).status, 0);
    ASSERT_EQ(render({"--frame", "0", "--size", "100x100", "--out", "walk.png"}).status, 0);
    EXPECT_EQ(picture("stand.png"), picture("idle.png"));
    EXPECT_NE(picture("stand.png"), picture("walk.png"));
}

}  // namespace
