// mdstree [--frames | --frame K] [--skeleton FILE.mdx] FILE
//
// Prints the structure of a model file as indented text, two spaces per
// level, the first line being FILE as given. The format is told by the
// file's first bytes, never its name:
//   - MDS: the tree the browser shows;
//   - MDC, MD3, MDM, MDX: their trees (browser/format_trees.h); an MDM
//     file's weights and bone references show their bones' names when its
//     skeleton is given with --skeleton.
// Frame nodes (MDS, MD3, MDX) stay closed unless --frames fills every one or
// --frame K fills frame K; an MDC file prints every frame, and --frame K
// only checks that it has frame K. Each line is written as its node is
// built, so a tree of any size takes little memory and its first lines come
// at once.
// Exit status: 0 when the whole tree was built, 1 when a check or a read
// failed (the reason is the root's last child), 2 on a usage error (also a
// frame K the file does not have).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "browser/format_trees.h"
#include "browser/mds_file.h"
#include "browser/stream_tree.h"
#include "browser/tree_builder.h"
#include "cli/program_info.h"
#include "formats/identify.h"
#include "platform/sys/command_line.h"
#include "platform/sys/whole_file.h"

namespace {

constexpr char kUsage[] = "usage: mdstree [--frames | --frame K] [--skeleton FILE.mdx] FILE\n";

struct Options {
    bool allFrames = false;
    int onlyFrame = -1;
    const char* skeleton = nullptr;
    const char* path = nullptr;
};

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

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--frames" && o.onlyFrame < 0) {
            o.allFrames = true;
        } else if (arg == "--frame" && !o.allFrames && o.onlyFrame < 0) {
            if (i + 1 >= argc || !parseFrame(argv[++i], o.onlyFrame)) return false;
        } else if (arg == "--skeleton" && !o.skeleton) {
            if (i + 1 >= argc) return false;
            o.skeleton = argv[++i];
        } else if (arg.empty() || arg[0] == '-' || o.path) {
            return false;
        } else {
            o.path = argv[i];
        }
    }
    return o.path != nullptr;
}

int noSuchFrame(const char* path, long long frames, int k) {
    std::fprintf(stderr, "mdstree: %s has %lld frames; there is no frame %d\n", path, frames, k);
    return 2;
}

// Prints a tree whose frame nodes `fill` fills on request; the status.
int print(const Options& o, long long numFrames, const std::function<bool(browser::StreamTree&)>& build,
          const std::function<void(browser::StreamTree&, browser::TreeNode, int)>& fill = {}) {
    if (o.onlyFrame >= 0 && numFrames >= 0 && o.onlyFrame >= numFrames) return noSuchFrame(o.path, numFrames, o.onlyFrame);
    browser::StreamTree tree(stdout, o.path);
    if (fill)
        tree.onFrameNode = [&](browser::TreeNode node, int k) {
            if (o.allFrames || k == o.onlyFrame) fill(tree, node, k);
        };
    const bool built = build(tree);
    if (!tree.flush() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "mdstree: cannot write the tree: %s\n", std::strerror(errno));
        return 1;
    }
    if (fill && o.onlyFrame >= 0 && built && tree.frameNodes() <= static_cast<std::size_t>(o.onlyFrame)) {
        std::fprintf(stderr, "mdstree: the tree has no frame %d\n", o.onlyFrame);
        return 2;
    }
    return built ? 0 : 1;
}

int printMds(const Options& o, sys::Block bytes) {
    browser::MdsFile model;
    model.hold(std::move(bytes));
    model.resolve();
    return print(o, model.alreadyConverted() ? model.index().header.NumFrames : -1,
                 [&](browser::StreamTree& t) { return browser::toTreeView(model, t.root(), t); },
                 [&](browser::StreamTree& t, browser::TreeNode node, int k) { browser::fillFrame(model, t, node, k); });
}

}  // namespace

int main(int argc, char** argv) {
    // On Windows also: the same bytes as on POSIX, no CR put before each LF.
    sys::useUtf8CommandLine(argc, argv);
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("%s\nPrints the structure of a model file (MDS, MDC, MD3, MDM or MDX, told by its\n"
                    "first bytes) as indented text.\n"
                    "  --frames             fill every frame node (MDS, MD3, MDX)\n"
                    "  --frame K            fill frame K only (an MDC file prints every frame)\n"
                    "  --skeleton FILE.mdx  the skeleton an MDM file's weights name: shows the bones' names\n",
                    kUsage);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        cli::printVersion("mdstree");
        return 0;
    }
    Options o;
    if (!parse(argc, argv, o)) return usage();

    sys::WholeFile file = sys::readWholeFile(o.path);
    const formats::ByteView b(file.bytes.data(), file.bytes.size());
    const auto frames = [](bool readable, std::int32_t n) { return readable ? static_cast<long long>(n) : -1; };
    switch (formats::identify(b).format) {
    case formats::Format::Mdc: {
        const auto x = formats::indexMdc(b, formats::Reader::Print);
        return print(o, frames(x.readable, x.header.NumFrames),
                     [&](browser::StreamTree& t) { return browser::mdcTree(b, x, t.root(), t); });
    }
    case formats::Format::Md3: {
        const auto x = formats::indexMd3(b, formats::Reader::Print);
        return print(
            o, frames(x.readable, x.header.NumFrames), [&](browser::StreamTree& t) { return browser::md3Tree(b, x, t.root(), t); },
            [&](browser::StreamTree& t, browser::TreeNode node, int k) { browser::fillMd3Frame(b, x, t, node, k); });
    }
    case formats::Format::Mdx: {
        const auto x = formats::indexMdx(b, formats::Reader::Print);
        return print(
            o, frames(x.readable, x.header.NumFrames), [&](browser::StreamTree& t) { return browser::mdxTree(b, x, t.root(), t); },
            [&](browser::StreamTree& t, browser::TreeNode node, int k) { browser::fillMdxFrame(b, x, t, node, k); });
    }
    case formats::Format::Mdm: {
        const auto x = formats::indexMdm(b, formats::Reader::Print);
        sys::WholeFile skeletonFile;
        formats::MdxIndex skeleton;
        browser::BoneNames names;
        if (o.skeleton) {
            skeletonFile = sys::readWholeFile(o.skeleton);
            const formats::ByteView sb(skeletonFile.bytes.data(), skeletonFile.bytes.size());
            skeleton = formats::indexMdx(sb, formats::Reader::Print);
            if (!skeleton.ok()) {
                std::fprintf(stderr, "mdstree: %s: %s\n", o.skeleton,
                             skeletonFile.failed != sys::ReadStep::Done ? "cannot be read" : skeleton.refusal->text().c_str());
                return 1;
            }
            names = browser::BoneNames(sb, skeleton);
        }
        // An MDM file has no frames: any --frame K is one it does not have.
        return print(o, 0, [&](browser::StreamTree& t) { return browser::mdmTree(b, x, names, t.root(), t); });
    }
    default:
        // Anything else goes to the MDS tree, whose labels say what is wrong.
        return printMds(o, std::move(file.bytes));
    }
}
