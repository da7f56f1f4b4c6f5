// A TreeSink that writes each node as indented text (two spaces per level)
// the moment it is added, holding only the path from the root to the newest
// node: the text of a tree of any size in constant memory. The output is
// byte for byte what TextTree::text() gives for the same calls.
//
// It relies on the order the tree builder adds nodes in: every new node's
// parent is the newest node or one of its ancestors (depth-first order). A
// frame node can be filled as it is added: `onFrameNode` is called right
// after a frame node is written, and whatever it adds under that node comes
// out before the next sibling.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "browser/tree_sink.h"

namespace browser {

class StreamTree : public TreeSink {
public:
    // Writes the root's line first. Lines are gathered in a buffer of its
    // own and written in large blocks; flush() (and the destructor) write
    // what is left.
    StreamTree(std::FILE* out, const std::string& rootLabel);
    ~StreamTree() override { flush(); }
    StreamTree(const StreamTree&) = delete;
    StreamTree& operator=(const StreamTree&) = delete;
    // False when a write failed (now or earlier).
    bool flush();

    TreeNode appendChild(TreeNode parent, const char* label, int frameNumber, bool hasChildren) override;
    TreeNode appendLast(TreeNode parent, const char* label) override;
    void progressRange(int, int) override {}
    void progressPos(int) override {}

    TreeNode root() const { return handle(0); }
    // Called with each frame node and its frame number after its line.
    std::function<void(TreeNode, int)> onFrameNode;
    // Frame nodes added so far.
    std::size_t frameNodes() const { return frameNodes_; }
    // True when a node named a parent that was no longer on the path (its
    // line could not be placed, so it was dropped).
    bool outOfOrder() const { return outOfOrder_; }

private:
    static TreeNode handle(std::size_t id) { return reinterpret_cast<TreeNode>(id + 1); }
    static std::size_t id(TreeNode node) { return reinterpret_cast<std::size_t>(node) - 1; }
    void writeLine(std::size_t depth, const char* label);

    std::FILE* out_;
    std::string buffer_;
    bool failed_ = false;
    std::vector<std::size_t> path_;  // ids from the root to the newest node
    std::size_t next_ = 1;
    std::size_t frameNodes_ = 0;
    bool outOfOrder_ = false;
};

}  // namespace browser
