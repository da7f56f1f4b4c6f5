#include "browser/store_tree.h"

namespace browser {

StoreTree::StoreTree(const char* rootLabel)
    : root_(store_.insert(shell::TreeStore::kTop, shell::TreeStore::kLast, rootLabel, -1, false)) {}

TreeNode StoreTree::appendChild(TreeNode parent, const char* label, int frameNumber, bool hasChildren) {
    // A node that could not be held (0) gets no children.
    if (id(parent) == shell::TreeStore::kTop) return nullptr;
    const auto added = store_.insert(id(parent), shell::TreeStore::kLast, label, frameNumber, hasChildren);
    if (frameNumber != -1 && added != 0) frameNodes_.push_back(handle(added));
    return handle(added);
}

}  // namespace browser
