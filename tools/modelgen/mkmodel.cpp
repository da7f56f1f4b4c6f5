// mkmodel [SHAPE] OUT: writes the small valid sample model, or one of the
// named shapes below (for the demo, for trying the tools by hand and for
// measuring them on files that would multiply a naive reader's work). The
// folder shapes write a model folder OUT (draw it with korvane-render
// --base-dir "$(dirname OUT)" --model "$(basename OUT)"); the archive shapes
// write OUT/pak0.pk3 holding the folder models/players/<name>.
// The shape md3-lods also writes OUT's LOD files beside it (OUT without its
// .md3, then _1.md3 ... _3.md3).
// mkmodel --defects DIR: writes the clean twins and every file with exactly
// one defect (tools/modelgen/defects.h) into DIR, one line per file on stdout
// naming the finding korvane-check should give.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "cli/program_info.h"
#include "mkplayer/split_body.h"
#include "modelgen/amplify.h"
#include "modelgen/data_sets.h"
#include "modelgen/defects.h"
#include "modelgen/samples.h"
#include "modelgen/texture_shapes.h"
#include "platform/sys/command_line.h"

namespace {

bool write(const std::string& path, const mg::Bytes& bytes) {
    if (mg::writeFile(path, bytes)) return true;
    std::fprintf(stderr, "mkmodel: cannot write %s\n", path.c_str());
    return false;
}

// "mds", "mdc", ... (a file name's ending; the programs go by the first bytes).
std::string extension(formats::Format format) {
    std::string name = formats::formatInfo(format).name;
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
}

int writeDefects(const std::string& dir) {
    if (!write(dir + "/clean.mds", mg::cleanMds()) || !write(dir + "/clean.mdc", mg::cleanMdc())) return 1;
    for (const auto& twin : mg::familyCleanTwins())
        if (!write(dir + "/" + twin.name + "." + extension(twin.format), twin.bytes)) return 1;
    for (const auto& list : {mg::mdsDefects(), mg::mdcDefects(), mg::familyDefects()})
        for (const auto& d : list) {
            const std::string path = dir + "/" + d.name + "." + extension(d.format);
            if (!write(path, d.bytes)) return 1;
            std::printf("%s: %s at %s @%lld\n", path.c_str(), d.id.c_str(), d.where.c_str(),
                        static_cast<long long>(d.offset));
        }
    return 0;
}

struct Shape {
    const char* name;
    const char* what;
    std::function<bool(const std::string& out)> write;
};

std::function<bool(const std::string&)> file(std::function<mg::Bytes()> make) {
    return [make](const std::string& out) { return write(out, make()); };
}

std::function<bool(const std::string&)> folder(mg::TexturedModel model) {
    return [model](const std::string& out) {
        if (mg::writeFolder(out, mg::texturedModel(model))) return true;
        std::fprintf(stderr, "mkmodel: cannot write the folder %s\n", out.c_str());
        return false;
    };
}

#ifdef KV_HAVE_LIBZIP
std::function<bool(const std::string&)> archive(const std::string& model, std::function<mg::Folder()> make) {
    return [model, make](const std::string& out) {
        mg::Folder members = make();
        for (auto& m : members) m.name = "models/players/" + model + "/" + m.name;
        if (mg::writeZip(out + "/pak0.pk3", members)) return true;
        std::fprintf(stderr, "mkmodel: cannot write %s/pak0.pk3\n", out.c_str());
        return false;
    };
}
#endif

mg::Bytes md3(int lod) { return mg::writeMd3(mg::sampleMd3(lod)).bytes; }

// OUT's LOD file k: OUT without a trailing .md3, then _k.md3.
std::string lodPath(const std::string& out, int k) {
    const std::string ext = ".md3";
    const bool hasExt = out.size() > ext.size() && out.compare(out.size() - ext.size(), ext.size(), ext) == 0;
    return (hasExt ? out.substr(0, out.size() - ext.size()) : out) + "_" + std::to_string(k) + ext;
}

#ifdef KV_HAVE_LIBZIP
// A game folder OUT of every format, the props in OUT/pak0.pk3.
bool gameData(const std::string& out) {
    const mg::DataSet set = mg::gameDataSet();
    return mg::writeFolder(out, set.loose) && mg::writeZip(out + "/pak0.pk3", set.archived);
}

// OUT/pak00.pk3 ... pak19.pk3 holding 10000 small models.
bool manyArchives(const std::string& out) {
    const auto archives = mg::manyModelArchives(10000, 20);
    for (std::size_t i = 0; i < archives.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/pak%02zu.pk3", i);
        if (!mg::writeFolder(out, {}) || !mg::writeZip(out + name, archives[i])) return false;
    }
    return true;
}
#endif

bool md3WithLods(const std::string& out) {
    if (!write(out, md3(0))) return false;
    for (int k = 1; k <= 3; ++k)
        if (!write(lodPath(out, k), md3(k))) return false;
    return true;
}

const Shape kShapes[] = {
    {"sample", "the small valid sample model (the default)", file([] { return mg::writeMds(mg::sampleMds()).bytes; })},
    {"body", "a valid body of 5.2 MB: 70 bones, 5400 frames, 16 surfaces x 250 vertices x 2 weights, 400 triangles",
     file(mg::largeBody)},
    {"shared-lists", "2900 surface headers sharing one list of 80000 triangles (1.47 MB)",
     file([] { return mg::sharedListsMds(2900, 80000); })},
    {"shared-lists-small", "2900 surface headers sharing one list of 40000 triangles (0.99 MB)",
     file([] { return mg::sharedListsMds(2900, 40000); })},
    {"shared-header", "one surface header named by 2^31 - 1 surfaces",
     file([] { return mg::sharedHeaderMds(0x7FFFFFFF); })},
    {"backward-chain", "the sample with its surfaces stored in reverse order (valid)",
     file([] { return mg::backwardChainMds(); })},
    {"shared-lists-mdc", "an MDC file: 8000 surface headers sharing one list of 10000 triangles",
     file([] { return mg::sharedListsMdc(8000, 10000); })},
    {"many-surfaces", "a body of 10000 surfaces named surface0 ... surface9999 (3.4 MB; with long-skin)",
     file([] { return mg::manySurfacesMds(10000); })},
    {"long-skin", "a .skin of 100000 lines naming surface99999 ... surface0 (5 MB): every lookup of a many-surfaces "
                  "surface near its end",
     file([] {
         const std::string text = mg::longSkin(100000);
         return mg::Bytes(text.begin(), text.end());
     })},
    {"shared-texture", "folder: 5956 body, 2000 head and 2000 belt surfaces naming one 128x128 JPEG (1.3 MB)",
     folder({5956, 2000, 2000, 128, 0})},
    {"shared-texture-1024", "folder: 300 body surfaces naming one 1024x1024 JPEG (53 KB body)",
     folder({300, 0, 0, 1024, 0})},
    {"missing-texture", "folder: 5956 body, 2000 head and 2000 belt surfaces naming one missing texture",
     folder({5956, 2000, 2000, 0, 0})},
    {"large-texture", "folder: one surface naming an 8192x8192 JPEG of flat tiles (about 1 MB)",
     folder({1, 0, 0, 8192, 0})},
#ifdef KV_HAVE_LIBZIP
    {"pk3-large-member", "archive: a valid body.mds of 250 MB (2.5 million frames) that deflates to 0.3 MB",
     archive("big", [] { return mg::Folder{{"body.mds", mg::repeatedFramesMds(2'500'000)}}; })},
    {"pk3-many-members", "archive: 1000 body surfaces, each naming its own flat 512x512 TGA (768 KB, 1 KB deflated)",
     archive("many", [] { return mg::texturedModel({1000, 0, 0, 0, 512}); })},
#endif
    {"md3", "an MD3 head nodding over 4 frames: 2 surfaces of 26 vertices, 2 tags", file([] { return md3(0); })},
    {"md3-lods", "the md3 head and its LOD files beside it, OUT_1.md3 ... OUT_3.md3 (OUT without .md3): 8, 6 and 4 "
                 "sides, 4 frames each",
     md3WithLods},
    {"mdm", "the demo body's mesh as an MDM: 4 surfaces, their weights naming the mdx shape's bones, 9 tags",
     file([] { return mg::writeMdm(mp::bodyMdm()).bytes; })},
    {"mdx", "the demo body's skeleton and walk cycle as an MDX: 56 bones, 20 frames",
     file([] { return mg::writeMdx(mp::walkMdx()).bytes; })},
    {"shared-lists-md3", "an MD3 file: 2900 surface headers sharing 40000 triangles and 64 frames (0.8 MB)",
     file([] { return mg::sharedListsMd3(2900, 40000, 64); })},
    {"shared-header-md3", "an MD3 file: one surface header named by 2^31 - 1 surfaces",
     file([] { return mg::sharedHeaderMd3(0x7FFFFFFF); })},
    {"shared-lists-mdm", "an MDM file: 2900 surface headers sharing one list of 80000 triangles (1.47 MB)",
     file([] { return mg::sharedListsMdm(2900, 80000); })},
    {"shared-header-mdm", "an MDM file: one surface and one tag, each named 2^31 - 1 times",
     file([] { return mg::sharedHeaderMdm(0x7FFFFFFF, 0x7FFFFFFF); })},
    {"shared-tag-refs-mdm", "an MDM file: 4000 tags sharing one list of 100000 bone references (0.9 MB)",
     file([] { return mg::sharedTagRefsMdm(4000, 100000); })},
    {"collapse-chain-mdm", "an MDM file: 1000 surface headers sharing one 6000-vertex surface whose collapse map "
                           "is one chain (0.5 MB)",
     file([] { return mg::collapseChainMdm(1000, 6000); })},
    {"bone-chain-mdx", "an MDX file: 4000 bones in one chain, 20 frames (1.3 MB)",
     file([] { return mg::boneChainMdx(4000, 20); })},
    {"mdx-large", "an MDX file as large as a real walk's body.mdx: 53 bones, 4887 frames (3.36 MB)",
     file([] { return mg::largeMdx(53, 4887); })},
    {"md3-large", "the md3 head over 2000 frames (1.4 MB)", file([] { return mg::largeMd3(2000); })},
#ifdef KV_HAVE_LIBZIP
    {"game-data", "folder: a game's worth of files (about 93 MB): 11 MDM, 10 MDX, 171 MDC, 101 skins, and 243 MD3 "
                  "in pak0.pk3",
     gameData},
    {"many-archives", "folder: 10000 small MD3 and MDC models in 20 archives pak00.pk3 ... pak19.pk3", manyArchives},
#endif
};

int usage(std::FILE* to, int status) {
    std::fprintf(to, "usage: mkmodel [SHAPE] OUT | --defects DIR\nshapes:\n");
    for (const auto& s : kShapes) std::fprintf(to, "  %-20s %s\n", s.name, s.what);
    std::fprintf(to, "A folder shape writes the model folder OUT; an archive shape OUT/pak0.pk3 with\n"
                     "models/players/<name>/ inside.\n");
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    sys::useUtf8CommandLine(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) return usage(stdout, 0);
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        cli::printVersion("mkmodel");
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--defects") == 0) return writeDefects(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--large") == 0) return write(argv[2], mg::largeBody()) ? 0 : 1;
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
    return shape->write(argv[argc - 1]) ? 0 : 1;
}
