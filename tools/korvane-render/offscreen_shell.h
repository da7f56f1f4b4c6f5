// The shell of korvane-render: one "window", the offscreen surface, whose
// client area is the picture's size (the renderer sizes its back buffer
// from it). Nothing is shown, no message ever arrives, dialogs cannot be
// made and message boxes are answered with OK.
#pragma once

#include "platform/shell/shell.h"

namespace kr {

class OffscreenShell final : public shell::Shell {
public:
    OffscreenShell(HWND window, int width, int height) : window_(window), width_(width), height_(height) {}

    bool registerClass(const shell::WNDCLASS& wc) override { return wc.lpszClassName != nullptr; }
    HWND createWindow(DWORD, const char*, const char*, DWORD, int, int, int, int) override { return window_; }
    void showWindow(HWND, int) override {}
    void setForegroundWindow(HWND) override {}
    bool destroyWindow(HWND hwnd) override { return hwnd == window_; }
    bool getClientRect(HWND hwnd, RECT* rect) override {
        if (hwnd != window_ || rect == nullptr) return false;
        *rect = RECT{0, 0, width_, height_};
        return true;
    }
    void setCapture(HWND) override {}
    void releaseCapture() override {}
    void validateRect(HWND, const RECT*) override {}
    void redrawWindow(HWND) override {}
    bool getCursorPos(POINT* point) override {
        if (point != nullptr) *point = POINT{0, 0};
        return point != nullptr;
    }

    bool peekMessage(shell::MSG*) override { return false; }
    void translateMessage(const shell::MSG*) override {}
    LRESULT dispatchMessage(const shell::MSG*) override { return 0; }
    void postQuitMessage(int) override {}
    LRESULT defWindowProc(HWND, UINT, WPARAM, LPARAM) override { return 0; }

    INT_PTR dialogBox(const shell::DialogTemplate&, HWND, shell::DLGPROC) override { return -1; }
    bool endDialog(HWND, INT_PTR) override { return false; }
    bool setDlgItemText(HWND, int, const char*) override { return false; }
    UINT getDlgItemText(HWND, int, char* buffer, int maxCount) override {
        if (buffer != nullptr && maxCount > 0) buffer[0] = '\0';
        return 0;
    }
    shell::TreeControl* treeControl(HWND, int) override { return nullptr; }
    shell::ProgressControl* progressControl(HWND, int) override { return nullptr; }

    int messageBox(HWND, const char*, const char*, UINT) override { return shell::IDOK; }

    bool getOpenFileName(shell::OPENFILENAME*) override { return false; }
    DWORD commDlgExtendedError() override { return 0; }

private:
    HWND window_;
    int width_;
    int height_;
};

}  // namespace kr
