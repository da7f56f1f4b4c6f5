// Modal dialogs from the program's DIALOG resources, or built in memory as a
// DLGTEMPLATE from the shell's template where the program has none,
// the tree view and progress bar through their messages, the message box
// and the file-open dialog.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <utility>
#include <vector>

#include "platform/win32/win32_calls.h"

namespace w32 {
namespace {

HWND h(Handle p) { return static_cast<HWND>(p); }

// The program's DIALOG resource `id` and its length in words; null where
// the program has none. (RT_DIALOG in its ANSI form, whatever UNICODE says.)
const WORD* linkedDialog(int id, std::size_t* words) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (found == nullptr) return nullptr;
    *words = ::SizeofResource(module, found) / sizeof(WORD);
    return static_cast<const WORD*>(::LockResource(::LoadResource(module, found)));
}

// The in-memory template: WORD-aligned fields, each item on a DWORD boundary.
class TemplateWriter {
public:
    void word(WORD w) { words_.push_back(w); }
    void dword(DWORD d) {
        word(LOWORD(d));
        word(HIWORD(d));
    }
    // Template strings are UTF-16; ours are ASCII.
    void text(const char* s) {
        for (; s != nullptr && *s != '\0'; ++s) word(static_cast<unsigned char>(*s));
        word(0);
    }
    void alignDword() {
        if (words_.size() % 2 != 0) word(0);
    }
    const WORD* data() const { return words_.data(); }
    std::vector<WORD> release() && { return std::move(words_); }

private:
    std::vector<WORD> words_;
};

void writeControl(TemplateWriter& w, const Control& c) {
    w.alignDword();
    w.dword(WS_CHILD | WS_VISIBLE | c.style);
    w.dword(0);
    w.word(static_cast<WORD>(c.x));
    w.word(static_cast<WORD>(c.y));
    w.word(static_cast<WORD>(c.cx));
    w.word(static_cast<WORD>(c.cy));
    w.word(static_cast<WORD>(c.id));  // -1 becomes 0xFFFF, "no identifier"
    switch (c.kind) {
        case ControlKind::Button: w.word(0xFFFF), w.word(0x0080); break;
        case ControlKind::Edit: w.word(0xFFFF), w.word(0x0081); break;
        case ControlKind::Static: w.word(0xFFFF), w.word(0x0082); break;
        case ControlKind::TreeView: w.text(WC_TREEVIEWA); break;
        case ControlKind::Progress: w.text(PROGRESS_CLASSA); break;
    }
    w.text(c.text);
    w.word(0);  // no creation data
}

TemplateWriter buildTemplate(const Template& t) {
    TemplateWriter w;
    w.dword(t.style);
    w.dword(0);
    w.word(static_cast<WORD>(t.controlCount));
    w.word(0);  // x, y: placed by the system
    w.word(0);
    w.word(static_cast<WORD>(t.cx));
    w.word(static_cast<WORD>(t.cy));
    w.word(0);  // no menu
    w.word(0);  // the standard dialog class
    w.text(t.caption);
    if (t.style & DS_SETFONT) {
        w.word(static_cast<WORD>(t.pointSize));
        w.text(t.fontName);
    }
    for (std::size_t i = 0; i < t.controlCount; ++i) writeControl(w, t.controls[i]);
    return w;
}

struct DialogContext {
    DialogCallback cb;
    void* context;
};

INT_PTR CALLBACK dialogThunk(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        lParam = 0;  // the shell's dialogs take no creation parameter
    }
    auto* ctx = reinterpret_cast<DialogContext*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (ctx == nullptr) return FALSE;
    if (msg == WM_NOTIFY) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->code != TVN_ITEMEXPANDINGA && hdr->code != TVN_ITEMEXPANDINGW) return FALSE;
        // The fields read are laid out alike in the ANSI and UTF-16 forms.
        const auto* tv = reinterpret_cast<const NMTREEVIEWA*>(lParam);
        TreeNotify n{TVN_ITEMEXPANDINGA, static_cast<int>(hdr->idFrom), tv->action, tv->itemNew.hItem,
                     tv->itemNew.state, tv->itemNew.lParam};
        const std::intptr_t r = ctx->cb(ctx->context, dialog, msg, wParam, reinterpret_cast<LPARAM>(&n));
        if (r == 0) return FALSE;
        ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);  // keeps the node as it is
        return TRUE;
    }
    return ctx->cb(ctx->context, dialog, msg, wParam, lParam);
}

}  // namespace

