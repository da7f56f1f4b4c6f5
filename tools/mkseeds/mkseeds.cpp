// mkseeds TARGETNAME DIR: writes the seed corpus of one fuzz target into DIR
// (which must exist). An unknown name writes nothing and succeeds, so every
// fuzz target can be seeded the same way.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/program_info.h"
#include "mkseeds/seeds.h"
#include "platform/sys/command_line.h"

namespace {

struct Target {
    const char* name;
    bool (*write)(const std::string& dir);
};

// Add a line per fuzz target (and its seeds_<area>.cpp).
const Target kTargets[] = {
    {"fuzz_browser", seeds::browser},
    {"fuzz_mdc", seeds::mdc},
    {"fuzz_skin", seeds::skin},
    {"fuzz_texture", seeds::texture},
    {"fuzz_textures", seeds::textures},
    {"fuzz_mds", seeds::mds},
    {"fuzz_pk3", seeds::pk3},
    {"fuzz_anim", seeds::anim},
    {"fuzz_check", seeds::check},
    {"fuzz_agreement", seeds::check},
    {"fuzz_apply", seeds::apply},
    {"fuzz_md3", seeds::md3},
    {"fuzz_mdm", seeds::mdm},
    {"fuzz_mdx", seeds::mdx},
    {"fuzz_game", seeds::gameText},
};

constexpr const char* kUsage = "usage: mkseeds TARGETNAME DIR\n";

}  // namespace

int main(int argc, char** argv) {
    sys::useUtf8CommandLine(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        std::fputs("Writes the seed corpus of the fuzz target TARGETNAME into the existing folder DIR. Targets:\n",
                   stdout);
        for (const auto& t : kTargets) std::printf("  %s\n", t.name);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        cli::printVersion("mkseeds");
        return 0;
    }
    if (cli::refuseOption(argc, argv, "mkseeds", kUsage)) return 2;
    if (argc != 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    for (const auto& t : kTargets)
        if (std::strcmp(t.name, argv[1]) == 0) {
            if (t.write(argv[2])) return 0;
            std::fprintf(stderr, "mkseeds: cannot write the seeds of %s into %s\n", argv[1], argv[2]);
            return 1;
        }
    std::fprintf(stderr, "mkseeds: no seeds for %s\n", argv[1]);
    return 0;
}
