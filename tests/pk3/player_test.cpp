// The whole demo player assembled by the viewer's own entry steps, once
// from loose files and once from a .pk3 holding the same files: the reports
// in log.htm must be the same line for line, with no error in either.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_main.h"
#include "app/app_state.h"
#include "app/startup_dialog.h"
#include "fake_shell.h"
#include "mkplayer/player.h"
#include "recording_device.h"
#include "scoped_log.h"
#include "zip_writer.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

// Runs the viewer's start-up and model assembly in `dir` with the start-up
// dialog's defaults; returns the log's body without the renderer's line,
// which carries an address.
std::string assembleIn(const std::string& dir, int* liveAfterShutdown) {
    const fs::path old = fs::current_path();
    fs::current_path(dir);
    std::string report;
    {
        resetAppState();
        FakeShell shell;
        rec::ScopedRecordingDirect3D direct3d;
        testing_support::ScopedLog log;
        std::snprintf(BaseDir, sizeof BaseDir, "%s", ".\\models\\players");
        std::snprintf(ModelName, sizeof ModelName, "%s", "infantryss");
        std::snprintf(BodySkin, sizeof BodySkin, "%s", "body_default.skin");
        std::snprintf(HeadSkin, sizeof HeadSkin, "%s", "head_default.skin");
        composeModelDir();
        startViewer(shell::SW_SHOW);
        assembleModel();
        std::istringstream lines(log.body());
        for (std::string line; std::getline(lines, line);)
            if (line.find("D3D::D3D(...)") == std::string::npos) report += line + "\n";
        rec::RecordingDevice* device = direct3d.lastDevice();
        shutdownViewer();
        *liveAfterShutdown = device != nullptr ? device->liveResources() : -1;
        resetAppState();
    }
    fs::current_path(old);
    return report;
}

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(Pk3Player, TheDemoPlayerLoadsFromAnArchiveExactlyAsFromDisk) {
    TempDir disk;
    const mp::WriteResult written = mp::writePlayer(disk.path());
    ASSERT_TRUE(written.ok) << written.error;

    // The same files, and only them, inside pak0.pk3 of another folder.
    TempDir packed;
    std::vector<pk3_fixture::Member> members;
    for (const auto& entry : fs::recursive_directory_iterator(disk.path()))
        if (entry.is_regular_file())
            members.push_back({fs::relative(entry.path(), disk.path()).generic_string(), readAll(entry.path())});
    ASSERT_GE(members.size(), 10u);
    ASSERT_TRUE(pk3_fixture::writeZip(packed.file("pak0.pk3"), members));

    int liveDisk = -1, livePacked = -1;
    const std::string fromDisk = assembleIn(disk.path(), &liveDisk);
    const std::string fromArchive = assembleIn(packed.path(), &livePacked);

    EXPECT_EQ(fromDisk.find("ERROR"), std::string::npos) << fromDisk;
    EXPECT_NE(fromDisk.find("<h1>MDC: hat</h1>"), std::string::npos);
    EXPECT_EQ(fromArchive, fromDisk);
    EXPECT_EQ(liveDisk, 0);
    EXPECT_EQ(livePacked, 0);
}

}  // namespace
