// mdstree [--frames | --frame K] FILE
//
// Prints the structure of a model file as indented text, two spaces per
// level, the first line being FILE as given. The format is told by the
// file's first bytes, never its name:
//   - MDS: the tree the browser shows; frame nodes stay closed unless
//     --frames fills every one or --frame K fills frame K;
//   - MDC: the whole structure (browser/mdc_tree.h); --frame K only checks
//     that the file has frame K.
// Each line is written as its node is built, so a tree of any size takes
// little memory and its first lines come at once.
// Exit status: 0 when the whole tree was built, 1 when a check or a read
// failed (the reason is the root's last child), 2 on a usage error (also a
// frame K the file does not have).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "browser/mdc_tree.h"
#include "browser/mds_file.h"
#include "browser/stream_tree.h"
#include "browser/tree_builder.h"
#include "cli/program_info.h"
#include "formats/identify.h"
#include "formats/mdc_index.h"
#include "platform/sys/whole_file.h"

namespace {

constexpr char kUsage[] = "usage: mdstree [--frames | --frame K] FILE\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

bool parseFrame(const char* text, int& k) {
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < 0 || v > 0x7FFFFFFF) return false;
    k = static_cast<int>(v);
    return true;
}

int noSuchFrame(const char* path, long long frames, int k) {
    std::fprintf(stderr, "mdstree: %s has %lld frames; there is no frame %d\n", path, frames, k);
    return 2;
}

bool finish(browser::StreamTree& tree) {
    if (tree.flush() && std::fflush(stdout) == 0) return true;
    std::fprintf(stderr, "mdstree: cannot write the tree: %s\n", std::strerror(errno));
    return false;
}

int printMdc(const char* path, const sys::Block& bytes, int onlyFrame) {
    const formats::ByteView view(bytes.data(), bytes.size());
    const formats::MdcIndex index = formats::indexMdc(view, formats::Reader::Print);
    if (onlyFrame >= 0 && index.readable && onlyFrame >= index.header.NumFrames)
        return noSuchFrame(path, index.header.NumFrames, onlyFrame);
    browser::StreamTree tree(stdout, path);
    const bool built = browser::mdcTree(view, index, tree.root(), tree);
    if (!finish(tree)) return 1;
    return built ? 0 : 1;
}

int printMds(const char* path, sys::Block bytes, bool allFrames, int onlyFrame) {
    browser::MdsFile model;
    model.hold(std::move(bytes));
    model.resolve();
    if (onlyFrame >= 0 && model.alreadyConverted() && onlyFrame >= model.index().header.NumFrames)
        return noSuchFrame(path, model.index().header.NumFrames, onlyFrame);

    browser::StreamTree tree(stdout, path);
    tree.onFrameNode = [&](browser::TreeNode node, int k) {
        if (allFrames || k == onlyFrame) browser::fillFrame(model, tree, node, k);
    };
    const bool built = browser::toTreeView(model, tree.root(), tree);
    if (!finish(tree)) return 1;
    if (onlyFrame >= 0 && built && tree.frameNodes() <= static_cast<std::size_t>(onlyFrame)) {
        std::fprintf(stderr, "mdstree: the tree has no frame %d\n", onlyFrame);
        return 2;
    }
    return built ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("%s\nPrints the structure of a model file (MDS or MDC, told by its first bytes)\n"
                    "as indented text.\n"
                    "  --frames    fill every frame node of an MDS file\n"
                    "  --frame K   fill frame K only (an MDC file prints every frame)\n",
                    kUsage);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        cli::printVersion("mdstree");
        return 0;
    }
    bool allFrames = false;
    int onlyFrame = -1;
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "--frames") == 0) {
        allFrames = true;
        ++i;
    } else if (i < argc && std::strcmp(argv[i], "--frame") == 0) {
        if (i + 1 >= argc || !parseFrame(argv[i + 1], onlyFrame)) return usage();
        i += 2;
    }
    if (i + 1 != argc || argv[i][0] == '-') return usage();
    const char* path = argv[i];

#ifdef _WIN32
    // The same bytes on every platform: no CR put before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    sys::WholeFile file = sys::readWholeFile(path);
    const formats::ByteView view(file.bytes.data(), file.bytes.size());
    if (formats::identify(view).format == formats::Format::Mdc) return printMdc(path, file.bytes, onlyFrame);
    // Anything else goes to the MDS tree, whose labels say what is wrong.
    return printMds(path, std::move(file.bytes), allFrames, onlyFrame);
}
