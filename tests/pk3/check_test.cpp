// korvane-check on the demo player inside a .pk3: the folder, its skins,
// textures and attachments are all found in the archive, as the viewer
// finds them, and give the same findings as the loose files.
#include <gtest/gtest.h>

#include "check/check.h"
#include "check/output.h"
#include "player_assembly.h"
#include "scoped_log.h"

namespace {

using testing_support::TempDir;

std::string findings(const std::string& path) {
    check::Report report;
    check::checkPath(path, check::Options{}, report);
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

}  // namespace
