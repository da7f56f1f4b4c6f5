// Arbitrary bytes as a held MDS file: resolve, the whole tree into the store
// the dialog's tree view keeps its nodes in, then every frame node filled.
// Every label must read back from the store exactly as it was written; the
// root's label is the input's first bytes, so the label packing also sees
// text that is no label at all.
#include <cstddef>
#include <cstdint>
#include <string>

#include "browser/mds_file.h"
#include "browser/store_tree.h"
#include "browser/tree_builder.h"

namespace {

class CheckedTree : public browser::StoreTree {
public:
    using StoreTree::StoreTree;
    browser::TreeNode appendChild(browser::TreeNode parent, const char* label, int frameNumber,
                                  bool hasChildren) override {
        const browser::TreeNode added = StoreTree::appendChild(parent, label, frameNumber, hasChildren);
        if (added && store().label(id(added)) != label) __builtin_trap();
        return added;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 0xFFFFFFFFu) return 0;
    browser::MdsFile model;
    model.adopt(data, static_cast<std::uint32_t>(size));
    model.resolve();
    const std::string rootLabel(reinterpret_cast<const char*>(data), size < 256 ? size : 256);
    CheckedTree tree(rootLabel.c_str());
    if (tree.store().label(browser::StoreTree::id(tree.root())) != rootLabel.c_str()) __builtin_trap();
    browser::toTreeView(model, tree.root(), tree);
    for (browser::TreeNode frame : tree.frameNodes())
        browser::fillFrame(model, tree, frame, static_cast<int>(tree.store().param(browser::StoreTree::id(frame))));
    return 0;
}
