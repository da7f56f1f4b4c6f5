// The shell of korvane-render: one "window", the offscreen surface, whose
// client area is the picture's size. Nothing is shown, no message ever
// arrives, dialogs cannot be made; a message box is not shown either but
// kept, so the program can print what the viewer would have told the user.
#pragma once

#include <string>

#include "platform/shell/shell.h"

namespace kr {

class OffscreenShell final : public shell::Shell {
public:
    OffscreenShell(HWND window, int width, int height) : window_(window), width_(width), height_(height) {}

    // The text of the last message box, empty when none was asked for.
    const std::string& lastMessage() const { return lastMessage_; }

    bool registerClass(const shell::WNDCLASS& wc) override;
    HWND createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                      int height) override;
    void showWindow(HWND, int) override {}
    void setForegroundWindow(HWND) override {}
    bool destroyWindow(HWND hwnd) override { return hwnd == window_; }
    bool getClientRect(HWND hwnd, RECT* rect) override;
    void setCapture(HWND) override {}
    void releaseCapture() override {}
    void validateRect(HWND, const RECT*) override {}
    void redrawWindow(HWND) override {}
    bool getCursorPos(POINT* point) override;

    bool peekMessage(shell::MSG*) override { return false; }
    void translateMessage(const shell::MSG*) override {}
    LRESULT dispatchMessage(const shell::MSG*) override { return 0; }
    void postQuitMessage(int) override {}
    LRESULT defWindowProc(HWND, UINT, WPARAM, LPARAM) override { return 0; }

    INT_PTR dialogBox(const shell::DialogTemplate&, HWND, shell::DLGPROC) override { return -1; }
    bool endDialog(HWND, INT_PTR) override { return false; }
    bool setDlgItemText(HWND, int, const char*) override { return false; }
    UINT getDlgItemText(HWND, int, char* buffer, int maxCount) override;
    shell::TreeControl* treeControl(HWND, int) override { return nullptr; }
    shell::ProgressControl* progressControl(HWND, int) override { return nullptr; }

    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override;

    bool getOpenFileName(shell::OPENFILENAME*) override { return false; }
    DWORD commDlgExtendedError() override { return 0; }

private:
    HWND window_;
    int width_;
    int height_;
    std::string lastMessage_;
};

}  // namespace kr
