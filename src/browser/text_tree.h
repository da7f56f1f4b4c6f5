// A TreeSink that keeps the tree in memory: every node's label, frame number
// and has-children mark, the children in the order added, and every progress
// call. It prints the tree as indented text (two spaces per level). Used by
// mdstree and the tests.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "browser/tree_sink.h"

namespace browser {

class TextTree : public TreeSink {
public:
    struct Node {
        std::string label;
        int frameNumber = -1;
        bool hasChildren = false;
        std::vector<std::size_t> children;  // indices into nodes()
    };
    struct ProgressCall {
        bool isRange;  // range(low, high) or position(low)
        int low, high;
        bool operator==(const ProgressCall&) const = default;
    };

    // The root node (index 0) gets the label and frame number -1.
    explicit TextTree(std::string rootLabel);

    TreeNode appendChild(TreeNode parent, const char* label, int frameNumber, bool hasChildren) override;
    TreeNode appendLast(TreeNode parent, const char* label) override;
    void progressRange(int low, int high) override { progress.push_back({true, low, high}); }
    void progressPos(int pos) override { progress.push_back({false, pos, 0}); }

    TreeNode root() const { return handle(0); }
    static TreeNode handle(std::size_t index) { return reinterpret_cast<TreeNode>(index + 1); }
    static std::size_t index(TreeNode node) { return reinterpret_cast<std::size_t>(node) - 1; }

    const std::vector<Node>& nodes() const { return nodes_; }
    const Node& node(TreeNode n) const { return nodes_.at(index(n)); }
    // Labels of a node's children, in order.
    std::vector<std::string> childLabels(TreeNode n) const;
    TreeNode child(TreeNode n, std::size_t i) const { return handle(node(n).children.at(i)); }
    // Every node added with a frame number other than -1, in the order added.
    const std::vector<TreeNode>& frameNodes() const { return frameNodes_; }

    // The whole tree, one line per node, two spaces of indent per depth level.
    std::string text() const;

    std::vector<ProgressCall> progress;

private:
    std::vector<Node> nodes_;
    std::vector<TreeNode> frameNodes_;
};

}  // namespace browser
