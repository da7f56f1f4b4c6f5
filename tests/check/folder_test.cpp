// A whole player folder (the demo player written by mkplayer's library):
// clean as written, then with one texture missing, found only with other
// letter case, or only below the game folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "check/check.h"
#include "check/output.h"
#include "mkplayer/player.h"

namespace {

namespace fs = std::filesystem;

class PlayerFolder : public ::testing::Test {
protected:
    void SetUp() override {
        base = fs::temp_directory_path() /
               (std::string("kv_check_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base);
        ASSERT_TRUE(mp::writePlayer(base.string()).ok);
        dir = base / mp::kModelFolder;
    }
    void TearDown() override { fs::remove_all(base); }

    std::vector<check::Finding> check(const std::string& gameDir = "") {
        check::Options options;
        options.gameDir = gameDir;
        check::Report report;
        check::checkPath(dir.string(), options, report);
        return report.findings();
    }

    fs::path base, dir;
};

std::vector<const check::Finding*> above(const std::vector<check::Finding>& findings, check::Severity s) {
    std::vector<const check::Finding*> out;
    for (const auto& f : findings)
        if (f.severity > s) out.push_back(&f);
    return out;
}

TEST_F(PlayerFolder, TheDemoPlayerChecksClean) {
    const auto findings = check();
    EXPECT_TRUE(above(findings, check::Severity::Note).empty()) << check::asText(findings);
}

TEST_F(PlayerFolder, ATextureIsFollowedToTheGameFolderAndAcrossLetterCase) {
    fs::rename(dir / "legs.jpg", base / "legs.jpg");
    const auto all = check();
    const auto findings = above(all, check::Severity::Note);
    ASSERT_EQ(findings.size(), 1u) << check::asText(all);
    EXPECT_STREQ(check::idName(findings[0]->id), "missing-texture");
    EXPECT_EQ(findings[0]->file, (dir / "body_default.skin").string());
    EXPECT_EQ(findings[0]->where.rfind("line ", 0), 0u) << findings[0]->where;

    // Below the game folder only: the game finds it, the viewer does not.
    const auto inGame = check(base.string());
    ASSERT_EQ(above(inGame, check::Severity::Note).size(), 1u) << check::asText(inGame);
    EXPECT_STREQ(check::idName(above(inGame, check::Severity::Note)[0]->id), "only-in-game-dir");

    // Back in the folder with other letter case: a note only.
    fs::rename(base / "legs.jpg", dir / "LEGS.jpg");
    const auto cased = check();
    EXPECT_TRUE(above(cased, check::Severity::Note).empty()) << check::asText(cased);
    EXPECT_TRUE(std::any_of(cased.begin(), cased.end(),
                            [](const check::Finding& f) { return f.id == check::Id::OtherCase; }));
}

TEST_F(PlayerFolder, SkinEntriesMustMatchSurfacesAndAttachmentsMustExist) {
    fs::remove(dir / "acc" / "pack.mdc");
    std::FILE* f = std::fopen((dir / "head_default.skin").string().c_str(), "ab");
    ASSERT_NE(f, nullptr);
    std::fputs("h_nothing,\"models/players/infantryss/face.tga\"\n", f);
    std::fclose(f);
    std::vector<std::string> ids;
    const auto all = check();
    for (const auto* x : above(all, check::Severity::Note)) ids.push_back(check::idName(x->id));
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<std::string>{"missing-attachment", "unknown-skin-key"}));
}

// The demo's config uses every frame; a range past the body and a gap are
// found, and a broken row is named by its line.
TEST_F(PlayerFolder, AnimationRangesAreCheckedAgainstTheBodysFrames) {
    auto write = [&](const char* text) {
        std::FILE* f = std::fopen((dir / "wolfanim.cfg").string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(text, f);
        std::fclose(f);
    };
    auto ids = [&] {
        std::vector<std::string> out;
        for (const auto& x : check())
            if (x.file.find("wolfanim") != std::string::npos) out.push_back(check::idName(x.id) + (" " + x.where));
        return out;
    };
    EXPECT_TRUE(ids().empty());
    write("skeletal\nversion 2\nSTARTANIMS\nwalk 0 20 20 20 0\nrun 30 20 20 20 0\nENDANIMS\n");
    EXPECT_EQ(ids(), (std::vector<std::string>{"animation-range line 5 'run'", "frames-unused frames"}));
    write("version 2\nSTARTANIMS\nwalk 0 x\n");
    EXPECT_EQ(ids(), (std::vector<std::string>{"animation-config line 3"}));
}

}  // namespace
