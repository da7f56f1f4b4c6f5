// The tree-view control of the Qt dialogs: a QTreeView over a light item
// model that the program appends to (fast for hundreds of thousands of
// nodes), and the TreeControl interface on it. Every opening and closing,
// by the user or by the program, goes through one path that first notifies
// the dialog procedure (TVN_ITEMEXPANDINGA) and then lets the view open.
#pragma once

#include <QAbstractItemModel>
#include <QTreeView>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/shell/shell.h"

namespace qtshell::detail {

struct TreeNode {
    TreeNode* parent = nullptr;
    std::vector<std::unique_ptr<TreeNode>> children;
    std::string text;
    LPARAM param = 0;
    int row = 0;
    bool hasChildrenMark = false;
    bool expanded = false;
    bool expandedOnce = false;
};

class TreeModel : public QAbstractItemModel {
public:
    TreeNode& root() { return root_; }
    TreeNode* insert(TreeNode* parent, int position, const char* text, LPARAM param, bool hasChildren);
    void clear();
    QModelIndex indexOf(TreeNode* node) const;
    static TreeNode* nodeOf(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const TreeNode* node(const QModelIndex& index) const;
    TreeNode root_;
};

class QtTreeControl;

class ShellTreeView : public QTreeView {
public:
    ShellTreeView(QtTreeControl& control, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool onExpander(const QPoint& pos, QModelIndex* hit) const;
    void toggle(const QModelIndex& index);
    QtTreeControl& control_;
};

class QtTreeControl final : public shell::TreeControl {
public:
    // notify delivers the NMTREEVIEW to the dialog procedure; nonzero stops
    // the change.
    QtTreeControl(int id, DWORD style, QWidget* parent, std::function<LRESULT(shell::NMTREEVIEW&)> notify);

    shell::HTREEITEM insertItem(shell::HTREEITEM parent, shell::HTREEITEM after, const char* text, LPARAM param,
                                bool hasChildren) override;
    void deleteAllItems() override;
    void expand(shell::HTREEITEM item, UINT action) override;
    UINT itemState(shell::HTREEITEM item) override;

    QTreeView* view() { return view_; }
    TreeModel& model() { return model_; }
    // The one path of every opening and closing; fromUser notifies on every
    // opening, the program's call only on the first (as TVM_EXPAND does).
    void change(TreeNode* node, UINT action, bool fromUser);

private:
    void viewExpanded(const QModelIndex& index, bool expanded);
    static shell::HTREEITEM handle(TreeNode* n) { return reinterpret_cast<shell::HTREEITEM>(n); }
    static TreeNode* node(shell::HTREEITEM h) { return reinterpret_cast<TreeNode*>(h); }
    TreeNode* parentNode(shell::HTREEITEM h);

    int id_;
    TreeModel model_;
    ShellTreeView* view_;
    std::function<LRESULT(shell::NMTREEVIEW&)> notify_;
    bool changing_ = false;
    unsigned generation_ = 0;  // counts deleteAllItems
};

}  // namespace qtshell::detail
