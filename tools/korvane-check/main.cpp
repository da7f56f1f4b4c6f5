// korvane-check [--json] [--game sp|mp] [--game-dir DIR] PATH...
//
// Says what is wrong with a player model and whether the game will load
// it: one finding per line (`error|warning|note FILE: WHERE: MESSAGE`) or,
// with --json, a JSON array. PATH is a player folder (the one holding
// body.mds) or one .mds, .mdc, .skin or wolfanim.cfg file.
//
// Exit status: 0 no error found, 1 an error found, 2 a usage error.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/files.h"
#include "check/output.h"
#include "cli/program_info.h"

namespace {

constexpr const char* kUsage = "usage: korvane-check [--json] [--game sp|mp] [--game-dir DIR] PATH...\n";

constexpr const char* kHelp =
    "Checks player models (MDS body, MDC head and accessories, skins, textures,\n"
    "wolfanim.cfg) and says whether the game will load them.\n"
    "\n"
    "  PATH            a player folder (holding body.mds), or one .mds, .mdc,\n"
    "                  .skin or wolfanim.cfg file (told by its first bytes);\n"
    "                  '.' and '..' work, letter case is ignored and files\n"
    "                  inside .pk3 archives are found\n"
    "  --json          the findings as a JSON array of objects\n"
    "                  (severity, id, file, where, offset, message); bytes\n"
    "                  that are not UTF-8 are written as \\ufffd\n"
    "  --game sp|mp    check against the single player or the multiplayer\n"
    "                  limits only (default: both)\n"
    "  --game-dir DIR  the game folder (holding models/): textures and\n"
    "                  attachments are also looked for below it under the\n"
    "                  path the skin names, and so is a PATH not found\n"
    "  --help, --version\n"
    "\n"
    "Skins are read as the game reads them (white space around a value\n"
    "skipped). One finding per line: error|warning|note FILE: WHERE @OFFSET:\n"
    "MESSAGE. Exit status: 0 no error, 1 an error found, 2 a usage error.\n";

int usage(const std::string& reason) {
    std::fprintf(stderr, "korvane-check: %s\n%s", reason.c_str(), kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    check::Options options;
    bool json = false;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::printf("%s%s", kUsage, kHelp);
            return 0;
        }
        if (arg == "--version") {
            cli::printVersion("korvane-check");
            return 0;
        }
        if (arg == "--json") {
            json = true;
        } else if (arg == "--game") {
            if (i + 1 >= argc) return usage("--game needs sp or mp");
            const std::string game = argv[++i];
            if (game == "sp")
                options.limits.game = check::Game::SinglePlayer;
            else if (game == "mp")
                options.limits.game = check::Game::Multiplayer;
            else
                return usage("--game takes sp or mp, not '" + game + "'");
        } else if (arg == "--game-dir") {
            if (i + 1 >= argc) return usage("--game-dir needs a folder");
            options.gameDir = argv[++i];
            if (!check::isDirectory(options.gameDir)) return usage("--game-dir: no folder '" + options.gameDir + "'");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option '" + arg + "'");
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty()) return usage("no PATH given");

    check::Report report;
    for (const auto& path : paths) check::checkPath(path, options, report);
    const std::string out = json ? check::asJson(report.findings()) : check::asText(report.findings());
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "korvane-check: cannot write the findings\n");
        return 1;
    }
    return report.hasError() ? 1 : 0;
}
