#include "browser/stream_tree.h"

#include <cstring>

namespace browser {

StreamTree::StreamTree(std::FILE* out, const std::string& rootLabel) : out_(out), path_{0} {
    writeLine(0, rootLabel.c_str());
}

void StreamTree::writeLine(std::size_t depth, const char* label) {
    static constexpr char kSpaces[] = "                                                                ";
    std::size_t indent = 2 * depth;
    while (indent > 0) {
        const std::size_t n = indent < sizeof kSpaces - 1 ? indent : sizeof kSpaces - 1;
        std::fwrite(kSpaces, 1, n, out_);
        indent -= n;
    }
    std::fwrite(label, 1, std::strlen(label), out_);
    std::fputc('\n', out_);
}

TreeNode StreamTree::appendChild(TreeNode parent, const char* label, int frameNumber, bool) {
    const std::size_t p = id(parent);
    while (!path_.empty() && path_.back() != p) path_.pop_back();
    if (path_.empty()) {
        // Not on the path: the line has no place in depth-first text.
        outOfOrder_ = true;
        path_.push_back(0);
        return handle(next_++);
    }
    writeLine(path_.size(), label);
    const std::size_t n = next_++;
    path_.push_back(n);
    if (frameNumber != -1) {
        ++frameNodes_;
        if (onFrameNode) onFrameNode(handle(n), frameNumber);
    }
    return handle(n);
}

TreeNode StreamTree::appendLast(TreeNode parent, const char* label) { return appendChild(parent, label, -1, false); }

}  // namespace browser
