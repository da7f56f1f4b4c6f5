// The search path's order, as the game searches: inside one game folder
// its archives before its loose files, the later archive name first; a
// folder added later before everything added earlier. Each answer says
// which source it came from and which ones it hides.
#include <gtest/gtest.h>

#include "game/search_path.h"
#include "platform/sys/sys.h"
#include "scoped_log.h"
#include "zip_writer.h"

namespace {

std::string contentOf(const game::Located& at) {
    sys::File f = sys::openForReading(at.path.c_str());
    if (!f.valid()) return "<unreadable>";
    std::string bytes(sys::fileSize(f), '\0');
    bytes.resize(sys::readFile(f, bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    sys::closeFile(f);
    return bytes;
}

TEST(SearchPath, LaterArchivesOverEarlierOnesOverLooseFilesAndALaterFolderOverAll) {
    testing_support::TempDir dir;
    dir.write("base/skins/a.skin", "loose");
    dir.write("base/only_loose.txt", "loose only");
    dir.write("base/pak0.pk3", "");
    dir.write("base/Pak1.pk3", "");
    dir.write("base/pak_z.pk3", "");  // '_' sorts after the letters and digits
    ASSERT_TRUE(pk3_fixture::writeZip(dir.file("base/pak0.pk3"), {{"skins/a.skin", "pak0"}, {"skins/b.skin", "pak0"}}));
    ASSERT_TRUE(pk3_fixture::writeZip(dir.file("base/Pak1.pk3"), {{"Skins/A.skin", "pak1"}}));
    ASSERT_TRUE(pk3_fixture::writeZip(dir.file("base/pak_z.pk3"), {{"skins/b.skin", "pak_z"}}));
    dir.write("mod/skins/b.skin", "mod");

    game::SearchPath search;
    std::string why;
    ASSERT_TRUE(search.add(dir.file("base"), why)) << why;
    ASSERT_EQ(search.sources().size(), 4u);  // the folder, then its archives

    const game::Located a = search.find("skins/a.skin");
    EXPECT_EQ(contentOf(a), "pak1");
    ASSERT_TRUE(a.inGame());
    EXPECT_EQ(search.sources()[static_cast<std::size_t>(a.source)].kind, game::Source::Kind::Archive);
    EXPECT_EQ(a.overridden.size(), 2u);  // pak0 and the loose file
    EXPECT_EQ(contentOf(search.find("skins/b.skin")), "pak_z");
    EXPECT_EQ(contentOf(search.find("only_loose.txt")), "loose only");
    EXPECT_FALSE(search.find("skins/none.skin").found());
    EXPECT_FALSE(search.find("../base/skins/a.skin").found());

    ASSERT_TRUE(search.add(dir.file("mod"), why)) << why;
    const game::Located b = search.find("skins/b.skin");
    EXPECT_EQ(contentOf(b), "mod");
    EXPECT_EQ(b.source, 4);
    EXPECT_EQ(b.overridden, (std::vector<int>{3, 1}));

    // A disk path below a folder is taken by its game path: the archive hides it.
    std::string gamePath;
    EXPECT_EQ(contentOf(search.locate(dir.file("base/skins/a.skin"), &gamePath)), "pak1");
    EXPECT_EQ(gamePath, "skins/a.skin");
    EXPECT_FALSE(search.add(dir.file("missing"), why));
}

}  // namespace
