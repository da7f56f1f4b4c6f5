// mkmodel OUT.mds: writes the small valid sample model (for the demo and for
// trying the tools by hand).
#include <cstdio>

#include "modelgen/samples.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkmodel OUT.mds\n");
        return 2;
    }
    if (!mg::writeFile(argv[1], mg::writeMds(mg::sampleMds()).bytes)) {
        std::fprintf(stderr, "mkmodel: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
