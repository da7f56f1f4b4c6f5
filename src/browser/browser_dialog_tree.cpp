#include "browser/browser_dialog_tree.h"

namespace browser {

TreeViewSink::Open& TreeViewSink::openAt(shell::HTREEITEM parent) {
    for (std::size_t i = path_.size(); i-- > 0;)
        if (path_[i].parent == parent) {
            path_.resize(i + 1);
            return path_.back();
        }
    // The node added last, or the first parent of all: nothing was inserted
    // under it yet.
    if (path_.empty() || path_.back().last == parent) return path_.emplace_back(Open{parent, shell::TVI_FIRST});
    path_.assign(1, Open{parent, shell::TVI_LAST});
    return path_.back();
}

TreeNode TreeViewSink::appendChild(TreeNode parent, const char* label, int frameNumber, bool hasChildren) {
    if (!parent) return nullptr;
    Open& open = openAt(item(parent));
    const shell::HTREEITEM added = tree_.insertItem(open.parent, open.last, label, frameNumber, hasChildren);
    open.last = added;
    return node(added);
}

TreeNode TreeViewSink::appendLast(TreeNode parent, const char* label) {
    if (!parent) return nullptr;
    Open& open = openAt(item(parent));
    // Later children of this parent go after the label, keeping the order of
    // the calls.
    open.last = tree_.insertItem(open.parent, shell::TVI_LAST, label, -1, false);
    return node(open.last);
}

void TreeViewSink::progressRange(int low, int high) {
    if (progress_) progress_->setRange32(low, high);
}

void TreeViewSink::progressPos(int pos) {
    if (progress_) progress_->setPos(pos);
}

}  // namespace browser
