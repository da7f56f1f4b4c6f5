// --char: the demo character of the sibling game drawn from its game
// folder, with the head and the helmet on top of the body (on their tags,
// not at the body's feet), its animations listed from its group.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "run_tool.h"
#include "scoped_log.h"

namespace {

// The topmost row holding a pixel other than the white background; -1 when none.
int topOf(const krt::Picture& p, long& covered) {
    int top = -1;
    covered = 0;
    for (int y = p.height - 1; y >= 0; --y)
        for (int x = 0; x < p.width; ++x) {
            const unsigned char* c = p.at(x, y);
            if (c[0] == 255 && c[1] == 255 && c[2] == 255) continue;
            ++covered;
            top = y;
        }
    return top;
}

TEST(Character, DrawnWithHeadAndHatOnTheirTagsAndAnimationsListed) {
    testing_support::TempDir dir;
    const std::string write = std::string("'") + MKPLAYER_PATH + "' --character '" + dir.file("game") + "' >/dev/null";
    ASSERT_EQ(std::system(write.c_str()), 0);
    const std::vector<std::string> camera = {"--camera", "0,30,160,0,0", "--no-grid", "--size", "200x300"};

    std::vector<std::string> args = {"--char", "characters/demo/soldier.char", "--game-dir", "game", "--out", "char.png"};
    args.insert(args.end(), camera.begin(), camera.end());
    const krt::Result drawn = krt::runRender(dir.path(), args);
    ASSERT_EQ(drawn.status, 0);
    EXPECT_TRUE(drawn.ownLines.empty()) << drawn.ownLines.front();
    args = {"game/models/players/demo/body.mdm", "--skeleton", "game/animations/human/demo/walk.mdx", "--out", "body.png"};
    args.insert(args.end(), camera.begin(), camera.end());
    ASSERT_EQ(krt::runRender(dir.path(), args).status, 0);

    long withHead = 0, bodyOnly = 0;
    const int top = topOf(krt::readPng(dir.file("char.png")), withHead);
    const int bodyTop = topOf(krt::readPng(dir.file("body.png")), bodyOnly);
    ASSERT_GE(bodyTop, 0);
    EXPECT_LT(top, bodyTop - 15) << "the head and the helmet stand above the neck";
    EXPECT_GT(withHead, bodyOnly);

    ASSERT_EQ(krt::runRender(dir.path(), {"--char", "game/characters/demo/soldier.char", "--list-anims"}).status, 0);
    const std::string listed = krt::readFile(dir.file("render.out"));
    EXPECT_NE(listed.find("\nwalk_slow 0 20 -1 12.5 0 animations/human/demo/walk.mdx\n"), std::string::npos) << listed;
    EXPECT_NE(listed.find("\nwalk_back 0 20 -1 20 1 "), std::string::npos) << listed;
    EXPECT_NE(listed.find("\n2 2 2 2 10\n"), std::string::npos) << "hud head row 2: " << listed;
}

// --head-anim N plays a row of the hud head's animations on the head: row 0
// nods through the head's frames 0 to 3, so frame 0 looks as without it and
// frame 2 does not; a row the character lacks fails, and --char is needed.
TEST(Character, TheHeadPlaysItsHudHeadRow) {
    testing_support::TempDir dir;
    const std::string write = std::string("'") + MKPLAYER_PATH + "' --character '" + dir.file("game") + "' >/dev/null";
    ASSERT_EQ(std::system(write.c_str()), 0);
    const auto draw = [&](const std::vector<std::string>& extra, const std::string& out) {
        std::vector<std::string> args = {"--char", "characters/demo/soldier.char", "--game-dir", "game", "--camera",
                                         "0,30,160,0,0", "--size", "160x240", "--out", out};
        args.insert(args.end(), extra.begin(), extra.end());
        return krt::runRender(dir.path(), args).status;
    };
    ASSERT_EQ(draw({"--frame", "0"}, "still0.png"), 0);
    ASSERT_EQ(draw({"--frame", "0", "--head-anim", "0"}, "nod0.png"), 0);
    ASSERT_EQ(draw({"--frame", "2"}, "still2.png"), 0);
    ASSERT_EQ(draw({"--frame", "2", "--head-anim", "0"}, "nod2.png"), 0);
    EXPECT_EQ(krt::readFile(dir.file("still0.png")), krt::readFile(dir.file("nod0.png")));
    EXPECT_NE(krt::readFile(dir.file("still2.png")), krt::readFile(dir.file("nod2.png")));

    EXPECT_EQ(draw({"--head-anim", "16"}, "none.png"), 1);
    EXPECT_NE(krt::readFile(dir.file("render.err")).find("no hud head animation 16"), std::string::npos);
    EXPECT_EQ(krt::runRender(dir.path(), {"game/models/players/demo/head.md3", "--head-anim", "0", "--out", "x.png"}).status, 2);
}

}  // namespace
