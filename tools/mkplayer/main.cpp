// mkplayer [BASEDIR]: writes the demo player below BASEDIR (default: the
// working directory), where the viewer's start-up defaults find it, and
// lists every file written.
// mkplayer --defects DIR: writes one player folder per defect below DIR
// (defect_folders.h) and says for each what korvane-check and
// korvane-render --strict give.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/program_info.h"
#include "mkplayer/defect_folders.h"
#include "mkplayer/player.h"
#include "platform/sys/command_line.h"

namespace {

constexpr const char* kUsage = "usage: mkplayer [BASEDIR] | --defects DIR\n";

int writeDefects(const std::string& dir) {
    for (const mp::FolderDefect& d : mp::folderDefects()) {
        std::string error;
        if (!mp::writeFolderDefect(dir, d, error)) {
            std::fprintf(stderr, "mkplayer: %s\n", error.c_str());
            return 1;
        }
        const std::string root = dir + "/" + d.name;
        std::printf("%s: %s\n  korvane-check %s%s/%s: %s", root.c_str(), d.what.c_str(),
                    d.gameDir ? ("--game-dir " + root + "/game ").c_str() : "", root.c_str(), mp::kModelFolder,
                    d.id.empty() ? "nothing above a note" : (d.severity + " " + d.id).c_str());
        if (!d.id.empty()) std::printf(" in %s at %s", d.file.empty() ? "the folder" : d.file.c_str(), d.where.c_str());
        std::printf("\n  korvane-render --strict: %s\n",
                    d.strictFails ? ("fails, naming " + d.strictNames).c_str() : "passes");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    sys::useUtf8CommandLine(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        std::fputs("Writes the demo player to BASEDIR/models/players/infantryss (BASEDIR defaults to the working\n"
                   "directory) and lists every file written. --defects DIR writes one player folder per defect\n"
                   "below DIR and says what korvane-check and korvane-render --strict give for each.\n",
                   stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        cli::printVersion("mkplayer");
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--defects") == 0) return writeDefects(argv[2]);
    if (cli::refuseOption(argc, argv, "mkplayer", kUsage)) return 2;
    if (argc > 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const mp::WriteResult r = mp::writePlayer(argc == 2 ? argv[1] : ".");
    for (const auto& path : r.written) std::printf("wrote %s\n", path.c_str());
    if (!r.ok) {
        std::fprintf(stderr, "mkplayer: %s\n", r.error.c_str());
        return 1;
    }
    return 0;
}
