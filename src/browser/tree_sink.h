// The node interface the structure tree builder writes to. In the browser it
// is the dialog's tree view and progress bar; tests and mdstree use their own
// sinks. A node handle is opaque to the builder: it only hands back what the
// sink returned.
#pragma once

namespace browser {

using TreeNode = void*;

class TreeSink {
public:
    virtual ~TreeSink() = default;
    // Adds a child after the children already added under parent. frameNumber
    // is -1 for every node except frame nodes; hasChildren marks a node that
    // can be opened before it has children (frame nodes only).
    virtual TreeNode appendChild(TreeNode parent, const char* label, int frameNumber, bool hasChildren) = 0;
    // Adds a child at the end, frame number -1 (used for the failure labels).
    virtual TreeNode appendLast(TreeNode parent, const char* label) = 0;
    virtual void progressRange(int low, int high) = 0;
    virtual void progressPos(int pos) = 0;
};

}  // namespace browser
