// The builder's node interface on the dialog's controls: nodes become items
// of a shell::TreeControl, progress calls go to a shell::ProgressControl.
//
// A child is inserted after the child added before it under the same parent
// (the first one with TVI_FIRST), so every parent's children keep the order
// in which they were added; failure labels go in with TVI_LAST. The frame
// number is the item's parameter; frame nodes carry the has-children mark.
#pragma once

#include <unordered_map>

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
    shell::TreeControl& tree_;
    shell::ProgressControl* progress_;
    // The last child inserted under each parent this sink has written to.
    std::unordered_map<shell::HTREEITEM, shell::HTREEITEM> lastChild_;
};

}  // namespace browser
