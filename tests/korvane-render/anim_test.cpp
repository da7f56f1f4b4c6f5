// --list-anims and --anim on the demo player and on a second one with a
// handmade config: the listing, an animated WebP at the animation's speed
// with the loop rule's loop count, numbered pictures, and every refusal.
#include <gtest/gtest.h>
#include <webp/demux.h>

#include <cstdlib>
#include <filesystem>

#include "run_tool.h"
#include "scoped_log.h"

namespace {

using krt::Result;

struct Decoded {
    int frames = 0;
    int loopCount = -1;
    std::vector<int> ends;                  // each frame's end time in ms
    std::vector<std::vector<std::uint8_t>> pixels;
};

Decoded decode(const std::string& path) {
    const std::string bytes = krt::readFile(path);
    Decoded d;
    WebPData data{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
    WebPAnimDecoder* dec = WebPAnimDecoderNew(&data, nullptr);
    if (dec == nullptr) return d;
    WebPAnimInfo info;
    if (WebPAnimDecoderGetInfo(dec, &info)) {
        d.frames = static_cast<int>(info.frame_count);
        d.loopCount = static_cast<int>(info.loop_count);
        while (WebPAnimDecoderHasMoreFrames(dec)) {
            std::uint8_t* rgba = nullptr;
            int end = 0;
            if (!WebPAnimDecoderGetNext(dec, &rgba, &end)) break;
            d.ends.push_back(end);
            d.pixels.emplace_back(rgba, rgba + info.canvas_width * info.canvas_height * 4);
        }
    }
    WebPAnimDecoderDelete(dec);
    return d;
}

class DemoAnims : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testing_support::TempDir();
        ASSERT_EQ(krt::runMkplayer(dir_->path()), 0);
        // A second demo player with a handmade config.
        custom_ = new testing_support::TempDir();
        ASSERT_EQ(krt::runMkplayer(custom_->path()), 0);
        custom_->write("models/players/infantryss/wolfanim.cfg",
                    "version 2 skeletal startanims\nonce 5 3 0 10 0\nintro 0 4 2 25 0 100 2\nlate 30 10 10 10 0\n"
                    "back 1 2 4 10 0\n\"slow walk\" 0 4 4 10 0\nendanims\n");
    }
    static void TearDownTestSuite() {
        delete dir_;
        delete custom_;
        dir_ = custom_ = nullptr;
    }
    // "other" is the demo player with the handmade config.
    static Result render(const std::string& model, std::vector<std::string> extra) {
        const bool other = model == "other";
        std::vector<std::string> args = {"--base-dir", "models/players", "--model", other ? "infantryss" : model};
        args.insert(args.end(), extra.begin(), extra.end());
        return krt::runRender((other ? custom_ : dir_)->path(), args);
    }
    static testing_support::TempDir* dir_;
    static testing_support::TempDir* custom_;
};
testing_support::TempDir* DemoAnims::dir_ = nullptr;
testing_support::TempDir* DemoAnims::custom_ = nullptr;

TEST_F(DemoAnims, ListsTheDemoConfigWithoutDrawing) {
    std::filesystem::remove(dir_->file("log.htm"));
    const Result r = render("infantryss", {"--list-anims"});
    ASSERT_EQ(r.status, 0) << (r.ownLines.empty() ? "" : r.ownLines[0]);
    EXPECT_EQ(krt::readFile(dir_->file("render.out")),
              "# NAME FIRST FRAMES LOOP FPS (models/players/infantryss/wolfanim.cfg, 2 animations)\n"
              "walk 0 20 20 20\n"
              "idle 20 16 16 10\n");
    EXPECT_FALSE(std::filesystem::exists(dir_->file("log.htm")));
}

// A quoted name with a space once split its row into one column more.
TEST_F(DemoAnims, ListingQuotesANameWithWhiteSpace) {
    const Result r = render("other", {"--list-anims"});
    ASSERT_EQ(r.status, 0);
    const std::string out = krt::readFile(custom_->file("render.out"));
    EXPECT_NE(out.find("\nback 1 2 4 10\n\"slow walk\" 0 4 4 10\n"), std::string::npos) << out;
}

TEST_F(DemoAnims, WalkBecomesALoopingWebpAtTheGamesSpeed) {
    const Result r = render("infantryss", {"--anim", "Walk", "--size", "96x96", "--out", "walk.webp"});
    ASSERT_EQ(r.status, 0) << (r.ownLines.empty() ? "" : r.ownLines[0]);
    const Decoded d = decode(dir_->file("walk.webp"));
    ASSERT_EQ(d.frames, 20);
    EXPECT_EQ(d.loopCount, 0);
    ASSERT_EQ(d.ends.size(), 20u);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(d.ends[k], 50 * (k + 1)) << k;  // 20 fps
    EXPECT_NE(d.pixels[0], d.pixels[10]) << "the frames show the walk";

    // Transparent, the model framed whole: clear corners, an opaque middle.
    ASSERT_EQ(render("infantryss", {"--anim", "walk", "--size", "96x96", "--background", "transparent", "--no-grid",
                                    "--out", "clear.webp"})
                  .status,
              0);
    const Decoded clear = decode(dir_->file("clear.webp"));
    ASSERT_EQ(clear.frames, 20);
    for (const std::vector<std::uint8_t>& rgba : clear.pixels) {
        EXPECT_EQ(rgba[3], 0);
        EXPECT_EQ(rgba[4 * (96 * 96) - 1], 0);
        int opaque = 0;
        for (std::size_t i = 3; i < rgba.size(); i += 4) opaque += rgba[i] == 255 ? 1 : 0;
        EXPECT_GT(opaque, 300);
    }
}

