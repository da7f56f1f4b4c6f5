#include "cli/program_info.h"

#include <cstdio>
#include <cstring>

namespace cli {

const char* version() { return KV_VERSION; }

void printVersion(const char* program) { std::printf("%s %s\n", program, version()); }

bool answerHelpOrVersion(int argc, char** argv, const char* program, const char* help) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(help, stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            printVersion(program);
            return true;
        }
    }
    return false;
}

bool refuseOption(int argc, char** argv, const char* program, const char* usage) {
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-') {
            std::fprintf(stderr, "%s: unknown option %s\n", program, argv[i]);
            std::fputs(usage, stderr);
            return true;
        }
    return false;
}

}  // namespace cli
