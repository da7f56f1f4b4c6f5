// Tree-view control: item model, view with intercepted openings, TreeControl.
#include "platform/qt/qt_tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace qtshell::detail {

// ---- model ----------------------------------------------------------------------

TreeNode* TreeModel::insert(TreeNode* parent, int position, const char* text, LPARAM param, bool hasChildren) {
    auto& kids = parent->children;
    const int pos = std::clamp(position, 0, static_cast<int>(kids.size()));
    beginInsertRows(indexOf(parent), pos, pos);
    auto n = std::make_unique<TreeNode>();
    n->parent = parent;
    n->text = text ? text : "";
    n->param = param;
    n->hasChildrenMark = hasChildren;
    TreeNode* raw = n.get();
    kids.insert(kids.begin() + pos, std::move(n));
    for (std::size_t i = static_cast<std::size_t>(pos); i < kids.size(); ++i) kids[i]->row = static_cast<int>(i);
    endInsertRows();
    return raw;
}

void TreeModel::clear() {
    beginResetModel();
    root_.children.clear();
    endResetModel();
}

QModelIndex TreeModel::indexOf(TreeNode* n) const {
    if (!n || n == &root_) return {};
    return createIndex(n->row, 0, n);
}

TreeNode* TreeModel::nodeOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<TreeNode*>(index.internalPointer()) : nullptr;
}

const TreeNode* TreeModel::node(const QModelIndex& index) const {
    return index.isValid() ? static_cast<const TreeNode*>(index.internalPointer()) : &root_;
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
    const TreeNode* p = node(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(p->children.size())) return {};
    return createIndex(row, 0, p->children[static_cast<std::size_t>(row)].get());
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
    const TreeNode* n = nodeOf(child);
    if (!n || n->parent == &root_ || !n->parent) return {};
    return createIndex(n->parent->row, 0, n->parent);
}

int TreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(node(parent)->children.size());
}

int TreeModel::columnCount(const QModelIndex&) const { return 1; }

bool TreeModel::hasChildren(const QModelIndex& parent) const {
    if (parent.column() > 0) return false;
    const TreeNode* n = node(parent);
    return !n->children.empty() || n->hasChildrenMark;
}

QVariant TreeModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return QString::fromLocal8Bit(node(index)->text);
}

// ---- view -----------------------------------------------------------------------

ShellTreeView::ShellTreeView(QtTreeControl& control, QWidget* parent) : QTreeView(parent), control_(control) {}

bool ShellTreeView::onExpander(const QPoint& pos, QModelIndex* hit) const {
    const QModelIndex idx = indexAt(pos);
    if (!idx.isValid() || !model()->hasChildren(idx)) return false;
    if (!rootIsDecorated() && !idx.parent().isValid()) return false;
    // The expander sits in the indentation just left of the item's rectangle.
    const QRect r = visualRect(idx);
    if (pos.y() < r.top() || pos.y() > r.bottom()) return false;
    if (pos.x() < r.left() - indentation() || pos.x() >= r.left()) return false;
    if (hit) *hit = idx;
    return true;
}

void ShellTreeView::toggle(const QModelIndex& index) {
    TreeNode* n = TreeModel::nodeOf(index);
    if (!n) return;
    control_.change(n, n->expanded ? shell::TVE_COLLAPSE : shell::TVE_EXPAND, true);
}

void ShellTreeView::mousePressEvent(QMouseEvent* e) {
    QModelIndex hit;
    if (e->button() == Qt::LeftButton && onExpander(e->position().toPoint(), &hit)) {
        toggle(hit);
        e->accept();
        return;
    }
    QTreeView::mousePressEvent(e);
}

void ShellTreeView::mouseReleaseEvent(QMouseEvent* e) {
    if (onExpander(e->position().toPoint(), nullptr)) {
        e->accept();  // some styles open on release; the press already did
        return;
    }
    QTreeView::mouseReleaseEvent(e);
}

void ShellTreeView::mouseDoubleClickEvent(QMouseEvent* e) {
    QModelIndex hit;
    if (onExpander(e->position().toPoint(), &hit)) {
        toggle(hit);
        e->accept();
        return;
    }
    QTreeView::mouseDoubleClickEvent(e);
    const QModelIndex idx = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && idx.isValid() && model()->hasChildren(idx)) toggle(idx);
}

