// The Win32 shell with real dialogs: a template built in memory comes up
// with its controls, the tree view notifies the dialog procedure in the
// shell's form, and the value given to endDialog comes back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32_calls.h"
#include "platform/win32/win32_shell.h"
#include "tree_insert_probe.h"

namespace {

using shell::ControlClass;

constexpr int kTree = 1001, kBar = 1002, kEdit = 1003;

constexpr shell::DialogControl kControls[] = {
    {ControlClass::Button, shell::IDOK, "Load New", 120, 7, 60, 14, shell::BS_DEFPUSHBUTTON | shell::WS_TABSTOP},
    {ControlClass::TreeView, kTree, "", 7, 7, 106, 80,
     shell::WS_BORDER | shell::TVS_HASBUTTONS | shell::TVS_HASLINES | shell::TVS_LINESATROOT},
    {ControlClass::Static, -1, "Progress", 7, 92, 28, 11, shell::SS_LEFTNOWORDWRAP},
    {ControlClass::Progress, kBar, "", 42, 90, 71, 13, shell::WS_BORDER},
    {ControlClass::Edit, kEdit, "start", 120, 30, 60, 14, shell::ES_AUTOHSCROLL},
};

constexpr shell::DialogTemplate kTemplate = {
    101, "Test dialog", shell::DS_MODALFRAME | shell::DS_SETFONT | shell::WS_POPUP | shell::WS_CAPTION,
    "MS Sans Serif", 8, 187, 110, kControls, sizeof(kControls) / sizeof(kControls[0]),
};

struct Seen {
    std::vector<shell::NMTREEVIEW> notes;
    std::string button, edit;
    bool treeFound = false, barFound = false, expanded = false, blocked = false;
    shell::HTREEITEM child = nullptr;
};
Seen g_seen;
shell::Shell* g_shell = nullptr;
shell::HTREEITEM g_blockedNode = nullptr;

INT_PTR proc(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == shell::WM_INITDIALOG) {
        shell::Shell& sh = *g_shell;
        char text[64] = {};
        sh.getDlgItemText(dialog, shell::IDOK, text, sizeof text);
        g_seen.button = text;
        sh.setDlgItemText(dialog, kEdit, "changed");
        sh.getDlgItemText(dialog, kEdit, text, 4);  // three characters and the end
        g_seen.edit = text;
        shell::TreeControl* tree = sh.treeControl(dialog, kTree);
        g_seen.treeFound = tree != nullptr;
        g_seen.barFound = sh.progressControl(dialog, kBar) != nullptr;
        if (tree == nullptr) return TRUE;
        probe::watchTreeInserts(w32::dlgItem(reinterpret_cast<w32::Handle>(dialog), kTree));
        const auto root = tree->insertItem(shell::TVI_ROOT, shell::TVI_LAST, "root", 7, true);
        g_seen.child = tree->insertItem(root, shell::TVI_LAST, "child", 8, false);
        const auto other = tree->insertItem(shell::TVI_ROOT, shell::TVI_LAST, "other", 9, true);
        tree->insertItem(other, shell::TVI_LAST, "hidden", 10, false);
        tree->expand(root, shell::TVE_EXPAND);
        g_seen.expanded = (tree->itemState(root) & shell::TVIS_EXPANDED) != 0;
        g_blockedNode = other;
        tree->expand(other, shell::TVE_EXPAND);
        g_seen.blocked = (tree->itemState(other) & shell::TVIS_EXPANDED) == 0;
        sh.progressControl(dialog, kBar)->setRange32(0, 10);
        sh.progressControl(dialog, kBar)->setPos(5);
        sh.endDialog(dialog, 42);
        return TRUE;
    }
    if (msg == shell::WM_NOTIFY) {
        const auto* tv = reinterpret_cast<const shell::NMTREEVIEW*>(lParam);
        g_seen.notes.push_back(*tv);
        return tv->item == g_blockedNode ? TRUE : FALSE;  // refuse to open "other"
    }
    return FALSE;
}

TEST(Win32Shell, DialogFromATemplateWithItsControlsAndTreeNotifications) {
    auto sh = win32shell::createWin32Shell();
    g_shell = sh.get();
    EXPECT_EQ(sh->dialogBox(kTemplate, nullptr, proc), 42);
    EXPECT_EQ(g_seen.button, "Load New");
    EXPECT_EQ(g_seen.edit, "cha");
    ASSERT_TRUE(g_seen.treeFound);
    EXPECT_TRUE(g_seen.barFound);
    EXPECT_TRUE(g_seen.expanded);
    EXPECT_TRUE(g_seen.blocked);
    // Only items inserted with the mark say anything about children: an
    // explicit 0 would keep the expand button off once children are added.
    const auto& inserts = probe::treeInserts();
    ASSERT_EQ(inserts.size(), 4u);
    for (const auto& insert : inserts) {
        SCOPED_TRACE(insert.param);
        EXPECT_EQ(insert.children, insert.param == 7 || insert.param == 9 ? 1 : -1);
    }
    ASSERT_EQ(g_seen.notes.size(), 2u);
    EXPECT_EQ(g_seen.notes[0].code, shell::TVN_ITEMEXPANDINGA);
    EXPECT_EQ(g_seen.notes[0].idFrom, kTree);
    EXPECT_EQ(g_seen.notes[0].action, shell::TVE_EXPAND);
    EXPECT_EQ(g_seen.notes[0].lParam, 7);
    EXPECT_EQ(g_seen.notes[0].state & shell::TVIS_EXPANDED, 0u);
    EXPECT_EQ(g_seen.notes[1].item, g_blockedNode);
    EXPECT_EQ(g_seen.notes[1].lParam, 9);
    g_shell = nullptr;
}

TEST(Win32Shell, AMissingControlIsNoControl) {
    auto sh = win32shell::createWin32Shell();
    g_shell = sh.get();
    static shell::Shell* s;
    s = sh.get();
    static bool none = false;
    const INT_PTR r = sh->dialogBox(kTemplate, nullptr, [](HWND d, UINT m, WPARAM, LPARAM) -> INT_PTR {
        if (m != shell::WM_INITDIALOG) return FALSE;
        none = s->treeControl(d, 4242) == nullptr && s->progressControl(d, 4243) == nullptr;
        s->endDialog(d, 7);
        return TRUE;
    });
    EXPECT_EQ(r, 7);
    EXPECT_TRUE(none);
    g_shell = nullptr;
}

}  // namespace
