// mkmodel OUT.mds: writes the small valid sample model (for the demo and for
// trying the tools by hand).
#include <cstdio>
#include <cstring>

#include "modelgen/samples.h"

namespace {

constexpr const char* kUsage = "usage: mkmodel OUT.mds\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        std::fputs("Writes the small valid sample model (4 bones, 3 frames, 2 tags, 2 surfaces) to OUT.mds.\n", stdout);
        return 0;
    }
    // A name starting with '-' is a mistyped option, never a file to write.
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-') {
            std::fprintf(stderr, "mkmodel: unknown option %s\n", argv[i]);
            std::fputs(kUsage, stderr);
            return 2;
        }
    if (argc != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!mg::writeFile(argv[1], mg::writeMds(mg::sampleMds()).bytes)) {
        std::fprintf(stderr, "mkmodel: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
