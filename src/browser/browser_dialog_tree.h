// The builder's node interface on the dialog's controls: nodes become items
// of a shell::TreeControl, progress calls go to a shell::ProgressControl.
//
// A child is inserted after the child added before it under the same parent
// (the first one with TVI_FIRST), so every parent's children keep the order
// in which they were added; failure labels go in with TVI_LAST. The frame
// number is the item's parameter; frame nodes carry the has-children mark.
//
// The builder adds depth first: each parent is the node added last or one
// of its ancestors. So the sink keeps the last child only along that path
// (a few entries, where a table of every parent would cost as much as the
// tree's labels). A parent off the path, which the builder never uses, gets
// its children at the end (TVI_LAST), which keeps the order all the same.
//
// A node the control could not add (out of memory) is null; nothing is
// added under it, rather than at the top of the tree.
#pragma once

#include <vector>

#include "browser/tree_sink.h"
#include "platform/shell/shell.h"

namespace browser {

class TreeViewSink : public TreeSink {
public:
    // progress may be null (then progress calls do nothing).
    TreeViewSink(shell::TreeControl& tree, shell::ProgressControl* progress) : tree_(tree), progress_(progress) {}

    TreeNode appendChild(TreeNode parent, const char* label, int frameNumber, bool hasChildren) override;
    TreeNode appendLast(TreeNode parent, const char* label) override;
    void progressRange(int low, int high) override;
    void progressPos(int pos) override;

    static shell::HTREEITEM item(TreeNode node) { return static_cast<shell::HTREEITEM>(node); }
    static TreeNode node(shell::HTREEITEM item) { return static_cast<TreeNode>(item); }

private:
    struct Open {
        shell::HTREEITEM parent;
        shell::HTREEITEM last;  // the last child inserted under it, or TVI_FIRST
    };
    // The entry of parent on the path, made the path's end.
    Open& openAt(shell::HTREEITEM parent);

    shell::TreeControl& tree_;
    shell::ProgressControl* progress_;
    // From the first parent written to down to the parent of the node added
    // last.
    std::vector<Open> path_;
};

}  // namespace browser
