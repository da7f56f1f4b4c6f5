// The config reader on handmade texts: every form the game accepts, and a
// broken twin for each refusal with the file and line in its message.
#include <gtest/gtest.h>

#include "anim/anim_config.h"
#include "scoped_log.h"

namespace {

using anim::Config;

const char* const kFull = R"(// a comment line
VERSION 2   /* a comment
               over two lines */
Skeletal
footsteps "boot"
HeadOffset 1.5 -2 0
sex male
StartAnims
"Walk Slow" 10 20 20 15.9 90
idle        30 8  0  0.5  0   250       // blend time only
RUN         38 12 4  30   150.5 200 -3
ENDANIMS
HEADFRAMES
talk 0 4 0
"5" 2 1
blink 6 2
)";

TEST(AnimConfig, ReadsEveryRowFormHeaderAndHeadFrames) {
    Config c;
    std::string error;
    ASSERT_TRUE(anim::parseConfig(kFull, "wolfanim.cfg", c, error)) << error;
    EXPECT_EQ(c.version, 2);
    EXPECT_TRUE(c.skeletal);
    EXPECT_EQ(c.footsteps, "boot");
    EXPECT_EQ(c.sex, "male");
    ASSERT_TRUE(c.headOffset);
    EXPECT_FLOAT_EQ((*c.headOffset)[1], -2.0f);

    ASSERT_EQ(c.animations.size(), 3u);
    const anim::Animation& walk = c.animations[0];
    EXPECT_EQ(walk.name, "walk slow");  // quoted, lower-cased
    EXPECT_EQ(walk.line, 9);
    EXPECT_EQ(walk.firstFrame, 10u);
    EXPECT_EQ(walk.numFrames, 20u);
    EXPECT_EQ(walk.loopFrames, 20u);
    EXPECT_EQ(walk.fps, 15u);  // 15.9 cut to 15
    EXPECT_EQ(walk.frameMilliseconds(), 66u);
    EXPECT_FALSE(walk.animBlend);
    EXPECT_FALSE(walk.priority);

    const anim::Animation& idle = c.animations[1];
    EXPECT_EQ(idle.fps, 1u);  // 0.5 cuts to 0, which counts as 1
    EXPECT_EQ(idle.animBlend, 250);
    EXPECT_FALSE(idle.priority);

    const anim::Animation& run = c.animations[2];
    EXPECT_FLOAT_EQ(run.moveSpeed, 150.5f);
    EXPECT_EQ(run.animBlend, 200);
    EXPECT_EQ(run.priority, -3);
    EXPECT_EQ(c.find("Run"), &run);
    EXPECT_EQ(c.find("walk"), nullptr);

    // The first token of a head row is its name, even a number; the move
    // speed may be left out.
    ASSERT_EQ(c.headFrames.size(), 3u);
    EXPECT_EQ(c.headFrames[0].name, "talk");
    EXPECT_EQ(c.headFrames[0].numFrames, 4u);
    EXPECT_EQ(c.headFrames[1].name, "5");
    EXPECT_EQ(c.headFrames[1].firstFrame, 2u);
    EXPECT_FLOAT_EQ(c.headFrames[1].moveSpeed, 0.0f);
    EXPECT_EQ(c.headFrames[2].numFrames, 2u);
}

// A version 1 config as the game reads it: no STARTANIMS or ENDANIMS, the
// first number ends the header, 130 rows by position, then HEADFRAMES.
std::string versionOne(std::size_t rows, const std::string& before = "version 1\nskeletal\n") {
    std::string text = before;
    for (std::size_t i = 0; i < rows; ++i) text += std::to_string(i) + " 1 0 20 0" + (i == 3 ? " 100" : "") + "\n";
    return text;
}

TEST(AnimConfig, VersionOneIsReadAsTheGameReadsIt) {
    Config c;
    std::string error;
    ASSERT_TRUE(anim::parseConfig(versionOne(130) + "HEADFRAMES\nhead_idle 130 5\n", "a.cfg", c, error)) << error;
    ASSERT_EQ(c.animations.size(), 130u);
    EXPECT_TRUE(c.skeletal);
    EXPECT_EQ(c.animations[3].name, "anim_3");
    EXPECT_EQ(c.animations[3].line, 6);
    EXPECT_EQ(c.animations[3].animBlend, 100);
    EXPECT_EQ(c.animations[129].firstFrame, 129u);
    ASSERT_EQ(c.headFrames.size(), 1u);
    EXPECT_EQ(c.headFrames[0].name, "head_idle");

    // No header at all, or STARTANIMS before the rows: the same rows.
    ASSERT_TRUE(anim::parseConfig(versionOne(130, ""), "b.cfg", c, error)) << error;
    EXPECT_EQ(c.version, 0);
    ASSERT_TRUE(anim::parseConfig(versionOne(130, "version 1 STARTANIMS\n"), "b.cfg", c, error)) << error;
    EXPECT_EQ(c.animations.size(), 130u);

    // The twins: a row short, and the invented layout that ends its rows early.
    EXPECT_FALSE(anim::parseConfig(versionOne(129), "c.cfg", c, error));
    EXPECT_EQ(error, "c.cfg:131: the file ends after 129 of the 130 animation rows of a version 1 config");
    EXPECT_FALSE(anim::parseConfig("version 1\nstartanims\n0 5 5 10 0\nendanims", "d.cfg", c, error));
    EXPECT_EQ(error.rfind("d.cfg:4: expected a first frame for anim_1, not 'endanims'", 0), 0u) << error;
    EXPECT_FALSE(anim::parseConfig(versionOne(131), "e.cfg", c, error));
    EXPECT_EQ(error, "e.cfg:133: unexpected '130' after the 130 animation rows");
}