std::intptr_t dialogBox(const Template& tmpl, Handle owner, DialogCallback cb, void* context) {
    static const bool controlsReady = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS};
        return ::InitCommonControlsEx(&icc) != 0;
    }();
    (void)controlsReady;
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    DialogContext ctx{cb, context};
    const auto param = reinterpret_cast<LPARAM>(&ctx);
    std::size_t linkedWords = 0;
    if (linkedDialog(tmpl.resourceId, &linkedWords) != nullptr) {
        return ::DialogBoxParamA(module, MAKEINTRESOURCEA(tmpl.resourceId), h(owner), dialogThunk, param);
    }
    const TemplateWriter built = buildTemplate(tmpl);
    return ::DialogBoxIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(built.data()), h(owner),
                                     dialogThunk, param);
}

std::vector<std::uint16_t> dialogTemplateWords(const Template& tmpl) { return buildTemplate(tmpl).release(); }

std::vector<std::uint16_t> dialogResourceWords(int id) {
    std::size_t words = 0;
    const WORD* linked = linkedDialog(id, &words);
    if (linked == nullptr) return {};
    return std::vector<std::uint16_t>(linked, linked + words);
}

bool endDialog(Handle dialog, std::intptr_t result) { return ::EndDialog(h(dialog), result) != 0; }
bool setDlgItemText(Handle dialog, int id, const char* text) { return ::SetDlgItemTextA(h(dialog), id, text) != 0; }
unsigned getDlgItemText(Handle dialog, int id, char* buffer, int maxCount) {
    return ::GetDlgItemTextA(h(dialog), id, buffer, maxCount);
}
Handle dlgItem(Handle dialog, int id) { return ::GetDlgItem(h(dialog), id); }

Handle treeInsert(Handle tree, Handle parent, Handle after, const char* text, std::intptr_t param, bool hasChildren) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = static_cast<HTREEITEM>(parent);
    ins.hInsertAfter = static_cast<HTREEITEM>(after);
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<char*>(text);
    ins.item.lParam = param;
    // Only an item that may be opened before it has children carries the
    // mark. An explicit count of 0 would hide the expand button of an item
    // whose children are added later; without the flag the control shows
    // the button as soon as there is a child.
    if (hasChildren) {
        ins.item.mask |= TVIF_CHILDREN;
        ins.item.cChildren = 1;
    }
    return reinterpret_cast<Handle>(::SendMessageA(h(tree), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

void treeDeleteAll(Handle tree) {
    ::SendMessageA(h(tree), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

void treeExpand(Handle tree, Handle item, unsigned action) {
    ::SendMessageA(h(tree), TVM_EXPAND, action, reinterpret_cast<LPARAM>(item));
}

unsigned treeItemState(Handle tree, Handle item) {
    return static_cast<unsigned>(
        ::SendMessageA(h(tree), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), 0xFFFF));
}

void progressSetRange32(Handle bar, int low, int high) { ::SendMessageA(h(bar), PBM_SETRANGE32, low, high); }
void progressSetPos(Handle bar, int pos) { ::SendMessageA(h(bar), PBM_SETPOS, pos, 0); }

int messageBox(Handle owner, const char* text, const char* caption, unsigned type) {
    return ::MessageBoxA(h(owner), text, caption, type);
}

bool getOpenFileName(OpenFile* o) {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = h(o->owner);
    ofn.lpstrFilter = o->filter;
    ofn.nFilterIndex = o->filterIndex;
    ofn.lpstrFile = o->file;
    ofn.nMaxFile = o->maxFile;
    ofn.lpstrInitialDir = o->initialDir;
    ofn.lpstrTitle = o->title;
    ofn.Flags = o->flags;
    ofn.lpstrDefExt = o->defExt;
    return ::GetOpenFileNameA(&ofn) != 0;
}

std::uint32_t commDlgExtendedError() { return ::CommDlgExtendedError(); }

}  // namespace w32
