// A TreeSink that keeps the tree as the dialog's tree view holds it, in a
// shell::TreeStore, without a window: for measuring what a model's tree
// costs and for the fuzzer, which checks that every label reads back as
// written.
#pragma once

#include <cstdint>
#include <vector>

#include "browser/tree_sink.h"
#include "platform/shell/tree_store.h"

namespace browser {

class StoreTree : public TreeSink {
public:
    // The root node, labelled rootLabel, frame number -1.
    explicit StoreTree(const char* rootLabel);

    TreeNode appendChild(TreeNode parent, const char* label, int frameNumber, bool hasChildren) override;
    TreeNode appendLast(TreeNode parent, const char* label) override { return appendChild(parent, label, -1, false); }
    void progressRange(int, int) override {}
    void progressPos(int) override {}

    TreeNode root() const { return handle(root_); }
    static TreeNode handle(shell::TreeStore::Id id) { return reinterpret_cast<TreeNode>(std::uintptr_t{id}); }
    static shell::TreeStore::Id id(TreeNode node) {
        return static_cast<shell::TreeStore::Id>(reinterpret_cast<std::uintptr_t>(node));
    }
    const shell::TreeStore& store() const { return store_; }
    // Every node added with a frame number other than -1, in the order added.
    const std::vector<TreeNode>& frameNodes() const { return frameNodes_; }

private:
    shell::TreeStore store_;
    shell::TreeStore::Id root_;
    std::vector<TreeNode> frameNodes_;
};

}  // namespace browser
