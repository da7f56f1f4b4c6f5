// A scripted stand-in for the window system, for driving the browser dialog
// without a display: an in-memory tree control that sends the expanding
// notification to the dialog procedure like the real one, a progress bar
// that records its calls, file-open answers queued by the test, and records
// of message boxes and repaints.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/shell/shell.h"

namespace scripted {

class ScriptedShell;

class FakeTree : public shell::TreeControl {
public:
    explicit FakeTree(ScriptedShell& owner) : owner_(owner) {}

    shell::HTREEITEM insertItem(shell::HTREEITEM parent, shell::HTREEITEM after, const char* text, LPARAM param,
                                bool hasChildren) override;
    void deleteAllItems() override;
    void expand(shell::HTREEITEM item, UINT action) override;
    UINT itemState(shell::HTREEITEM item) override;

    // Top-level items (parent TVI_ROOT) or the children of item, in order.
    std::vector<shell::HTREEITEM> children(shell::HTREEITEM item = shell::TVI_ROOT) const;
    std::vector<std::string> childLabels(shell::HTREEITEM item = shell::TVI_ROOT) const;
    // The child of item (or of the top) with this label; null when none.
    shell::HTREEITEM find(shell::HTREEITEM item, const std::string& label) const;
    const std::string& text(shell::HTREEITEM item) const { return at(item).text; }
    LPARAM param(shell::HTREEITEM item) const { return at(item).param; }
    bool hasChildren(shell::HTREEITEM item) const { return at(item).hasChildren; }
    bool alive(shell::HTREEITEM item) const;
    std::size_t liveCount() const;
    // Every item, one line each, two spaces of indent per level.
    std::string dump() const;

    int notifications = 0;

private:
    struct Item {
        std::string text;
        LPARAM param;
        bool hasChildren;
        UINT state = 0;
        std::vector<std::size_t> children;
        bool alive = true;
    };
    // Items are never reused: a handle of a deleted item stays invalid.
    static shell::HTREEITEM handle(std::size_t i) { return reinterpret_cast<shell::HTREEITEM>(i + 1); }
    std::size_t index(shell::HTREEITEM h) const;
    const Item& at(shell::HTREEITEM h) const { return items_.at(index(h)); }
    std::vector<std::size_t>& listOf(shell::HTREEITEM parent);
    const std::vector<std::size_t>& listOf(shell::HTREEITEM parent) const;

    ScriptedShell& owner_;
    std::vector<Item> items_;
    std::vector<std::size_t> top_;
};

struct ProgressCall {
    bool isRange;
    int low, high;
    bool operator==(const ProgressCall&) const = default;
};

class FakeProgress : public shell::ProgressControl {
public:
    void setRange32(int low, int high) override { calls.push_back({true, low, high}); }
    void setPos(int pos) override { calls.push_back({false, pos, 0}); }
    std::vector<ProgressCall> calls;
};

// What the file-open dialog does when it is shown next.
struct OpenAnswer {
    enum Kind { Choose, Cancel, Fail } kind;
    std::string path;  // Choose: the path the user picked
    DWORD error = 0;   // Fail: the dialog's own error
};

struct OpenRequest {
    HWND owner;
    std::string filter;  // the whole list, NULs included, up to the empty string
    DWORD filterIndex;
    DWORD maxFile;
    bool initialDirGiven, titleGiven;
    DWORD flags;
    std::string defExt;
};

struct MessageBoxCall {
    HWND owner;
    std::string text, caption;
    UINT type;
};

class ScriptedShell : public shell::Shell {
public:
    ScriptedShell() : tree(*this) {}

    // Starts the dialog without a modal loop: the test drives it by calling
    // click() and the tree's expand().
    void open(shell::DLGPROC proc);
    void click(int id);
    void close();
    HWND dialog() const { return dialog_; }

    // Steps run by dialogBox after the dialog's initialisation, until the
    // dialog ends.
    std::vector<std::function<void()>> script;

    FakeTree tree;
    FakeProgress progress;
    std::deque<OpenAnswer> answers;
    std::vector<OpenRequest> openRequests;
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<std::string> redraws;  // the tree as it was at each repaint
    const shell::DialogTemplate* shownTemplate = nullptr;
    HWND shownOwner = nullptr;
    bool ended = false;
    INT_PTR endResult = -1;

    LRESULT notify(const shell::NMTREEVIEW& nm);

    // ---- shell::Shell ----
    bool registerClass(const shell::WNDCLASS&) override { return false; }
    HWND createWindow(DWORD, const char*, const char*, DWORD, int, int, int, int) override { return nullptr; }
    void showWindow(HWND, int) override {}
    void setForegroundWindow(HWND) override {}
    bool destroyWindow(HWND) override { return false; }
    bool getClientRect(HWND, RECT*) override { return false; }
    void setCapture(HWND) override {}
    void releaseCapture() override {}
    void validateRect(HWND, const RECT*) override {}
    void redrawWindow(HWND hwnd) override;
    bool getCursorPos(POINT*) override { return false; }
    bool peekMessage(shell::MSG*) override { return false; }
    void translateMessage(const shell::MSG*) override {}
    LRESULT dispatchMessage(const shell::MSG*) override { return 0; }
    void postQuitMessage(int) override {}
    LRESULT defWindowProc(HWND, UINT, WPARAM, LPARAM) override { return 0; }
    INT_PTR dialogBox(const shell::DialogTemplate& tmpl, HWND owner, shell::DLGPROC proc) override;
    bool endDialog(HWND dialog, INT_PTR result) override;
    bool setDlgItemText(HWND, int, const char*) override { return false; }
    UINT getDlgItemText(HWND, int, char*, int) override { return 0; }
    shell::TreeControl* treeControl(HWND dialog, int id) override;
    shell::ProgressControl* progressControl(HWND dialog, int id) override;
    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    bool getOpenFileName(shell::OPENFILENAME* ofn) override;
    DWORD commDlgExtendedError() override { return lastError_; }

private:
    HWND dialog_ = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0xD1A1));
    shell::DLGPROC proc_ = nullptr;
    DWORD lastError_ = 0;
};

}  // namespace scripted
