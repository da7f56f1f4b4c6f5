// Inside the Qt shell: the window records behind the handles, the message
// queue and the shell class whose methods are spread over the qt_*.cpp files
// (windows and queue, dialogs, file dialog). Not for use outside this folder.
//
// Handles are plain pointers to records owned by the shell, cast to HWND; no
// ShellWindow type is defined, so another backend linked into the same
// program cannot clash with this one.
#pragma once

#include <QPointer>
#include <QString>
#include <QWindow>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d8/surface.h"
#include "platform/shell/shell.h"

class QOpenGLContext;
class QDialog;
class QWidget;

namespace qtshell::detail {

class QtShell;
struct WindowRecord;
class DialogState;

inline HWND toHandle(WindowRecord* r) { return reinterpret_cast<HWND>(r); }

// Win32's MAKELPARAM of two signed 16-bit halves.
inline LPARAM makeLParam(int lo, int hi) {
    return static_cast<LPARAM>(static_cast<DWORD>(static_cast<WORD>(lo)) |
                               (static_cast<DWORD>(static_cast<WORD>(hi)) << 16));
}
inline WPARAM makeWParam(int lo, int hi) { return static_cast<WPARAM>(static_cast<DWORD>(makeLParam(lo, hi))); }

// The virtual-key code of a Qt key (0 when it has none).
WPARAM virtualKey(int qtKey, Qt::KeyboardModifiers mods);
// MK_ flags of the buttons and modifiers.
WPARAM mouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);

// The top-level window of a main window: an OpenGL surface that turns its
// Qt events into window messages.
class ShellQWindow : public QWindow {
public:
    ShellQWindow(QtShell& shell, WindowRecord& record);

protected:
    bool event(QEvent* e) override;

private:
    void key(QEvent* e, bool down);
    QtShell& shell_;
    WindowRecord& record_;
};

// The OpenGL 3.3 core context of one window.
class WindowSurface : public GlSurface {
public:
    explicit WindowSurface(QWindow* window);
    ~WindowSurface() override;
    bool makeCurrent() override;
    void swapBuffers() override;
    void pixelSize(UINT* width, UINT* height) override;
    void* getProcAddress(const char* name) override;
    void windowGone();

private:
    QPointer<QWindow> window_;
    std::unique_ptr<QOpenGLContext> context_;
    bool gone_ = false;
    bool failed_ = false;
};

struct WindowRecord {
    bool isDialog = false;
    bool destroyed = false;
    shell::WNDPROC proc = nullptr;
    shell::DLGPROC dlgProc = nullptr;
    ShellQWindow* window = nullptr;  // main windows; deleted through deleteLater
    std::unique_ptr<WindowSurface> surface;
    DialogState* dialog = nullptr;  // dialogs, owned by dialogBox's frame
    QRect outer;                    // requested outer geometry
    bool frameAdjusted = false;
    bool active = false;
};

class QtShell final : public shell::Shell {
public:
    explicit QtShell(bool ownsApp);
    ~QtShell() override;

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
    DWORD commDlgExtendedError() override { return lastDialogError_; }

    // ---- used by the windows and dialogs of this folder ----
    // Null for unknown or destroyed handles.
    WindowRecord* record(HWND hwnd) const;
    WindowRecord* anyRecord(HWND hwnd) const;  // destroyed ones too
    // Queues a posted message (input, close).
    void post(WindowRecord& r, UINT msg, WPARAM wParam, LPARAM lParam, const QString& text = {});
    // Calls the window procedure at once, as Win32 does for sent messages.
    LRESULT send(WindowRecord& r, UINT msg, WPARAM wParam, LPARAM lParam);
    void adjustFrame(WindowRecord& r);
    // The widget a dialog or message box should sit on (null for none) and
    // the owner's window for transient placement.
    QWidget* ownerWidget(HWND owner) const;
    QWindow* ownerWindow(HWND owner) const;

private:
    void focusChanged(QWindow* focus);
    WindowRecord* newRecord();

    struct Queued {
        shell::MSG msg;
        QString text;
    };
    bool ownsApp_;
    std::map<std::string, shell::WNDCLASS> classes_;
    std::vector<std::unique_ptr<WindowRecord>> records_;
    std::deque<Queued> queue_;
    bool quitPosted_ = false;
    int quitCode_ = 0;
    shell::MSG lastTaken_{};
    QString lastTakenText_;
    WindowRecord* capture_ = nullptr;
    DWORD lastDialogError_ = 0;
};

}  // namespace qtshell::detail