void ShellTreeView::keyPressEvent(QKeyEvent* e) {
    const QModelIndex cur = currentIndex();
    TreeNode* n = TreeModel::nodeOf(cur);
    if (n) {
        const bool can = model()->hasChildren(cur);
        switch (e->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Asterisk:
            if (can && !n->expanded) control_.change(n, shell::TVE_EXPAND, true);
            return;
        case Qt::Key_Minus:
            if (n->expanded) control_.change(n, shell::TVE_COLLAPSE, true);
            return;
        case Qt::Key_Right:
            if (can && !n->expanded) {
                control_.change(n, shell::TVE_EXPAND, true);
                return;
            }
            break;
        case Qt::Key_Left:
            if (n->expanded) {
                control_.change(n, shell::TVE_COLLAPSE, true);
                return;
            }
            break;
        default: break;
        }
    }
    QTreeView::keyPressEvent(e);
}

// ---- control --------------------------------------------------------------------

QtTreeControl::QtTreeControl(int id, DWORD style, QWidget* parent, std::function<LRESULT(shell::NMTREEVIEW&)> notify)
    : id_(id), view_(new ShellTreeView(*this, parent)), notify_(std::move(notify)) {
    view_->setHeaderHidden(true);
    view_->setUniformRowHeights(true);
    view_->setRootIsDecorated((style & shell::TVS_LINESATROOT) != 0);
    view_->setItemsExpandable(true);
    view_->setExpandsOnDoubleClick(false);
    view_->setAnimated(false);
    view_->setAutoExpandDelay(-1);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setModel(&model_);
    // Long labels scroll sideways, as in a Win32 tree view.
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QObject::connect(view_, &QTreeView::expanded, view_, [this](const QModelIndex& i) { viewExpanded(i, true); });
    QObject::connect(view_, &QTreeView::collapsed, view_, [this](const QModelIndex& i) { viewExpanded(i, false); });
}

TreeNode* QtTreeControl::parentNode(shell::HTREEITEM h) {
    if (!h || h == shell::TVI_ROOT) return &model_.root();
    return node(h);
}

shell::HTREEITEM QtTreeControl::insertItem(shell::HTREEITEM parent, shell::HTREEITEM after, const char* text,
                                           LPARAM param, bool hasChildren) {
    TreeNode* p = parentNode(parent);
    int pos = static_cast<int>(p->children.size());
    if (after == shell::TVI_FIRST) {
        pos = 0;
    } else if (after && after != shell::TVI_LAST && after != shell::TVI_ROOT) {
        TreeNode* sib = node(after);
        if (sib->parent == p) pos = sib->row + 1;
    }
    return handle(model_.insert(p, pos, text, param, hasChildren));
}

void QtTreeControl::deleteAllItems() {
    ++generation_;
    model_.clear();
}

void QtTreeControl::expand(shell::HTREEITEM item, UINT action) {
    if (!item || item == shell::TVI_ROOT) return;
    change(node(item), action, false);
}

UINT QtTreeControl::itemState(shell::HTREEITEM item) {
    if (!item || item == shell::TVI_ROOT) return 0;
    const TreeNode* n = node(item);
    return (n->expanded ? shell::TVIS_EXPANDED : 0u) | (n->expandedOnce ? shell::TVIS_EXPANDEDONCE : 0u);
}

void QtTreeControl::change(TreeNode* n, UINT action, bool fromUser) {
    if (!n || n == &model_.root()) return;
    const bool open = action == shell::TVE_EXPAND;
    if (action != shell::TVE_EXPAND && action != shell::TVE_COLLAPSE) return;
    if (open == n->expanded) return;
    // The program's own call notifies only before the first opening; the
    // user's openings and closings always do.
    if (fromUser || (open && !n->expandedOnce)) {
        shell::NMTREEVIEW nm{shell::TVN_ITEMEXPANDINGA, id_, action, handle(n), itemState(handle(n)), n->param};
        const unsigned generation = generation_;
        if (notify_(nm) != 0) return;
        if (generation != generation_) return;  // the procedure emptied the tree; n is gone
    }
    if (open) n->expandedOnce = true;
    n->expanded = open;
    changing_ = true;
    if (open) view_->expand(model_.indexOf(n));
    else view_->collapse(model_.indexOf(n));
    changing_ = false;
}

void QtTreeControl::viewExpanded(const QModelIndex& index, bool expanded) {
    TreeNode* n = TreeModel::nodeOf(index);
    if (!n || changing_) return;
    // Opened or closed by a path the view took on its own: tell the
    // procedure afterwards rather than not at all.
    if (expanded && !n->expanded) {
        shell::NMTREEVIEW nm{shell::TVN_ITEMEXPANDINGA, id_, shell::TVE_EXPAND, handle(n), itemState(handle(n)),
                             n->param};
        n->expandedOnce = true;
        n->expanded = true;
        if (notify_(nm) != 0) {
            n->expanded = false;
            changing_ = true;
            view_->collapse(index);
            changing_ = false;
        }
    } else if (!expanded) {
        n->expanded = false;
    }
}

}  // namespace qtshell::detail
