// korvane-render --strict and korvane-check over the same player folders,
// one defect each (mkplayer/defect_folders.h): --strict fails exactly where
// the row says, its line names the file that failed, and korvane-check
// reports (a warning or an error) every folder on which --strict fails.
#include <gtest/gtest.h>

#include <filesystem>

#include "mkplayer/defect_folders.h"
#include "mkplayer/player.h"
#include "program_run.h"
#include "run_tool.h"
#include "scoped_log.h"

namespace {

const char* const kHeadless = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KORVANE_RENDER_CONTEXT=egl";

bool reportsAProblem(const testing_support::ProgramRun& check) {
    for (const std::string& line : check.lines)
        if (line.find("\"severity\": \"error\"") != std::string::npos ||
            line.find("\"severity\": \"warning\"") != std::string::npos)
            return true;
    return false;
}

TEST(StrictAndCheck, AgreeOnEveryDefectFolder) {
    testing_support::TempDir base;
    for (const mp::FolderDefect& d : mp::folderDefects()) {
        SCOPED_TRACE(d.name);
        std::string error;
        ASSERT_TRUE(mp::writeFolderDefect(base.path(), d, error)) << error;
        const std::string root = base.path() + "/" + d.name;
        std::vector<std::string> args = {"--base-dir", "models/players", "--model", "infantryss",
                                         "--size",     "64x64",          "--strict", "--out", "x.png"};
        if (d.gameDir) args.insert(args.end(), {"--game-dir", "game"});
        const krt::Result strict = krt::runRender(root, args, kHeadless);
        EXPECT_EQ(strict.status, d.strictFails ? 3 : 0);
        if (d.strictFails) {
            ASSERT_FALSE(strict.ownLines.empty());
            bool named = false;
            for (const std::string& line : strict.ownLines) named |= line.find(d.strictNames) != std::string::npos;
            EXPECT_TRUE(named) << strict.ownLines.front();
        }
        const testing_support::ProgramRun check = testing_support::runProgram(
            std::string("cd '") + root + "' && " + KORVANE_CHECK_PATH + " --json " +
            (d.gameDir ? "--game-dir game " : "") + mp::kModelFolder);
        if (strict.status == 3) {
            EXPECT_TRUE(reportsAProblem(check)) << "korvane-check found nothing --strict fails on";
        }
        EXPECT_EQ(check.status, d.severity == "error" ? 1 : 0);
    }
}

}  // namespace
