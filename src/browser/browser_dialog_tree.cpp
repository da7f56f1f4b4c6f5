#include "browser/browser_dialog_tree.h"

namespace browser {

TreeNode TreeViewSink::appendChild(TreeNode parent, const char* label, int frameNumber, bool hasChildren) {
    const shell::HTREEITEM p = item(parent);
    const auto it = lastChild_.try_emplace(p, shell::TVI_FIRST).first;
    const shell::HTREEITEM added = tree_.insertItem(p, it->second, label, frameNumber, hasChildren);
    it->second = added;
    return node(added);
}

TreeNode TreeViewSink::appendLast(TreeNode parent, const char* label) {
    const shell::HTREEITEM p = item(parent);
    const shell::HTREEITEM added = tree_.insertItem(p, shell::TVI_LAST, label, -1, false);
    // Later children of this parent go after the label, keeping the order of
    // the calls.
    lastChild_[p] = added;
    return node(added);
}

void TreeViewSink::progressRange(int low, int high) {
    if (progress_) progress_->setRange32(low, high);
}

void TreeViewSink::progressPos(int pos) {
    if (progress_) progress_->setPos(pos);
}

}  // namespace browser
