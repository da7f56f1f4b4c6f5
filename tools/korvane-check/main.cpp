// korvane-check [--json] [--quiet | --summary] [--game sp|mp] [--game-dir DIR]
//               [--skeleton FILE.mdx] PATH...
//
// Says what is wrong with player models and other model files and whether
// the game will load them: one finding per line (`error|warning|note FILE:
// WHERE: MESSAGE`) or, with --json, a JSON array, each file's findings
// written as soon as it is checked. PATH is a player folder (the one
// holding body.mds), one model, .skin or wolfanim.cfg file, or a collection
// (any other folder, or a .pk3 archive) whose every such file is checked.
// A summary line ends the findings on a terminal (--summary: always,
// --quiet: never).
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
#include "platform/sys/command_line.h"

namespace {

constexpr const char* kUsage =
    "usage: korvane-check [--json] [--quiet | --summary] [--game sp|mp] [--game-dir DIR]\n"
    "                     [--skeleton FILE.mdx] PATH...\n";

constexpr const char* kHelp =
    "Checks player models (MDS body, MDC head and accessories, skins, textures,\n"
    "wolfanim.cfg) and the family's other model files (MD3, MDM, MDX), and says\n"
    "whether the game will load them.\n"
    "\n"
    "  PATH            a player folder (holding body.mds); one model (MDS, MDC,\n"
    "                  MD3, MDM, MDX: told by its first bytes), .skin or\n"
    "                  wolfanim.cfg file; or a collection: any other folder,\n"
    "                  or a .pk3 archive, whose every such file is checked\n"
    "                  (archives in a folder too); a collection folder holding\n"
    "                  models/ or .pk3 archives is the game folder unless\n"
    "                  --game-dir says otherwise. '.' and '..' work, letter\n"
    "                  case is ignored and files inside .pk3 archives are found\n"
    "  --json          the findings as a JSON array of objects\n"
    "                  (severity, id, file, where, offset, message); bytes\n"
    "                  that are not UTF-8 are written as \\ufffd\n"
    "  --game sp|mp    check against the single player or the multiplayer\n"
    "                  limits only (default: both)\n"
    "  --game-dir DIR  the game folder (holding models/): textures and\n"
    "                  attachments are also looked for below it under the\n"
    "                  path the skin names, and so is a PATH not found\n"
    "  --skeleton FILE.mdx\n"
    "                  the skeleton MDM files are checked against (their\n"
    "                  weights, tags and bone references name its bones)\n"
    "  --summary       end with a line \"N files, E errors, W warnings\" (with\n"
    "                  --json: a last element {\"summary\": {...}}); the\n"
    "                  default when the output is a terminal\n"
    "  --quiet         the findings only, no summary\n"
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
    sys::useUtf8CommandLine(argc, argv);
    check::Options options;
    bool json = false;
    int summary = -1;  // -1: on a terminal only
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
        } else if (arg == "--quiet" || arg == "--summary") {
            if (summary != -1) return usage("--quiet and --summary go alone");
            summary = arg == "--summary";
        } else if (arg == "--skeleton") {
            if (i + 1 >= argc) return usage("--skeleton needs an MDX file");
            options.skeleton = argv[++i];
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

    if (summary == -1) summary = sys::isTerminal(stdout) ? 1 : 0;

    // Each file's findings are written as soon as it is done.
    bool written = true;
    const auto write = [&](const std::string& text) {
        written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && written;
    };
    check::JsonArray array;
    check::Report report;
    report.streamTo([&](const std::vector<check::Finding>& findings) {
        write(json ? array.items(findings) : check::asText(findings));
    });
    if (json) write(array.begin());
    for (const auto& path : paths) check::checkPath(path, options, report);
    report.endFile();
    if (json) write((summary ? array.summary(report.counts()) : std::string()) + array.end());
    else if (summary) write(check::summaryLine(report.counts()));
    if (!written || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "korvane-check: cannot write the findings\n");
        return 1;
    }
    return report.hasError() ? 1 : 0;
}
