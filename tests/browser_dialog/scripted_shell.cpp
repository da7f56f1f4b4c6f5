#include "scripted_shell.h"

#include <gtest/gtest.h>

#include <cstring>

namespace scripted {

// ---- FakeTree ------------------------------------------------------------------

std::size_t FakeTree::index(shell::HTREEITEM h) const {
    const auto i = reinterpret_cast<std::uintptr_t>(h) - 1;
    if (h == nullptr || i >= items_.size()) throw std::out_of_range("FakeTree: not an item handle");
    return i;
}

bool FakeTree::alive(shell::HTREEITEM item) const {
    const auto i = reinterpret_cast<std::uintptr_t>(item) - 1;
    return item != nullptr && i < items_.size() && items_[i].alive;
}

std::vector<std::size_t>& FakeTree::listOf(shell::HTREEITEM parent) {
    return parent == shell::TVI_ROOT ? top_ : items_.at(index(parent)).children;
}
const std::vector<std::size_t>& FakeTree::listOf(shell::HTREEITEM parent) const {
    return parent == shell::TVI_ROOT ? top_ : items_.at(index(parent)).children;
}

shell::HTREEITEM FakeTree::insertItem(shell::HTREEITEM parent, shell::HTREEITEM after, const char* text, LPARAM param,
                                      bool hasChildren) {
    if (parent != shell::TVI_ROOT && !alive(parent)) {
        ADD_FAILURE() << "insert under a deleted or unknown parent: " << text;
        return nullptr;
    }
    auto& list = listOf(parent);
    auto pos = list.end();
    if (after == shell::TVI_FIRST) {
        pos = list.begin();
    } else if (after != shell::TVI_LAST) {
        // Must be a sibling under the same parent.
        pos = list.end();
        for (auto it = list.begin(); it != list.end(); ++it)
            if (handle(*it) == after) pos = it + 1;
        if (pos == list.end() && (list.empty() || handle(list.back()) != after))
            ADD_FAILURE() << "insert after an item that is not a child of the parent: " << text;
    }
    items_.push_back({text, param, hasChildren, 0, {}, true});
    const std::size_t n = items_.size() - 1;
    listOf(parent).insert(pos, n);
    return handle(n);
}

void FakeTree::deleteAllItems() {
    for (auto& item : items_) item.alive = false;
    top_.clear();
}

void FakeTree::expand(shell::HTREEITEM item, UINT action) {
    Item& it = items_.at(index(item));
    if (!it.alive) {
        ADD_FAILURE() << "expand of a deleted item";
        return;
    }
    const shell::NMTREEVIEW nm{shell::TVN_ITEMEXPANDINGA, 1001, action, item, it.state, it.param};
    ++notifications;
    if (owner_.notify(nm) != FALSE) return;  // TRUE stops the change
    Item& after = items_.at(index(item));  // the notification may have added items
    if (action == shell::TVE_EXPAND)
        after.state |= shell::TVIS_EXPANDED | shell::TVIS_EXPANDEDONCE;
    else if (action == shell::TVE_COLLAPSE)
        after.state &= ~shell::TVIS_EXPANDED;
}

UINT FakeTree::itemState(shell::HTREEITEM item) { return at(item).state; }

std::vector<shell::HTREEITEM> FakeTree::children(shell::HTREEITEM item) const {
    std::vector<shell::HTREEITEM> out;
    for (auto c : listOf(item)) out.push_back(handle(c));
    return out;
}

std::vector<std::string> FakeTree::childLabels(shell::HTREEITEM item) const {
    std::vector<std::string> out;
    for (auto c : listOf(item)) out.push_back(items_[c].text);
    return out;
}

shell::HTREEITEM FakeTree::find(shell::HTREEITEM item, const std::string& label) const {
    for (auto c : listOf(item))
        if (items_[c].text == label) return handle(c);
    return nullptr;
}

std::size_t FakeTree::liveCount() const {
    std::size_t n = 0;
    for (const auto& item : items_) n += item.alive ? 1 : 0;
    return n;
}

std::string FakeTree::dump() const {
    std::string out;
    std::vector<std::pair<std::size_t, std::size_t>> stack;
    for (auto it = top_.rbegin(); it != top_.rend(); ++it) stack.push_back({*it, 0});
    while (!stack.empty()) {
        const auto [n, depth] = stack.back();
        stack.pop_back();
        out.append(2 * depth, ' ');
        out += items_[n].text;
        out += '\n';
        const auto& ch = items_[n].children;
        for (auto it = ch.rbegin(); it != ch.rend(); ++it) stack.push_back({*it, depth + 1});
    }
    return out;
}

// ---- ScriptedShell ---------------------------------------------------------------

void ScriptedShell::open(shell::DLGPROC proc) {
    proc_ = proc;
    ended = false;
    proc_(dialog_, shell::WM_INITDIALOG, 0, 0);
}

void ScriptedShell::click(int id) {
    ASSERT_NE(proc_, nullptr);
    proc_(dialog_, shell::WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void ScriptedShell::close() {
    ASSERT_NE(proc_, nullptr);
    proc_(dialog_, shell::WM_CLOSE, 0, 0);
}

LRESULT ScriptedShell::notify(const shell::NMTREEVIEW& nm) {
    if (!proc_) return FALSE;
    return proc_(dialog_, shell::WM_NOTIFY, static_cast<WPARAM>(nm.idFrom), reinterpret_cast<LPARAM>(&nm));
}

void ScriptedShell::redrawWindow(HWND hwnd) {
    EXPECT_EQ(hwnd, dialog_);
    redraws.push_back(tree.dump());
}

INT_PTR ScriptedShell::dialogBox(const shell::DialogTemplate& tmpl, HWND owner, shell::DLGPROC proc) {
    shownTemplate = &tmpl;
    shownOwner = owner;
    open(proc);
    for (auto& step : script) {
        if (ended) break;
        step();
    }
    if (!ended) {
        ADD_FAILURE() << "the script ran out before the dialog ended";
        return -1;
    }
    proc_ = nullptr;
    return endResult;
}

bool ScriptedShell::endDialog(HWND dialog, INT_PTR result) {
    EXPECT_EQ(dialog, dialog_);
    ended = true;
    endResult = result;
    return true;
}

shell::TreeControl* ScriptedShell::treeControl(HWND dialog, int id) {
    return dialog == dialog_ && id == 1001 ? &tree : nullptr;
}

shell::ProgressControl* ScriptedShell::progressControl(HWND dialog, int id) {
    return dialog == dialog_ && id == 1005 ? &progress : nullptr;
}

int ScriptedShell::messageBox(HWND owner, const char* text, const char* caption, UINT type) {
    messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    return shell::IDOK;
}

bool ScriptedShell::getOpenFileName(shell::OPENFILENAME* ofn) {
    OpenRequest req{ofn->hwndOwner, {}, ofn->nFilterIndex, ofn->nMaxFile, ofn->lpstrInitialDir != nullptr,
                    ofn->lpstrTitle != nullptr, ofn->Flags, ofn->lpstrDefExt ? ofn->lpstrDefExt : ""};
    // The list is pairs of terminated strings ended by an empty string.
    for (const char* p = ofn->lpstrFilter; p && *p; p += std::strlen(p) + 1) req.filter.append(p, std::strlen(p) + 1);
    openRequests.push_back(req);

    if (answers.empty()) {
        ADD_FAILURE() << "the file-open dialog was shown with no answer queued";
        lastError_ = 0;
        return false;
    }
    const OpenAnswer a = answers.front();
    answers.pop_front();
    switch (a.kind) {
        case OpenAnswer::Choose:
            // A path that does not fit the caller's buffer is the dialog's error.
            if (a.path.size() + 1 > ofn->nMaxFile) {
                lastError_ = shell::FNERR_BUFFERTOOSMALL;
                return false;
            }
            std::memcpy(ofn->lpstrFile, a.path.c_str(), a.path.size() + 1);
            lastError_ = 0;
            return true;
        case OpenAnswer::Cancel:
            lastError_ = 0;
            return false;
        case OpenAnswer::Fail:
            lastError_ = a.error;
            return false;
    }
    return false;
}

}  // namespace scripted
