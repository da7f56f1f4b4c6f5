// The tree-view control of the Qt dialogs: a QTreeView over an item model
// whose nodes live in a shell::TreeStore (20 bytes and a packed label per
// node, for trees of millions of nodes), and the TreeControl interface on
// it. A node's handle and its index's internal id are its store id. Every
// opening and closing, by the user or by the program, goes through one
// path that first notifies the dialog procedure (TVN_ITEMEXPANDINGA) and
// then lets the view open.
#pragma once

#include <QAbstractItemModel>
#include <QTreeView>

#include <cstdint>
#include <functional>

#include "platform/shell/shell.h"
#include "platform/shell/tree_store.h"

namespace qtshell::detail {

using NodeId = shell::TreeStore::Id;

class TreeModel : public QAbstractItemModel {
public:
    shell::TreeStore& store() { return store_; }
    const shell::TreeStore& store() const { return store_; }
    // A node under parent (TreeStore::kTop or a node) after `after`
    // (TreeStore::kFirst, kLast or a sibling); 0 when it cannot be held.
    NodeId insert(NodeId parent, NodeId after, const char* text, LPARAM param, bool hasChildren);
    void clear();
    QModelIndex indexOf(NodeId node) const;
    // The node of an index; TreeStore::kTop for the invalid index.
    static NodeId nodeOf(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    shell::TreeStore store_;
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
    void change(NodeId node, UINT action, bool fromUser);

private:
    void viewExpanded(const QModelIndex& index, bool expanded);
    shell::NMTREEVIEW note(NodeId n, UINT action);
    static shell::HTREEITEM handle(NodeId n) {
        return reinterpret_cast<shell::HTREEITEM>(static_cast<std::uintptr_t>(n));
    }
    // The node of a handle; 0 (the top) for null, TVI_ROOT and anything
    // that names no node of the current tree.
    NodeId node(shell::HTREEITEM h) const;

    int id_;
    TreeModel model_;
    ShellTreeView* view_;
    std::function<LRESULT(shell::NMTREEVIEW&)> notify_;
    bool changing_ = false;
    unsigned generation_ = 0;  // counts deleteAllItems
};

}  // namespace qtshell::detail
