// Which file a path names: disk first, then the archives of the nearest
// ancestor holding any, later archives over earlier ones, names compared
// ignoring case and separator style; and the explicit ARCHIVE.pk3:member form.
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/sys/path.h"

#include "pk3_test_util.h"
#include "platform/sys/archive_index.h"

namespace pk3_test {
namespace {

using LookupTest = Pk3Test;

TEST_F(LookupTest, MemberOnlyInAnArchiveReadsLikeAFile) {
    zip("main/pak0.pk3", {{"models/players/hud/body.mds", std::string("body\0bytes", 10)},
                          {"models/players/hud/stored.skin", "u_body,x.tga\n", true},
                          {"empty.txt", ""}});
    EXPECT_EQ(readWhole(dir.file("main/models/players/hud/body.mds")), std::string("body\0bytes", 10));
    EXPECT_EQ(readWhole(dir.file("main/models/players/hud/stored.skin")), "u_body,x.tga\n");
    EXPECT_EQ(readWhole(dir.file("main/empty.txt")), "");
    // The separators the models compose with.
    EXPECT_EQ(readWhole(dir.file("main\\models\\players/hud\\body.mds")), std::string("body\0bytes", 10));

    // Read in pieces, the rest comes after the first part, then nothing.
    sys::File f = sys::openForReading(dir.file("main/models/players/hud/stored.skin").c_str());
    ASSERT_TRUE(f.valid());
    EXPECT_EQ(sys::fileSize(f), 13u);
    char part[16] = {};
    EXPECT_EQ(sys::readFile(f, part, 7), 7u);
    EXPECT_EQ(sys::readFile(f, part + 7, 16), 6u);
    EXPECT_EQ(std::string(part, 13), "u_body,x.tga\n");
    EXPECT_EQ(sys::readFile(f, part, 16), 0u);
    sys::closeFile(f);

    EXPECT_FALSE(sys::openForReading(dir.file("main/models/players/hud/missing.mds").c_str()).valid());
    // Directories inside the archive are not files.
    EXPECT_FALSE(sys::openForReading(dir.file("main/models/players/hud").c_str()).valid());
}

TEST_F(LookupTest, LaterArchivesOverrideEarlierAndLooseFilesOverrideBoth) {
    zip("main/pak0.pk3", {{"a.txt", "pak0"}, {"b.txt", "pak0"}, {"c.txt", "pak0"}});
    // Ordered ignoring case: "PAK1" comes after "pak0" and before "zz".
    zip("main/PAK1.pk3", {{"b.txt", "PAK1"}, {"c.txt", "PAK1"}});
    zip("main/zz_mod.PK3", {{"c.txt", "zz"}});
    dir.write("main/b.txt", "loose");
    EXPECT_EQ(readWhole(dir.file("main/a.txt")), "pak0");
    EXPECT_EQ(readWhole(dir.file("main/b.txt")), "loose");
    EXPECT_EQ(readWhole(dir.file("main/c.txt")), "zz");
}

// The game folds names to upper case when it sorts them: an underscore
// (between 'Z' and 'a') sorts after every letter, not before.
TEST_F(LookupTest, ArchiveOrderFoldsToUpperCaseAsTheGameDoes) {
    zip("main/pak_a.pk3", {{"x.txt", "underscore"}});
    zip("main/pakb.pk3", {{"x.txt", "letter"}});
    EXPECT_EQ(readWhole(dir.file("main/x.txt")), "underscore");
    const std::vector<std::string> names = sys::archive::archiveNames(dir.file("main"));
    EXPECT_EQ(names, (std::vector<std::string>{"pakb.pk3", "pak_a.pk3"}));
}

TEST_F(LookupTest, NamesMatchIgnoringCaseOnBothSides) {
    zip("Main/pak0.pk3", {{"Models/Players/HUD/Body.MDS", "mixed"}, {"textures\\back\\slash.tga", "bs"}});
    EXPECT_EQ(readWhole(dir.file("main/models/players/hud/body.mds")), "mixed");
    EXPECT_EQ(readWhole(dir.file("MAIN/MODELS/players/Hud/BODY.mds")), "mixed");
    EXPECT_EQ(readWhole(dir.file("Main/textures/BACK/slash.tga")), "bs");
    // A partly unpacked tree on disk still leads to the archives above it.
    dir.write("Main/models/players/hud/other.txt", "x");
    EXPECT_EQ(readWhole(dir.file("Main/models/players/hud/body.mds")), "mixed");
}

TEST_F(LookupTest, OnlyTheNearestAncestorWithArchivesAnswers) {
    zip("top.pk3", {{"main/a.txt", "top"}, {"main/b.txt", "top"}});
    zip("main/pak0.pk3", {{"a.txt", "main"}});
    EXPECT_EQ(readWhole(dir.file("main/a.txt")), "main");
    EXPECT_FALSE(readWhole(dir.file("main/b.txt")).has_value());
    // ".." is followed on disk, but never inside an archive.
    EXPECT_EQ(readWhole(dir.file("main/../main/a.txt")), "main");
    EXPECT_FALSE(readWhole(dir.file("main/nothere/../a.txt")).has_value());
}

TEST_F(LookupTest, ExplicitArchiveMemberForm) {
    zip("sub/Player.PK3", {{"models/players/hud/body.mds", "explicit"}});
    EXPECT_EQ(readWhole(dir.file("sub/Player.PK3:models/players/hud/body.mds")), "explicit");
    EXPECT_EQ(readWhole(dir.file("sub/player.pk3:Models\\Players\\hud\\BODY.mds")), "explicit");
    EXPECT_FALSE(readWhole(dir.file("sub/Player.PK3:models/players/hud/head.mdc")).has_value());
    EXPECT_FALSE(readWhole(dir.file("sub/Player.PK3:")).has_value());
    EXPECT_FALSE(readWhole(dir.file("sub/other.pk3:models/players/hud/body.mds")).has_value());
    // A file on disk with a colon in its name is just a file.
    dir.write("sub/odd.pk3:name", "disk");
    EXPECT_EQ(readWhole(dir.file("sub/odd.pk3:name")), "disk");
}

TEST_F(LookupTest, AnArchiveAddedLaterIsSeen) {
    zip("main/pak0.pk3", {{"a.txt", "pak0"}});
    EXPECT_EQ(readWhole(dir.file("main/a.txt")), "pak0");
    EXPECT_FALSE(readWhole(dir.file("main/new.txt")).has_value());
    // The folder's time has to change for the index to be rebuilt; make
    // sure it does even on a coarse clock.
    zip("main/pak1.pk3", {{"a.txt", "pak1"}, {"new.txt", "new"}});
    const std::string main = dir.file("main");
    std::error_code ec;
    std::filesystem::last_write_time(sys::fsPath(main), std::filesystem::file_time_type{} + std::chrono::hours(1), ec);
    if (ec) {
        // Windows sets no time on a folder this way: change it by adding a
        // file a clock step later.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        dir.write("main/later.txt", "");
    }
    EXPECT_EQ(readWhole(dir.file("main/a.txt")), "pak1");
    EXPECT_EQ(readWhole(dir.file("main/new.txt")), "new");
}

}  // namespace
}  // namespace pk3_test
