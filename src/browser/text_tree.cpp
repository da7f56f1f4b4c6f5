#include "browser/text_tree.h"

#include <stdexcept>
#include <utility>

namespace browser {

TextTree::TextTree(std::string rootLabel) { nodes_.push_back({std::move(rootLabel), -1, false, {}}); }

TreeNode TextTree::appendChild(TreeNode parent, const char* label, int frameNumber, bool hasChildren) {
    const std::size_t p = index(parent);
    if (p >= nodes_.size()) throw std::out_of_range("TextTree: unknown parent");
    nodes_.push_back({label, frameNumber, hasChildren, {}});
    const std::size_t n = nodes_.size() - 1;
    nodes_[p].children.push_back(n);
    if (frameNumber != -1) frameNodes_.push_back(handle(n));
    return handle(n);
}

TreeNode TextTree::appendLast(TreeNode parent, const char* label) { return appendChild(parent, label, -1, false); }

std::vector<std::string> TextTree::childLabels(TreeNode n) const {
    std::vector<std::string> labels;
    for (auto c : node(n).children) labels.push_back(nodes_[c].label);
    return labels;
}

std::string TextTree::text() const {
    std::string out;
    // Depth-first without recursion: (node, depth) pairs, children pushed in
    // reverse so they come out in order.
    std::vector<std::pair<std::size_t, std::size_t>> stack{{0, 0}};
    while (!stack.empty()) {
        const auto [n, depth] = stack.back();
        stack.pop_back();
        out.append(2 * depth, ' ');
        out += nodes_[n].label;
        out += '\n';
        const auto& ch = nodes_[n].children;
        for (auto it = ch.rbegin(); it != ch.rend(); ++it) stack.push_back({*it, depth + 1});
    }
    return out;
}

}  // namespace browser
