// korvane-check on the demo player inside a .pk3: the folder, its skins,
// textures and attachments are all found in the archive, as the viewer
// finds them, and give the same findings as the loose files.
#include <gtest/gtest.h>

#include "check/check.h"
#include "check/output.h"
#include "player_assembly.h"
#include "zip_writer.h"
#include "scoped_log.h"

namespace {

using testing_support::TempDir;

std::string findings(const std::string& path, const std::string& gameDir = "") {
    check::Options options;
    options.gameDir = gameDir;
    check::Report report;
    check::checkPath(path, options, report);
    return check::asText(report.findings());
}

TEST(Pk3Check, ThePackedDemoPlayerChecksCleanAsTheLooseOne) {
    TempDir loose, packed;
    std::string error;
    ASSERT_TRUE(pk3_fixture::writePlayerBothWays(loose.path(), packed.path(), &error)) << error;
    EXPECT_EQ(findings(loose.path() + "/models/players/infantryss"), "");
    EXPECT_EQ(findings(packed.path() + "/Models/Players/InfantrySS"), "");
    EXPECT_EQ(findings(packed.path() + "/models/players/infantryss/head.mdc"), "");
}

// A packed folder's wolfanim.cfg was once skipped: a broken one there
// passed while the same file checked on its own failed.
TEST(Pk3Check, APackedFoldersConfigIsReadLikeEveryOtherFile) {
    TempDir loose, packed;
    std::string error;
    ASSERT_TRUE(pk3_fixture::writePlayerBothWays(loose.path(), packed.path(), &error)) << error;
    // pak1.pk3 sorts after pak0.pk3, so its config wins.
    ASSERT_TRUE(pk3_fixture::writeZip(packed.path() + "/pak1.pk3", {{"models/players/infantryss/WOLFANIM.CFG",
                                                                     "version 2\nSTARTANIMS\nwalk 0 x\n"}}));
    const std::string folder = findings(packed.path() + "/models/players/infantryss");
    EXPECT_NE(folder.find("wolfanim.cfg: line 3: expected a frame count"), std::string::npos) << folder;
    EXPECT_EQ(findings(packed.path() + "/models/players/infantryss/wolfanim.cfg"), folder);
    // The same folder given relative to the game folder.
    EXPECT_EQ(findings("models/players/infantryss", packed.path()), folder);
}

}  // namespace
