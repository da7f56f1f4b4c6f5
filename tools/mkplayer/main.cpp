// mkplayer [BASEDIR]: writes the demo player below BASEDIR (default: the
// working directory), where the viewer's start-up defaults find it, and
// lists every file written.
#include <cstdio>
#include <cstring>

#include "cli/program_info.h"
#include "mkplayer/player.h"

namespace {

constexpr const char* kUsage = "usage: mkplayer [BASEDIR]\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        std::fputs("Writes the demo player to BASEDIR/models/players/infantryss (BASEDIR defaults to the working\n"
                   "directory) and lists every file written.\n",
                   stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        cli::printVersion("mkplayer");
        return 0;
    }
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
