// The whole demo player assembled by the viewer's own entry steps, once
// from loose files and once from a .pk3 holding the same files: the reports
// in log.htm must be the same line for line, with no error in either.
#include <gtest/gtest.h>

#include "player_assembly.h"
#include "scoped_log.h"

namespace {

using testing_support::TempDir;

TEST(Pk3Player, TheDemoPlayerLoadsFromAnArchiveExactlyAsFromDisk) {
    TempDir loose, packed;
    std::string error;
    ASSERT_TRUE(pk3_fixture::writePlayerBothWays(loose.path(), packed.path(), &error)) << error;

    const pk3_fixture::Assembly fromDisk = pk3_fixture::assembleIn(loose.path());
    const pk3_fixture::Assembly fromArchive = pk3_fixture::assembleIn(packed.path());

    EXPECT_EQ(fromDisk.report.find("ERROR"), std::string::npos) << fromDisk.report;
    EXPECT_NE(fromDisk.report.find("<h1>MDC: hat</h1>"), std::string::npos);
    EXPECT_EQ(fromArchive.report, fromDisk.report);
    EXPECT_EQ(fromDisk.liveResources, 0);
    EXPECT_EQ(fromArchive.liveResources, 0);
}

}  // namespace
