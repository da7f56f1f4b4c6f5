// mkmodel [SHAPE] OUT: writes the small valid sample model, or one of the
// named shapes below (for the demo, for trying the tools by hand and for
// measuring them on files that would multiply a naive reader's work).
// mkmodel --defects DIR: writes the clean twins and every file with exactly
// one defect (tools/modelgen/defects.h) into DIR, one line per file on stdout
// naming the finding korvane-check should give.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "cli/program_info.h"
#include "modelgen/amplify.h"
#include "modelgen/defects.h"
#include "modelgen/samples.h"

namespace {

bool write(const std::string& path, const mg::Bytes& bytes) {
    if (mg::writeFile(path, bytes)) return true;
    std::fprintf(stderr, "mkmodel: cannot write %s\n", path.c_str());
    return false;
}

// 70 bones, 5,400 frames, 16 surfaces of 250 vertices with 2 weights and 400
// triangles each: the size of a shipped player body.
mg::Bytes largeBody() {
    mg::MdsModel m = mg::syntheticMds(16, 250, 2, 70, 5400);
    for (auto& s : m.surfaces) {
        s.triangles.clear();
        for (int t = 0; t < 400; ++t) s.triangles.push_back({{t % 248, t % 248 + 1, t % 248 + 2}});
    }
    return mg::writeMds(m).bytes;
}

int writeDefects(const std::string& dir) {
    if (!write(dir + "/clean.mds", mg::cleanMds()) || !write(dir + "/clean.mdc", mg::cleanMdc())) return 1;
    for (const auto& list : {mg::mdsDefects(), mg::mdcDefects()})
        for (const auto& d : list) {
            const std::string path = dir + "/" + d.name + (d.mdc ? ".mdc" : ".mds");
            if (!write(path, d.bytes)) return 1;
            std::printf("%s: %s at %s @%lld\n", path.c_str(), d.id.c_str(), d.where.c_str(),
                        static_cast<long long>(d.offset));
        }
    return 0;
}

struct Shape {
    const char* name;
    const char* what;
    std::function<mg::Bytes()> make;
};

const Shape kShapes[] = {
    {"sample", "the small valid sample model (the default)", [] { return mg::writeMds(mg::sampleMds()).bytes; }},
    {"body", "a valid body of 5.2 MB: 70 bones, 5400 frames, 16 surfaces x 250 vertices x 2 weights, 400 triangles",
     largeBody},
    {"shared-lists", "2900 surface headers sharing one list of 80000 triangles (1.47 MB)",
     [] { return mg::sharedListsMds(2900, 80000); }},
    {"shared-lists-small", "2900 surface headers sharing one list of 40000 triangles (0.99 MB)",
     [] { return mg::sharedListsMds(2900, 40000); }},
    {"shared-header", "one surface header named by 2^31 - 1 surfaces", [] { return mg::sharedHeaderMds(0x7FFFFFFF); }},
    {"backward-chain", "the sample with its surfaces stored in reverse order (valid)",
     [] { return mg::backwardChainMds(); }},
    {"shared-lists-mdc", "an MDC file: 8000 surface headers sharing one list of 10000 triangles",
     [] { return mg::sharedListsMdc(8000, 10000); }},
    {"many-surfaces", "a body of 10000 surfaces named surface0 ... surface9999 (3.4 MB; with long-skin)",
     [] { return mg::manySurfacesMds(10000); }},
    {"long-skin", "a .skin of 100000 lines naming surface99999 ... surface0 (5 MB): every lookup of a many-surfaces "
                  "surface near its end",
     [] {
         const std::string text = mg::longSkin(100000);
         return mg::Bytes(text.begin(), text.end());
     }},
};

int usage(std::FILE* to, int status) {
    std::fprintf(to, "usage: mkmodel [SHAPE] OUT | --defects DIR\nshapes:\n");
    for (const auto& s : kShapes) std::fprintf(to, "  %-20s %s\n", s.name, s.what);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) return usage(stdout, 0);
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        cli::printVersion("mkmodel");
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--defects") == 0) return writeDefects(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--large") == 0) return write(argv[2], largeBody()) ? 0 : 1;
    // A name starting with '-' is a mistyped option, never a file to write.
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-') {
            std::fprintf(stderr, "mkmodel: unknown option %s\n", argv[i]);
            return usage(stderr, 2);
        }
    if (argc < 2 || argc > 3) return usage(stderr, 2);
    const Shape* shape = &kShapes[0];
    if (argc == 3) {
        shape = nullptr;
        for (const auto& s : kShapes)
            if (std::strcmp(argv[1], s.name) == 0) shape = &s;
        if (!shape) {
            std::fprintf(stderr, "mkmodel: unknown shape '%s'\n", argv[1]);
            return usage(stderr, 2);
        }
    }
    return write(argv[argc - 1], shape->make()) ? 0 : 1;
}
