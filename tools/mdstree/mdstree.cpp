// mdstree [--frames | --frame K] FILE
//
// An MDC file (ident "IDPC") is printed by mdc_tree.h instead.
//
// Prints the structure tree the browser shows for FILE as indented text, two
// spaces per level, the first line being FILE as given. Frame nodes stay
// closed unless --frames fills every one or --frame K fills frame K. Each
// line is written as its node is built, so a tree of any size takes little
// memory and its first lines come at once.
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

#include "browser/mds_file.h"
#include "browser/stream_tree.h"
#include "browser/tree_builder.h"
#include "cli/program_info.h"
#include "mdc_tree.h"

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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("%s\nPrints the structure tree of an MDS file as indented text.\n"
                    "  --frames    fill every frame node\n"
                    "  --frame K   fill frame K only\n",
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
    // MDC files (told by their ident) print their whole structure; the frame
    // options concern MDS frames only.
    if (const int status = mdstree::printIfMdc(path); status >= 0) return status;

    browser::MdsFile model;
    model.read(path);
    model.resolve();
    if (onlyFrame >= 0 && model.alreadyConverted()) {
        const auto numFrames = model.bytes().read<formats::MdsHeader>(0).NumFrames;
        if (onlyFrame >= numFrames) {
            std::fprintf(stderr, "mdstree: %s has %d frames; there is no frame %d\n", path, numFrames, onlyFrame);
            return 2;
        }
    }

#ifdef _WIN32
    // The same bytes on every platform: no CR put before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    browser::StreamTree tree(stdout, path);
    tree.onFrameNode = [&](browser::TreeNode node, int k) {
        if (allFrames || k == onlyFrame) browser::fillFrame(model, tree, node, k);
    };
    const bool built = browser::toTreeView(model, tree.root(), tree);
    if (!tree.flush() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "mdstree: cannot write the tree: %s\n", std::strerror(errno));
        return 1;
    }
    if (onlyFrame >= 0 && built && tree.frameNodes() <= static_cast<std::size_t>(onlyFrame)) {
        std::fprintf(stderr, "mdstree: the tree has no frame %d\n", onlyFrame);
        return 2;
    }
    return built ? 0 : 1;
}
