// A scripted shell for unit tests: records the windows it creates, the
// messages that pass through its queue, the dialogs it runs and the message
// boxes it shows, and lets a test drive dialogs and the message loop.
//
//   FakeShell fake;                      // installs itself as shell::current()
//   fake.dialogScript = [](FakeShell& f, HWND dlg) {
//       f.setItem(dlg, 1002, "MyModel");
//       f.command(dlg, shell::IDOK);
//   };
//   fake.post({hwnd, shell::WM_KEYDOWN, shell::VK_ADD, 0});
//
// Window handles are small tagged integers, never pointers to real objects.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/shell/shell.h"

class FakeShell : public shell::Shell {
public:
    struct Window {
        DWORD exStyle = 0;
        std::string className;
        std::string title;
        DWORD style = 0;
        int x = 0, y = 0, width = 0, height = 0;
        shell::WNDPROC proc = nullptr;
        int showCommand = -1;  // -1 until shown
        bool foreground = false;
        bool destroyed = false;
    };
    struct Dialog {
        const shell::DialogTemplate* tmpl = nullptr;
        HWND owner = nullptr;
        HWND handle = nullptr;
        shell::DLGPROC proc = nullptr;
        std::map<int, std::string> items;  // control id -> text
        std::vector<int> setOrder;         // ids in the order setDlgItemText wrote them
        bool ended = false;
        INT_PTR result = -1;
    };
    struct MessageBoxCall {
        HWND owner;
        std::string text;
        std::string caption;
        UINT type;
    };

    // Installs itself as the current shell; the destructor uninstalls it.
    FakeShell();
    ~FakeShell() override;
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;

    // ---- scripting -----------------------------------------------------------
    // Appends a message to the queue (taken by peekMessage in order).
    void post(const shell::MSG& msg) { queue.push_back(msg); }
    // Calls the window's procedure directly, as a sent message.
    LRESULT send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Inside a dialog script: set an item's text as if typed; send a command.
    void setItem(HWND dialog, int id, const std::string& text);
    INT_PTR command(HWND dialog, int id);
    Window* window(HWND hwnd);
    HWND lastWindow() const;

    // Runs inside dialogBox after WM_INITDIALOG; should end the dialog.
    std::function<void(FakeShell&, HWND)> dialogScript;
    // When set, dialogBox fails (returns -1) without running the procedure.
    bool failDialogs = false;
    // Runs each time peekMessage finds the queue empty. When it is not set,
    // or after idleLimit empty peeks, the fake posts WM_QUIT itself (and
    // sets idleLimitReached) so a loop under test cannot spin forever.
    std::function<void(FakeShell&)> onIdle;
    int idleLimit = 1000;
    bool idleLimitReached = false;

    // ---- records ---------------------------------------------------------------
    std::vector<shell::WNDCLASS> classes;
    std::vector<std::string> classNames;  // copies, the WNDCLASS may point anywhere
    std::vector<Window> windows;
    std::deque<shell::MSG> queue;
    std::vector<shell::MSG> dispatched;
    std::vector<shell::MSG> defProcCalls;
    std::vector<Dialog> dialogs;
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<std::string> events;  // "capture", "release", "validate", "quit 0", ...
    int translated = 0;
    int emptyPeeks = 0;
    HWND captured = nullptr;

    // ---- inputs ----------------------------------------------------------------
    POINT cursor = {0, 0};  // what getCursorPos reports
    RECT client = {0, 0, 494, 471};

    // ---- shell::Shell ------------------------------------------------------------
    bool registerClass(const shell::WNDCLASS& wc) override;
    HWND createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                      int width, int height) override;
    void showWindow(HWND hwnd, int cmdShow) override;
    void setForegroundWindow(HWND hwnd) override;
    bool destroyWindow(HWND hwnd) override;
    bool getClientRect(HWND hwnd, RECT* rect) override;
    void setCapture(HWND hwnd) override;
    void releaseCapture() override;
    void validateRect(HWND hwnd, const RECT* rect) override;
    void redrawWindow(HWND hwnd) override;
    bool getCursorPos(POINT* point) override;
    bool peekMessage(shell::MSG* msg) override;
    void translateMessage(const shell::MSG* msg) override;
    LRESULT dispatchMessage(const shell::MSG* msg) override;
    void postQuitMessage(int exitCode) override;
    LRESULT defWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    INT_PTR dialogBox(const shell::DialogTemplate& tmpl, HWND owner, shell::DLGPROC proc) override;
    bool endDialog(HWND dialog, INT_PTR result) override;
    bool setDlgItemText(HWND dialog, int id, const char* text) override;
    UINT getDlgItemText(HWND dialog, int id, char* buffer, int maxCount) override;
    shell::TreeControl* treeControl(HWND dialog, int id) override;
    shell::ProgressControl* progressControl(HWND dialog, int id) override;
    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    bool getOpenFileName(shell::OPENFILENAME* ofn) override;
    DWORD commDlgExtendedError() override;

private:
    Dialog* dialog(HWND handle);
};
