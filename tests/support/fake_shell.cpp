#include "fake_shell.h"

#include <cstdint>
#include <cstring>

using namespace shell;

namespace {

constexpr std::uintptr_t kWindowBase = 0x100;
constexpr std::uintptr_t kDialogBase = 0x10000;

HWND handleFor(std::uintptr_t base, std::size_t index) { return reinterpret_cast<HWND>(base + index); }

bool indexOf(HWND h, std::uintptr_t base, std::size_t count, std::size_t* index) {
    const auto v = reinterpret_cast<std::uintptr_t>(h);
    if (v < base || v - base >= count) return false;
    *index = v - base;
    return true;
}

}  // namespace

FakeShell::FakeShell() { shell::setCurrent(this); }

FakeShell::~FakeShell() { shell::setCurrent(nullptr); }

FakeShell::Window* FakeShell::window(HWND hwnd) {
    std::size_t i = 0;
    return indexOf(hwnd, kWindowBase, windows.size(), &i) ? &windows[i] : nullptr;
}

HWND FakeShell::lastWindow() const {
    return windows.empty() ? nullptr : handleFor(kWindowBase, windows.size() - 1);
}

FakeShell::Dialog* FakeShell::dialog(HWND handle) {
    std::size_t i = 0;
    return indexOf(handle, kDialogBase, dialogs.size(), &i) ? &dialogs[i] : nullptr;
}

LRESULT FakeShell::send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = window(hwnd);
    if (w == nullptr || w->proc == nullptr) return 0;
    return w->proc(hwnd, msg, wParam, lParam);
}

void FakeShell::setItem(HWND handle, int id, const std::string& text) {
    if (Dialog* d = dialog(handle)) d->items[id] = text;
}

INT_PTR FakeShell::command(HWND handle, int id) {
    Dialog* d = dialog(handle);
    if (d == nullptr || d->proc == nullptr) return 0;
    return d->proc(handle, WM_COMMAND, static_cast<WPARAM>(static_cast<unsigned>(id) & 0xFFFFu), 0);
}

bool FakeShell::registerClass(const WNDCLASS& wc) {
    classes.push_back(wc);
    classNames.emplace_back(wc.lpszClassName != nullptr ? wc.lpszClassName : "");
    return true;
}

HWND FakeShell::createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                             int width, int height) {
    Window w;
    w.exStyle = exStyle;
    w.className = className != nullptr ? className : "";
    w.title = title != nullptr ? title : "";
    w.style = style;
    w.x = x;
    w.y = y;
    w.width = width;
    w.height = height;
    for (std::size_t i = 0; i < classes.size(); ++i) {
        if (classNames[i] == w.className) w.proc = classes[i].lpfnWndProc;
    }
    if (w.proc == nullptr) return nullptr;  // unregistered class
    windows.push_back(w);
    return lastWindow();
}

void FakeShell::showWindow(HWND hwnd, int cmdShow) {
    if (Window* w = window(hwnd)) w->showCommand = cmdShow;
    events.push_back("show");
}

void FakeShell::setForegroundWindow(HWND hwnd) {
    if (Window* w = window(hwnd)) w->foreground = true;
    events.push_back("foreground");
}

bool FakeShell::destroyWindow(HWND hwnd) {
    Window* w = window(hwnd);
    if (w == nullptr || w->destroyed) return false;
    w->destroyed = true;
    events.push_back("destroy");
    send(hwnd, WM_DESTROY);
    return true;
}

bool FakeShell::getClientRect(HWND hwnd, RECT* rect) {
    if (window(hwnd) == nullptr || rect == nullptr) return false;
    *rect = client;
    return true;
}

void FakeShell::setCapture(HWND hwnd) {
    captured = hwnd;
    events.push_back("capture");
}

void FakeShell::releaseCapture() {
    captured = nullptr;
    events.push_back("release");
}

void FakeShell::validateRect(HWND hwnd, const RECT* rect) {
    (void)hwnd;
    events.push_back(rect == nullptr ? "validate" : "validate rect");
}

void FakeShell::redrawWindow(HWND hwnd) { send(hwnd, WM_PAINT); }