TEST_F(DemoAnims, HoldsPlaysOnceAndWritesNumberedPictures) {
    const Result once = render("other", {"--anim", "once", "--size", "96x96", "--camera", "0,38,105,0,0", "--out", "once.webp"});
    ASSERT_EQ(once.status, 0) << (once.ownLines.empty() ? "" : once.ownLines[0]);
    const Decoded d = decode(custom_->file("once.webp"));
    EXPECT_EQ(d.loopCount, 1) << "no loop: played once, stays on the last frame";
    EXPECT_EQ(d.ends, (std::vector<int>{100, 200, 300}));

    ASSERT_EQ(render("other", {"--anim", "once", "--size", "40x30", "--out", "o.png"}).status, 0);
    for (const char* name : {"o-0005.png", "o-0006.png", "o-0007.png"})
        EXPECT_TRUE(std::filesystem::exists(custom_->file(name))) << name;
    EXPECT_FALSE(std::filesystem::exists(custom_->file("o-0008.png")));
}

TEST_F(DemoAnims, FailuresExitNonZeroWithOneLine) {
    dir_->write("models/players/broken/body.mds", krt::readFile(dir_->file("models/players/infantryss/body.mds")));
    dir_->write("models/players/broken/wolfanim.cfg", "version 2\nstartanims\nwalk 0 20\nendanims\n");
    struct Case {
        std::string model;
        std::vector<std::string> args;
        int status;
        std::string says;
    };
    const std::vector<Case> cases = {
        {"other", {"--anim", "late", "--out", "x.webp"}, 1,
         "animation 'late' (models/players/infantryss/wolfanim.cfg:4) uses frames 30 to 39, past the body's 36 frames"},
        {"other", {"--anim", "back", "--out", "x.webp"}, 1, "uses frames -1 to 2"},
        {"other", {"--anim", "run", "--out", "x.webp"}, 1, "no animation 'run' in models/players/infantryss/wolfanim.cfg"},
        {"broken", {"--list-anims"}, 1, "models/players/broken/wolfanim.cfg:3: expected a loop frame count after 'walk'"},
        {"broken", {"--anim", "walk", "--out", "x.png"}, 1, "wolfanim.cfg:3:"},
        {"nobody", {"--list-anims"}, 1, "models/players/nobody/wolfanim.cfg: no such file"},
        {"other", {"--anim", "once", "--frame", "2", "--out", "x.png"}, 2, "--anim excludes --frame and --frames"},
        {"other", {"--frame", "2", "--out", "x.webp"}, 2, "--out FILE.webp needs --anim NAME"},
        {"other", {"--out", "x.png", "--anim"}, 2, "--anim needs an animation name"},
    };
    for (const Case& c : cases) {
        const Result run = render(c.model, c.args);
        EXPECT_EQ(run.status, c.status) << c.says;
        ASSERT_EQ(run.ownLines.size(), 1u) << c.says;
        EXPECT_NE(run.ownLines[0].find(c.says), std::string::npos) << run.ownLines[0];
    }
    EXPECT_FALSE(std::filesystem::exists(custom_->file("x.webp")));
}

// A character's row plays at its own decimal speed (12.5 fps: 80 ms a
// frame), every frame of the row, looping.
TEST(CharacterAnims, ARowOfTheGroupBecomesAWebpAtItsSpeed) {
    testing_support::TempDir dir;
    const std::string write = std::string("'") + MKPLAYER_PATH + "' --character '" + dir.file("game") + "' >/dev/null";
    ASSERT_EQ(std::system(write.c_str()), 0);
    const krt::Result r = krt::runRender(dir.path(), {"--char", "characters/demo/soldier.char", "--game-dir", "game",
                                                      "--anim", "walk_slow", "--size", "64x64", "--out", "slow.webp"});
    ASSERT_EQ(r.status, 0) << (r.ownLines.empty() ? "" : r.ownLines[0]);
    const Decoded d = decode(dir.file("slow.webp"));
    ASSERT_EQ(d.frames, 20);
    EXPECT_EQ(d.loopCount, 0);
    ASSERT_EQ(d.ends.size(), 20u);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(d.ends[k], 80 * (k + 1)) << k;
}

}  // namespace
