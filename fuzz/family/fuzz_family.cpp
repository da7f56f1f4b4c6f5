// Arbitrary bytes as one of the sibling game's formats (MD3, MDM or MDX,
// chosen at build time): the walk for every reader and collecting every
// finding, the structure tree with every frame filled, and the checker's
// rules. The two walks must agree on what stops each reader, the tree must
// stop exactly where its walk did, and the findings and the tree stay in
// proportion to the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "browser/format_trees.h"
#include "browser/text_tree.h"
#include "check/model_check.h"

namespace {

using formats::Reader;

struct Counter : browser::TreeSink {
    std::size_t nodes = 0;
    browser::TreeNode appendChild(browser::TreeNode, const char*, int, bool) override {
        return reinterpret_cast<browser::TreeNode>(++nodes);
    }
    browser::TreeNode appendLast(browser::TreeNode, const char*) override { return appendChild(nullptr, "", -1, false); }
    void progressRange(int, int) override {}
    void progressPos(int) override {}
};

template <class Index, class Build>
void run(formats::ByteView bytes, Index (*first)(formats::ByteView, Reader), Build build) {
    formats::Report report;
    report.beginFile("f");
#if defined(KV_FUZZ_FORMAT_MD3)
    check::checkMd3(bytes, report);
#elif defined(KV_FUZZ_FORMAT_MDM)
    check::checkMdm(bytes, report, check::Skeleton{8});
#else
    check::checkMdx(bytes, report);
#endif
    report.endFile();
    for (const Reader r : {Reader::Walk, Reader::Draw, Reader::Print}) {
        bool stops = false;
        for (const auto& f : report.findings()) stops = stops || formats::stops(f.need, r);
        if (first(bytes, r).ok() == stops) std::abort();
    }
    if (report.findings().size() > 256 + bytes.size()) std::abort();
    const Index index = first(bytes, Reader::Print);
    Counter tree;
    if (build(index, tree) != index.ok()) std::abort();
    // Every field, vertex and weight a node at most: bounded by the walk's budget.
    if (tree.nodes > 64 + 2 * bytes.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const formats::ByteView b(data, size);
#if defined(KV_FUZZ_FORMAT_MD3)
    run<formats::Md3Index>(b, formats::indexMd3, [&](const formats::Md3Index& x, Counter& t) {
        const bool built = browser::md3Tree(b, x, nullptr, t);
        for (std::int64_t k = 0; built && k < x.frames.count && k < 8; ++k) browser::fillMd3Frame(b, x, t, nullptr, static_cast<int>(k));
        return built;
    });
#elif defined(KV_FUZZ_FORMAT_MDM)
    run<formats::MdmIndex>(b, [](formats::ByteView v, Reader r) { return formats::indexMdm(v, r); },
                           [&](const formats::MdmIndex& x, Counter& t) {
                               return browser::mdmTree(b, x, browser::BoneNames(), nullptr, t);
                           });
#else
    run<formats::MdxIndex>(b, formats::indexMdx, [&](const formats::MdxIndex& x, Counter& t) {
        const bool built = browser::mdxTree(b, x, nullptr, t);
        for (std::int64_t k = 0; built && k < x.frames.count && k < 8; ++k) browser::fillMdxFrame(b, x, t, nullptr, static_cast<int>(k));
        return built;
    });
#endif
    return 0;
}
