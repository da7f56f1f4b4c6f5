#include "browser/stream_tree.h"


namespace browser {

namespace {
constexpr std::size_t kBlock = 1 << 16;
}  // namespace

StreamTree::StreamTree(std::FILE* out, const std::string& rootLabel) : out_(out), path_{0} {
    buffer_.reserve(2 * kBlock);
    writeLine(0, rootLabel.c_str());
}

bool StreamTree::flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) failed_ = true;
    buffer_.clear();
    return !failed_;
}

void StreamTree::writeLine(std::size_t depth, const char* label) {
    buffer_.append(2 * depth, ' ');
    buffer_.append(label);
    buffer_.push_back('\n');
    if (buffer_.size() >= kBlock) flush();
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
