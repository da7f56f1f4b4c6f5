// Separator handling and case-insensitive lookup on a real directory tree.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/sys/path.h"
#include "platform/sys/game_root.h"
#include "platform/sys/sys.h"
#include "scoped_log.h"

namespace {

using testing_support::TempDir;

TEST(Paths, BackslashesAreSeparators) {
    EXPECT_EQ(sys::normalizeSeparators("models\\players\\x/body.mds"), "models/players/x/body.mds");
    TempDir dir;
    dir.write("models/players/x/body.mds", "abc");
    const std::string p = dir.path() + "\\models\\players\\x\\body.mds";
    EXPECT_EQ(sys::resolvePath(p), dir.file("models/players/x/body.mds"));
    EXPECT_TRUE(sys::openForReading(p.c_str()).valid());
}

TEST(Paths, MixedCaseFoldersAreFoundFromLowerCaseNames) {
    TempDir dir;
    dir.write("Models/Players/InfantrySS/Body.MDS", "abc");
    const std::string asked = dir.path() + "/models\\players\\infantryss\\body.mds";
    EXPECT_EQ(sys::resolvePath(asked), dir.file("Models/Players/InfantrySS/Body.MDS"));
    sys::File f = sys::openForReading(asked.c_str());
    ASSERT_TRUE(f.valid());
    EXPECT_EQ(sys::fileSize(f), 3u);
}

TEST(Paths, SeveralMatchesPickTheFirstInByteOrder) {
    TempDir dir;
    dir.write("skins/HEAD.skin", "upper");
    dir.write("skins/head.SKIN", "mixed");
    dir.write("skins/Head.skin", "title");
    // "HEAD.skin" < "Head.skin" < "head.SKIN" in byte order.
    EXPECT_EQ(sys::resolvePath(dir.path() + "/skins/hEAD.skin"), dir.file("skins/HEAD.skin"));
    // An exact match always wins.
    EXPECT_EQ(sys::resolvePath(dir.path() + "/skins/head.SKIN"), dir.file("skins/head.SKIN"));
}

TEST(Paths, MissingComponentsGiveNothing) {
    TempDir dir;
    dir.write("a/b.txt", "x");
    EXPECT_EQ(sys::resolvePath(dir.path() + "/A/c.txt"), "");
    EXPECT_EQ(sys::resolvePath(dir.path() + "/q/b.txt"), "");
    EXPECT_EQ(sys::resolvePath(""), "");
    // A file used as a folder is not a path.
    EXPECT_EQ(sys::resolvePath(dir.path() + "/a/B.TXT/more"), "");
}

TEST(Paths, RelativePathsResolveFromTheWorkingDirectory) {
    TempDir dir;
    dir.write("Data/File.TXT", "x");
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(sys::resolvePath("data\\file.txt"), "Data/File.TXT");
    EXPECT_EQ(sys::resolvePath("./DATA/FILE.txt"), "./Data/File.TXT");
    std::filesystem::current_path(old);
}

// korvane-render --game-dir: a file missing where the viewer looks is taken
// from its game path below the game folder; a file present where the viewer
// looks still wins, and nothing climbs out of the game folder.
TEST(Paths, TheGameFolderServesGamePathsTheModelFolderLacks) {
    TempDir dir;
    dir.write("game/models/players/x/legs.jpg", "game");
    dir.write("work/x/torso.jpg", "own");
    const std::string model = dir.path() + "/work/x";
    EXPECT_EQ(sys::gameRootPath("models/players/x/legs"), "");  // no game folder yet
    sys::setGameRoot(dir.path() + "/game/");
    EXPECT_EQ(sys::gameRootPath("models\\players/x/legs"), dir.path() + "/game/models/players/x/legs");
    EXPECT_EQ(sys::gameRootPath("../secret"), "");
    EXPECT_EQ(sys::gameRootPath("a/../../secret"), "");
    EXPECT_EQ(sys::viewerOrGamePath(model + "\\legs.jpg", "models/players/x/Legs", ".jpg"),
              dir.path() + "/game/models/players/x/Legs.jpg");
    EXPECT_EQ(sys::viewerOrGamePath(model + "\\torso.jpg", "models/players/x/torso", ".jpg"), model + "\\torso.jpg");
    EXPECT_EQ(sys::viewerOrGamePath(model + "\\arms.jpg", "models/players/x/arms", ".jpg"), model + "\\arms.jpg");
    // The viewer's own paths are never mapped: only game paths are.
    EXPECT_FALSE(sys::openForReading((model + "\\legs.jpg").c_str()).valid());
    sys::setGameRoot("");
    EXPECT_EQ(sys::viewerOrGamePath(model + "\\legs.jpg", "models/players/x/legs", ".jpg"), model + "\\legs.jpg");
}

}  // namespace
