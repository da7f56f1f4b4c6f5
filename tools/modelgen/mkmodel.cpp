// mkmodel OUT.mds: writes the small valid sample model (for the demo and for
// trying the tools by hand).
// mkmodel --defects DIR: writes the clean twins and every file with exactly
// one defect (tools/modelgen/defects.h) into DIR, one line per file on stdout
// naming the finding korvane-check should give.
// mkmodel --large OUT.mds: a body of about 5 MB (70 bones, 5,400 frames,
// 16 surfaces of 250 vertices with 2 weights and 400 triangles each), for
// timing the readers.
#include <cstdio>
#include <cstring>
#include <string>

#include "modelgen/defects.h"
#include "modelgen/samples.h"

namespace {

constexpr const char* kUsage = "usage: mkmodel OUT.mds | --defects DIR | --large OUT.mds\n";

bool write(const std::string& path, const mg::Bytes& bytes) {
    if (mg::writeFile(path, bytes)) return true;
    std::fprintf(stderr, "mkmodel: cannot write %s\n", path.c_str());
    return false;
}

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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "--version") == 0)) {
        std::printf("%s", std::strcmp(argv[1], "--help") == 0 ? kUsage : "mkmodel 1.0\n");
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--defects") == 0) return writeDefects(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--large") == 0) return write(argv[2], largeBody()) ? 0 : 1;
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    return write(argv[1], mg::writeMds(mg::sampleMds()).bytes) ? 0 : 1;
}