bool FakeShell::getCursorPos(POINT* point) {
    if (point == nullptr) return false;
    *point = cursor;
    return true;
}

bool FakeShell::peekMessage(MSG* msg) {
    if (queue.empty()) {
        ++emptyPeeks;
        if (onIdle && emptyPeeks <= idleLimit) {
            onIdle(*this);
        } else {
            if (emptyPeeks > idleLimit) idleLimitReached = true;
            queue.push_back({nullptr, WM_QUIT, 0, 0});
        }
        return false;
    }
    *msg = queue.front();
    queue.pop_front();
    return true;
}

void FakeShell::translateMessage(const MSG* msg) {
    (void)msg;
    ++translated;
}

LRESULT FakeShell::dispatchMessage(const MSG* msg) {
    dispatched.push_back(*msg);
    return send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void FakeShell::postQuitMessage(int exitCode) {
    events.push_back("quit " + std::to_string(exitCode));
    queue.push_back({nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0});
}

LRESULT FakeShell::defWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    defProcCalls.push_back({hwnd, msg, wParam, lParam});
    if (msg == WM_CLOSE) destroyWindow(hwnd);
    if (msg == WM_SYSKEYDOWN && wParam == VK_F4) send(hwnd, WM_CLOSE);
    return 0;
}

INT_PTR FakeShell::dialogBox(const DialogTemplate& tmpl, HWND owner, DLGPROC proc) {
    Dialog d;
    d.tmpl = &tmpl;
    d.owner = owner;
    d.proc = proc;
    dialogs.push_back(d);
    const std::size_t index = dialogs.size() - 1;
    const HWND handle = handleFor(kDialogBase, index);
    dialogs[index].handle = handle;
    if (failDialogs || proc == nullptr) return -1;
    for (std::size_t i = 0; i < tmpl.controlCount; ++i) {
        const DialogControl& c = tmpl.controls[i];
        if (c.id != -1) dialogs[index].items[c.id] = c.text != nullptr ? c.text : "";
    }
    // Activation moves from the owner to the dialog while it runs.
    if (window(owner) != nullptr) send(owner, WM_ACTIVATE, WA_INACTIVE, 0);
    proc(handle, WM_INITDIALOG, 0, 0);
    if (dialogScript && !dialogs[index].ended) dialogScript(*this, handle);
    if (window(owner) != nullptr) send(owner, WM_ACTIVATE, WA_ACTIVE, 0);
    return dialogs[index].ended ? dialogs[index].result : -1;
}

bool FakeShell::endDialog(HWND handle, INT_PTR result) {
    Dialog* d = dialog(handle);
    if (d == nullptr || d->ended) return false;
    d->ended = true;
    d->result = result;
    return true;
}

bool FakeShell::setDlgItemText(HWND handle, int id, const char* text) {
    Dialog* d = dialog(handle);
    if (d == nullptr) return false;
    d->items[id] = text != nullptr ? text : "";
    d->setOrder.push_back(id);
    return true;
}

UINT FakeShell::getDlgItemText(HWND handle, int id, char* buffer, int maxCount) {
    Dialog* d = dialog(handle);
    if (buffer == nullptr || maxCount <= 0) return 0;
    buffer[0] = '\0';
    if (d == nullptr) return 0;
    const auto it = d->items.find(id);
    if (it == d->items.end()) return 0;
    std::size_t n = it->second.size();
    if (n > static_cast<std::size_t>(maxCount - 1)) n = static_cast<std::size_t>(maxCount - 1);
    std::memcpy(buffer, it->second.data(), n);
    buffer[n] = '\0';
    return static_cast<UINT>(n);
}

TreeControl* FakeShell::treeControl(HWND, int) { return nullptr; }

ProgressControl* FakeShell::progressControl(HWND, int) { return nullptr; }

int FakeShell::messageBox(HWND owner, const char* text, const char* caption, UINT type) {
    messageBoxes.push_back({owner, text != nullptr ? text : "", caption != nullptr ? caption : "", type});
    return IDOK;
}

bool FakeShell::getOpenFileName(OPENFILENAME*) { return false; }

DWORD FakeShell::commDlgExtendedError() { return 0; }
