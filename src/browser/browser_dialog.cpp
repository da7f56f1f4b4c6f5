#include "browser/browser_dialog.h"

#include <memory>

#include "browser/browser_dialog_tree.h"
#include "browser/mds_file.h"
#include "browser/tree_builder.h"

namespace browser {

namespace {

// The held model: none until the first "Load New" that gets a path. Only one
// browser dialog runs at a time.
std::unique_ptr<MdsFile> g_model;

shell::TreeControl* treeOf(HWND dialog) { return shell::current().treeControl(dialog, kIdTree); }

void onInit(HWND dialog) {
    g_model.reset();
    if (shell::TreeControl* tree = treeOf(dialog))
        tree->insertItem(shell::TVI_ROOT, shell::TVI_FIRST, kLabelNoFile, -1, false);
}

void onLoadNew(HWND dialog) {
    shell::Shell& sh = shell::current();

    char path[kPathBufferLength] = "";
    shell::OPENFILENAME ofn{};
    ofn.hwndOwner = dialog;
    ofn.lpstrFilter = kOpenFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = kPathBufferLength;
    ofn.lpstrInitialDir = nullptr;
    ofn.lpstrTitle = nullptr;
    ofn.Flags = shell::OFN_HIDEREADONLY | shell::OFN_PATHMUSTEXIST | shell::OFN_FILEMUSTEXIST;
    ofn.lpstrDefExt = "mds";
    if (!sh.getOpenFileName(&ofn)) {
        // A plain cancel reports 0; anything else is the dialog's own error.
        if (sh.commDlgExtendedError() != 0)
            sh.messageBox(dialog, kOpenErrorText, kOpenErrorCaption, shell::MB_OK | shell::MB_ICONWARNING);
        return;
    }
    // The dialog guarantees a terminated path; make sure of it anyway.
    path[kPathBufferLength - 1] = '\0';

    shell::TreeControl* tree = treeOf(dialog);
    if (!tree) return;
    tree->deleteAllItems();
    g_model.reset();
    g_model = std::make_unique<MdsFile>();
    // Failures of either step show up as a label from toTreeView.
    g_model->read(path);
    g_model->resolve();

    const shell::HTREEITEM root = tree->insertItem(shell::TVI_ROOT, shell::TVI_FIRST, path, -1, false);
    // The root shows before the build, which handles no messages until done.
    sh.redrawWindow(dialog);
    TreeViewSink sink(*tree, sh.progressControl(dialog, kIdProgress));
    toTreeView(*g_model, TreeViewSink::node(root), sink);
    tree->expand(root, shell::TVE_EXPAND);
}

// A frame node (parameter other than -1) gets its content on its first
// opening; the opening always proceeds.
void onItemExpanding(HWND dialog, const shell::NMTREEVIEW& nm) {
    if ((nm.action & (shell::TVE_EXPAND | shell::TVE_COLLAPSE)) != shell::TVE_EXPAND) return;
    if (nm.lParam == -1 || (nm.state & shell::TVIS_EXPANDEDONCE) != 0) return;
    if (!g_model) return;
    shell::TreeControl* tree = treeOf(dialog);
    if (!tree) return;
    TreeViewSink sink(*tree, nullptr);
    fillFrame(*g_model, sink, TreeViewSink::node(nm.item), static_cast<int>(nm.lParam));
}

}  // namespace

INT_PTR browserDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case shell::WM_INITDIALOG:
            onInit(dialog);
            return TRUE;  // the system sets the focus
        case shell::WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kIdLoadNew:
                    onLoadNew(dialog);
                    return TRUE;
                case kIdDone:
                    shell::current().endDialog(dialog, 0);
                    return TRUE;
            }
            return FALSE;
        case shell::WM_CLOSE:
            shell::current().endDialog(dialog, 0);
            return TRUE;
        case shell::WM_NOTIFY: {
            const auto* nm = reinterpret_cast<const shell::NMTREEVIEW*>(lParam);
            if (nm && nm->code == shell::TVN_ITEMEXPANDINGA) onItemExpanding(dialog, *nm);
            return FALSE;
        }
    }
    return FALSE;
}

int runBrowser() {
    // The tree view and progress bar need no class registration in the shell;
    // the dialog comes with its controls.
    shell::current().dialogBox(browserDialogTemplate(), nullptr, browserDialogProc);
    return 0;
}

}  // namespace browser
