// Windows, the message queue and the window procedure thunk on Win32.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/win32/win32_calls.h"

namespace w32 {
namespace {

Callback g_windowCallback = nullptr;
MSG g_last{};

LRESULT CALLBACK windowThunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_windowCallback != nullptr) return g_windowCallback(hwnd, msg, wParam, lParam);
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND h(Handle p) { return static_cast<HWND>(p); }

}  // namespace

void setWindowCallback(Callback cb) { g_windowCallback = cb; }

bool registerClass(unsigned style, const char* className) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = windowThunk;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = className;
    return ::RegisterClassExA(&wc) != 0;
}

Handle createWindow(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style, int x,
                    int y, int width, int height) {
    return ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

void showWindow(Handle hwnd, int cmdShow) { ::ShowWindow(h(hwnd), cmdShow); }
void setForegroundWindow(Handle hwnd) { ::SetForegroundWindow(h(hwnd)); }
bool destroyWindow(Handle hwnd) { return ::DestroyWindow(h(hwnd)) != 0; }

bool getClientRect(Handle hwnd, std::int32_t rect[4]) {
    RECT r{};
    if (!::GetClientRect(h(hwnd), &r)) return false;
    rect[0] = r.left;
    rect[1] = r.top;
    rect[2] = r.right;
    rect[3] = r.bottom;
    return true;
}

void setCapture(Handle hwnd) { ::SetCapture(h(hwnd)); }
void releaseCapture() { ::ReleaseCapture(); }

void validateRect(Handle hwnd, const std::int32_t* rect) {
    if (rect == nullptr) {
        ::ValidateRect(h(hwnd), nullptr);
        return;
    }
    const RECT r{rect[0], rect[1], rect[2], rect[3]};
    ::ValidateRect(h(hwnd), &r);
}

void redrawWindow(Handle hwnd) {
    ::RedrawWindow(h(hwnd), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool getCursorPos(std::int32_t point[2]) {
    POINT p{};
    if (!::GetCursorPos(&p)) return false;
    point[0] = p.x;
    point[1] = p.y;
    return true;
}

bool peekMessage(Message* msg) {
    if (!::PeekMessageA(&g_last, nullptr, 0, 0, PM_REMOVE)) return false;
    msg->hwnd = g_last.hwnd;
    msg->message = g_last.message;
    msg->wParam = g_last.wParam;
    msg->lParam = g_last.lParam;
    return true;
}

void translateLastMessage() { ::TranslateMessage(&g_last); }
std::intptr_t dispatchLastMessage() { return ::DispatchMessageA(&g_last); }
void postQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

std::intptr_t defWindowProc(Handle hwnd, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    return ::DefWindowProcA(h(hwnd), msg, wParam, lParam);
}

}  // namespace w32
