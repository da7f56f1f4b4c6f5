// mkplayer [BASEDIR]: writes the demo player below BASEDIR (default: the
// working directory), where the viewer's start-up defaults find it, and
// lists every file written.
// mkplayer --defects DIR: writes one player folder per defect below DIR
// (defect_folders.h) and says for each what korvane-check and
// korvane-render --strict give.
// mkplayer --character DIR: writes the sibling game's demo character as a
// game folder DIR (demo_character.h); --character-defects DIR one game
// folder per defect below DIR, each with the finding it gives.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/program_info.h"
#include "mkplayer/defect_folders.h"
#include "mkplayer/demo_character.h"
#include "mkplayer/player.h"
#include "platform/sys/command_line.h"

namespace {

constexpr const char* kUsage =
    "usage: mkplayer [BASEDIR] | --defects DIR | --character GAMEDIR | --character-defects DIR\n";

int report(const mp::WriteResult& r) {
    for (const auto& path : r.written) std::printf("wrote %s\n", path.c_str());
    if (!r.ok) {
        std::fprintf(stderr, "mkplayer: %s\n", r.error.c_str());
        return 1;
    }
    return 0;
}

int writeCharacterDefects(const std::string& dir) {
    for (const mp::CharacterDefect& d : mp::characterDefects()) {
        mp::GameFiles files = mp::characterFiles();
        d.change(files);
        const std::string root = dir + "/" + d.name;
        const mp::WriteResult r = mp::writeGameFiles(root, files);
        if (!r.ok) {
            std::fprintf(stderr, "mkplayer: %s\n", r.error.c_str());
            return 1;
        }
        std::printf("%s: %s\n  %s: %s in %s, line %u\n", root.c_str(), d.what.c_str(), mp::kCharacterFile,
                    d.id.c_str(), d.file.c_str(), d.line);
    }
    return 0;
}

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
                   "below DIR and says what korvane-check and korvane-render --strict give for each.\n"
                   "--character GAMEDIR writes the sibling game's demo character (characters/demo/soldier.char and\n"
                   "the models, skins, animations and textures it names) as the game folder GAMEDIR;\n"
                   "--character-defects DIR writes one such folder per defect below DIR and says what each gives.\n",
                   stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        cli::printVersion("mkplayer");
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--defects") == 0) return writeDefects(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--character") == 0) return report(mp::writeCharacter(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "--character-defects") == 0) return writeCharacterDefects(argv[2]);
    if (cli::refuseOption(argc, argv, "mkplayer", kUsage)) return 2;
    if (argc > 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return report(mp::writePlayer(argc == 2 ? argv[1] : "."));
}
