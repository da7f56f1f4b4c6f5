// The demo character resolved as the game would: every file found, its
// accessories on their tags, its animations; and each of its defects gives
// its one finding at the file and line that cause it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "game/character.h"
#include "scoped_log.h"

#ifdef KV_HAVE_MKPLAYER
#include "mkplayer/demo_character.h"

namespace {

std::string errorsOf(const game::Character& c) {
    std::string out;
    for (const auto& m : c.messages)
        if (m.severity != game::Severity::Note) out += m.text() + "\n";
    return out;
}

game::Character load(const testing_support::TempDir& dir) {
    game::SearchPath search;
    std::string why;
    EXPECT_TRUE(search.addFolder(dir.path(), why)) << why;
    return game::loadCharacter(mp::kCharacterFile, search);
}

TEST(Character, TheDemoCharacterResolvesWhole) {
    testing_support::TempDir dir;
    ASSERT_TRUE(mp::writeCharacter(dir.path()).ok);
    const game::Character c = load(dir);
    EXPECT_EQ(errorsOf(c), "");
    for (const game::FileRef* f : c.files()) EXPECT_TRUE(f->found()) << f->named;
    EXPECT_TRUE(c.mesh.read);
    EXPECT_TRUE(c.head.read);
    ASSERT_EQ(c.accessories.size(), 4u);
    EXPECT_STREQ(c.accessories.back().slot->key, "md3_hat");
    EXPECT_TRUE(c.accessories.back().skin.read);
    ASSERT_EQ(c.animations.mdx.size(), 2u);
    EXPECT_EQ(c.animations.rowCount(), 6u);
    EXPECT_EQ(c.hudHeadRows.size(), 16u);

    // A .char given by its disk path finds its game folder itself.
    const game::Character byDisk = game::loadCharacter(dir.file(mp::kCharacterFile), game::SearchPath());
    EXPECT_EQ(errorsOf(byDisk), "");
    EXPECT_TRUE(byDisk.head.read);
}

// A mod folder's copy of the body skin is the one taken, and --verbose says
// so: the reason a custom skin does or does not show.
TEST(Character, ProvenanceNamesTheSourceAndWhatItHides) {
    testing_support::TempDir base, mod;
    ASSERT_TRUE(mp::writeCharacter(base.path()).ok);
    const game::Character plain = load(base);
    const std::filesystem::path skin = plain.bodySkin.named;
    std::filesystem::create_directories(std::filesystem::path(mod.path()) / skin.parent_path());
    std::filesystem::copy_file(std::filesystem::path(base.path()) / skin, std::filesystem::path(mod.path()) / skin);

    game::SearchPath search;
    std::string why;
    ASSERT_TRUE(search.addFolder(base.path(), why) && search.addFolder(mod.path(), why)) << why;
    const game::Character c = game::loadCharacter(mp::kCharacterFile, search);
    const std::vector<std::string> lines = game::provenance(c, search);
    const std::string wanted = plain.bodySkin.named + ": folder " + search.sources()[1].path + " (hides folder " +
                               search.sources()[0].path + ")";
    EXPECT_NE(std::find(lines.begin(), lines.end(), wanted), lines.end()) << testing::PrintToString(lines);
    EXPECT_EQ(lines.front(), c.file.named + ": folder " + search.sources()[0].path);
}

TEST(Character, EachDefectGivesItsFindingAtItsLine) {
    for (const mp::CharacterDefect& d : mp::characterDefects()) {
        SCOPED_TRACE(d.name);
        testing_support::TempDir dir;
        mp::GameFiles files = mp::characterFiles();
        d.change(files);
        ASSERT_TRUE(mp::writeGameFiles(dir.path(), files).ok);
        const game::Character c = load(dir);
        bool seen = false;
        for (const auto& m : c.messages)
            seen |= formats::idName(m.id) == d.id && m.file == d.file && m.line == d.line;
        EXPECT_TRUE(seen) << errorsOf(c);
    }
}

}  // namespace
#endif
