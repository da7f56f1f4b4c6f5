#include "player_assembly.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/app_main.h"
#include "app/app_state.h"
#include "app/startup_dialog.h"
#include "fake_shell.h"
#include "mkplayer/player.h"
#include "recording_device.h"
#include "scoped_log.h"
#include "zip_writer.h"

namespace pk3_fixture {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

bool writePlayerBothWays(const std::string& looseDir, const std::string& packedDir, std::string* error) {
    const mp::WriteResult written = mp::writePlayer(looseDir);
    if (!written.ok) {
        *error = written.error;
        return false;
    }
    std::vector<Member> members;
    for (const auto& entry : fs::recursive_directory_iterator(looseDir))
        if (entry.is_regular_file())
            members.push_back({fs::relative(entry.path(), looseDir).generic_string(), readAll(entry.path())});
    if (!writeZip(packedDir + "/pak0.pk3", members)) {
        *error = "cannot write pak0.pk3";
        return false;
    }
    return true;
}

Assembly assembleIn(const std::string& dir) {
    const fs::path old = fs::current_path();
    fs::current_path(dir);
    Assembly result;
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
            if (line.find("D3D::D3D(...)") == std::string::npos) result.report += line + "\n";
        rec::RecordingDevice* device = direct3d.lastDevice();
        shutdownViewer();
        result.liveResources = device != nullptr ? device->liveResources() : -1;
        resetAppState();
    }
    fs::current_path(old);
    return result;
}

}  // namespace pk3_fixture