TEST(AnimConfig, BrokenTwinsNameFileAndLine) {
    const std::string rows = "version 2\nstartanims\n";
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"version 2\nwalk 0 1 1 1 0\n", "x.cfg:2: unknown keyword 'walk'"},
        {"version\n2\nstartanims endanims", "x.cfg:1: expected a version number after 'version'"},
        {"headoffset 1 2 z\nstartanims endanims", "x.cfg:1: expected three numbers after 'headoffset', not 'z'"},
        {"footsteps\n", "x.cfg:1: expected a word after 'footsteps'"},
        {"version 2 skeletal\n", "x.cfg:1: no STARTANIMS before the end of the file"},
        {rows + "walk 0 20\n20 15 0\nendanims", "x.cfg:3: expected a loop frame count after 'walk'"},
        {rows + "walk 0\n", "x.cfg:3: expected a frame count after 'walk'"},
        {rows + "walk 0 -4 0 15 0\nendanims", "x.cfg:3: expected a frame count after 'walk', not '-4'"},
        {rows + "walk 0 4 0 fast 0\nendanims", "x.cfg:3: expected a speed in frames per second after 'walk'"},
        {rows + "walk 0 4 0 -1 0\nendanims", "x.cfg:3: expected a speed in frames per second after 'walk', not '-1'"},
        {rows + "walk 0 4 0 10\nendanims", "x.cfg:3: expected a move speed after 'walk'"},
        {rows + "walk 0 4 0 10 0 soft\nendanims", "x.cfg:3: expected a blend time after 'walk', not 'soft'"},
        {rows + "walk 0 4 0 10 0 1 2.5\nendanims", "x.cfg:3: expected a priority after 'walk', not '2.5'"},
        {rows + "walk 0 4 0 10 0 1 2 3\nendanims", "x.cfg:3: unexpected '3' at the end of the row of 'walk'"},
        {rows + "walk 0 4 0 10 0\n", "x.cfg:2: STARTANIMS here has no ENDANIMS"},
        {"startanims\nwalk 0 4 0 10 0\nendanims", "x.cfg:2: expected a first frame for anim_0, not 'walk'"},
        {"skeletal\n", "x.cfg:1: the file ends after 0 of the 130 animation rows"},
        {rows + "endanims\nwalk", "x.cfg:4: unexpected 'walk' after ENDANIMS"},
        {rows + "endanims\nheadframes\ntalk 0\n", "x.cfg:5: expected a frame count after 'talk'"},
        {rows + "endanims\nheadframes\ntalk 0 4 x\n", "x.cfg:5: expected a move speed after 'talk', not 'x'"},
        {rows + "endanims\nheadframes\nt 0 4 1 9\n", "x.cfg:5: unexpected '9' at the end of the head row"},
        {"/* open\n\n", "x.cfg:1: the comment opened here has no */"},
        {"sex \"male\nstartanims", "x.cfg:1: the quote opened here ends without its closing \""},
    };
    for (const Case& c : cases) {
        Config config;
        std::string error;
        EXPECT_FALSE(anim::parseConfig(c.text, "x.cfg", config, error)) << c.text;
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << "got: " << error << "\nwanted: " << c.message;
        EXPECT_TRUE(config.animations.empty());
    }
}

TEST(AnimConfig, FileLimitsAndMissingFile) {
    testing_support::TempDir dir;
    Config c;
    std::string error;
    EXPECT_FALSE(anim::loadConfig(dir.file("none.cfg").c_str(), "none.cfg", c, error));
    EXPECT_EQ(error, "none.cfg: no such file");

    // 512 rows are read, the 513th is refused by name (not silently dropped).
    std::string text = "version 2 startanims\n";
    for (int i = 0; i < 512; ++i) text += "a" + std::to_string(i) + " 0 1 0 1 0\n";
    dir.write("Full.CFG", text + "endanims\n");
    ASSERT_TRUE(anim::loadConfig(dir.file("full.cfg").c_str(), "full.cfg", c, error)) << error;  // any letter case
    EXPECT_EQ(c.animations.size(), 512u);
    dir.write("over.cfg", text + "a512 0 1 0 1 0\nendanims\n");
    EXPECT_FALSE(anim::loadConfig(dir.file("over.cfg").c_str(), "over.cfg", c, error));
    EXPECT_EQ(error, "over.cfg:514: more than 512 animations (the game has room for 512)");

    std::string big = "version 2 startanims endanims";
    big.resize(anim::kMaxFileBytes + 1, ' ');
    dir.write("big.cfg", big);
    EXPECT_FALSE(anim::loadConfig(dir.file("big.cfg").c_str(), "big.cfg", c, error));
    EXPECT_EQ(error, "big.cfg: 100001 bytes, more than the 100000 the game reads");
    big.resize(anim::kMaxFileBytes);
    dir.write("big.cfg", big);
    EXPECT_TRUE(anim::loadConfig(dir.file("big.cfg").c_str(), "big.cfg", c, error)) << error;
}

}  // namespace
