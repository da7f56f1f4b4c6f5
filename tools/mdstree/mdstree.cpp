// mdstree [--frames | --frame K] FILE
//
// An MDC file (ident "IDPC") is printed by mdc_tree.h instead.
//
// Prints the structure tree the browser shows for FILE as indented text, two
// spaces per level, the first line being FILE as given. Frame nodes stay
// closed unless --frames fills every one or --frame K fills frame K.
// Exit status: 0 when the whole tree was built, 1 when a check or a read
// failed (the reason is the root's last child), 2 on a usage error.
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
#include "browser/text_tree.h"
#include "browser/tree_builder.h"
#include "mdc_tree.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: mdstree [--frames | --frame K] FILE\n");
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
    browser::TextTree tree(path);
    const bool built = browser::toTreeView(model, tree.root(), tree);

    bool found = onlyFrame < 0;
    for (auto node : tree.frameNodes()) {
        const int k = tree.node(node).frameNumber;
        if (allFrames || k == onlyFrame) {
            browser::fillFrame(model, tree, node, k);
            found = true;
        }
    }
    const std::string text = tree.text();
#ifdef _WIN32
    // The same bytes on every platform: no CR put before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (!found) std::fprintf(stderr, "mdstree: the tree has no frame %d\n", onlyFrame);
    return built ? 0 : 1;
}
