// Tree-view control: item model, view with intercepted openings, TreeControl.
#include "platform/qt/qt_tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace qtshell::detail {

// ---- model ----------------------------------------------------------------------

NodeId TreeModel::insert(NodeId parent, NodeId after, const char* text, LPARAM param, bool hasChildren) {
    const int row = store_.rowFor(parent, after);
    if (row < 0) return 0;
    const NodeId id = store_.add(text ? text : "", param, hasChildren);
    if (id == 0) return 0;
    beginInsertRows(indexOf(parent), row, row);
    store_.link(id, parent, after);
    endInsertRows();
    return id;
}

void TreeModel::clear() {
    beginResetModel();
    store_.clear();
    endResetModel();
}

QModelIndex TreeModel::indexOf(NodeId n) const {
    if (!store_.isNode(n)) return {};
    return createIndex(store_.row(n), 0, static_cast<quintptr>(n));
}

NodeId TreeModel::nodeOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<NodeId>(index.internalId()) : shell::TreeStore::kTop;
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0) return {};
    const NodeId c = store_.child(nodeOf(parent), row);
    return c == 0 ? QModelIndex() : createIndex(row, 0, static_cast<quintptr>(c));
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
    const NodeId n = nodeOf(child);
    return n == shell::TreeStore::kTop ? QModelIndex() : indexOf(store_.parent(n));
}

int TreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return store_.childCount(nodeOf(parent));
}

int TreeModel::columnCount(const QModelIndex&) const { return 1; }

bool TreeModel::hasChildren(const QModelIndex& parent) const {
    if (parent.column() > 0) return false;
    return store_.hasChildren(nodeOf(parent));
}

QVariant TreeModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return QString::fromLocal8Bit(store_.label(nodeOf(index)));
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
    const NodeId n = TreeModel::nodeOf(index);
    if (n == shell::TreeStore::kTop) return;
    control_.change(n, control_.model().store().expanded(n) ? shell::TVE_COLLAPSE : shell::TVE_EXPAND, true);
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
    const NodeId n = TreeModel::nodeOf(cur);
    if (n != shell::TreeStore::kTop) {
        const bool can = model()->hasChildren(cur);
        const bool open = control_.model().store().expanded(n);
        switch (e->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Asterisk:
            if (can && !open) control_.change(n, shell::TVE_EXPAND, true);
            return;
        case Qt::Key_Minus:
            if (open) control_.change(n, shell::TVE_COLLAPSE, true);
            return;
        case Qt::Key_Right:
            if (can && !open) {
                control_.change(n, shell::TVE_EXPAND, true);
                return;
            }
            break;
        case Qt::Key_Left:
            if (open) {
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

NodeId QtTreeControl::node(shell::HTREEITEM h) const {
    const auto v = reinterpret_cast<std::uintptr_t>(h);
    if (v > UINT32_MAX || !model_.store().isNode(static_cast<NodeId>(v))) return shell::TreeStore::kTop;
    return static_cast<NodeId>(v);
}

shell::HTREEITEM QtTreeControl::insertItem(shell::HTREEITEM parent, shell::HTREEITEM after, const char* text,
                                           LPARAM param, bool hasChildren) {
    // Null and TVI_ROOT are the top; a handle that names no node of the
    // current tree adds nothing. A place that is not a child of the parent
    // means the end.
    const NodeId p = node(parent);
    if (p == shell::TreeStore::kTop && parent && parent != shell::TVI_ROOT) return nullptr;
    NodeId place = shell::TreeStore::kLast;
    if (after == shell::TVI_FIRST) place = shell::TreeStore::kFirst;
    else if (const NodeId sibling = node(after); sibling != shell::TreeStore::kTop) place = sibling;
    return handle(model_.insert(p, place, text, param, hasChildren));
}

void QtTreeControl::deleteAllItems() {
    ++generation_;
    model_.clear();
}

void QtTreeControl::expand(shell::HTREEITEM item, UINT action) { change(node(item), action, false); }

UINT QtTreeControl::itemState(shell::HTREEITEM item) {
    const NodeId n = node(item);
    if (n == shell::TreeStore::kTop) return 0;
    const shell::TreeStore& s = model_.store();
    return (s.expanded(n) ? shell::TVIS_EXPANDED : 0u) | (s.expandedOnce(n) ? shell::TVIS_EXPANDEDONCE : 0u);
}

shell::NMTREEVIEW QtTreeControl::note(NodeId n, UINT action) {
    return {shell::TVN_ITEMEXPANDINGA, id_, action, handle(n), itemState(handle(n)),
            static_cast<LPARAM>(model_.store().param(n))};
}

void QtTreeControl::change(NodeId n, UINT action, bool fromUser) {
    if (n == shell::TreeStore::kTop) return;
    const bool open = action == shell::TVE_EXPAND;
    if (action != shell::TVE_EXPAND && action != shell::TVE_COLLAPSE) return;
    if (open == model_.store().expanded(n)) return;
    // The program's own call notifies only before the first opening; the
    // user's openings and closings always do.
    if (fromUser || (open && !model_.store().expandedOnce(n))) {
        shell::NMTREEVIEW nm = note(n, action);
        const unsigned generation = generation_;
        if (notify_(nm) != 0) return;
        if (generation != generation_) return;  // the procedure emptied the tree; n is gone
    }
    model_.store().setExpanded(n, open);
    changing_ = true;
    if (open) view_->expand(model_.indexOf(n));
    else view_->collapse(model_.indexOf(n));
    changing_ = false;
}

void QtTreeControl::viewExpanded(const QModelIndex& index, bool expanded) {
    const NodeId n = TreeModel::nodeOf(index);
    if (n == shell::TreeStore::kTop || changing_) return;
    shell::TreeStore& s = model_.store();
    // Opened or closed by a path the view took on its own: tell the
    // procedure afterwards rather than not at all.
    if (expanded && !s.expanded(n)) {
        shell::NMTREEVIEW nm = note(n, shell::TVE_EXPAND);
        s.setExpanded(n, true);
        const unsigned generation = generation_;
        if (notify_(nm) != 0 && generation == generation_) {
            s.setExpanded(n, false);
            changing_ = true;
            view_->collapse(index);
            changing_ = false;
        }
    } else if (!expanded) {
        s.setExpanded(n, false);
    }
}

}  // namespace qtshell::detail
