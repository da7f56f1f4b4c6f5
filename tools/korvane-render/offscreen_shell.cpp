#include "offscreen_shell.h"

namespace kr {

bool OffscreenShell::registerClass(const shell::WNDCLASS& wc) { return wc.lpszClassName != nullptr; }

// Every window is the one surface: the viewer's own 500 × 500 request is
// answered with the picture's size.
HWND OffscreenShell::createWindow(DWORD, const char*, const char*, DWORD, int, int, int, int) { return window_; }

bool OffscreenShell::getClientRect(HWND hwnd, RECT* rect) {
    if (hwnd != window_ || rect == nullptr) return false;
    *rect = RECT{0, 0, width_, height_};
    return true;
}

bool OffscreenShell::getCursorPos(POINT* point) {
    if (point == nullptr) return false;
    *point = POINT{0, 0};
    return true;
}

UINT OffscreenShell::getDlgItemText(HWND, int, char* buffer, int maxCount) {
    if (buffer != nullptr && maxCount > 0) buffer[0] = '\0';
    return 0;
}

int OffscreenShell::messageBox(HWND, const char* text, const char*, UINT) {
    lastMessage_ = text != nullptr ? text : "";
    return shell::IDOK;
}

}  // namespace kr
