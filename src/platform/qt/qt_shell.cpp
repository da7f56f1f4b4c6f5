// The Qt shell's windows and message queue: window classes, main windows,
// activation, capture, and the non-blocking peek over Qt's event loop.
#include "platform/qt/qt_shell.h"

#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QTimer>
#include <QWidget>

#include "platform/qt/qt_shell_impl.h"

namespace qtshell {

namespace detail {
namespace {
QtShell* g_instance = nullptr;
std::unique_ptr<QApplication> g_app;

// Win32 reuses these two bits for the minimise and maximise boxes of a
// top-level window.
constexpr DWORD kMinimizeBox = shell::WS_GROUP;
constexpr DWORD kMaximizeBox = shell::WS_TABSTOP;
constexpr DWORD kWsOverlappedMask = shell::WS_POPUP | shell::WS_CHILD;
constexpr int kSwHide = 0;
constexpr int kIdleWaitMs = 5;
}  // namespace

QtShell::QtShell(bool ownsApp) : ownsApp_(ownsApp) {
    g_instance = this;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow* w) {
        if (g_instance) g_instance->focusChanged(w);
    });
}

QtShell::~QtShell() {
    QObject::disconnect(qApp, &QGuiApplication::focusWindowChanged, qApp, nullptr);
    for (auto& r : records_) {
        if (r->surface) r->surface->windowGone();
        delete r->window;
        r->window = nullptr;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    records_.clear();
    if (g_instance == this) g_instance = nullptr;
    if (ownsApp_) g_app.reset();
}

WindowRecord* QtShell::newRecord() {
    records_.push_back(std::make_unique<WindowRecord>());
    return records_.back().get();
}

WindowRecord* QtShell::anyRecord(HWND hwnd) const {
    if (!hwnd) return nullptr;
    for (const auto& r : records_)
        if (toHandle(r.get()) == hwnd) return r.get();
    return nullptr;
}

WindowRecord* QtShell::record(HWND hwnd) const {
    WindowRecord* r = anyRecord(hwnd);
    return r && !r->destroyed ? r : nullptr;
}

bool QtShell::registerClass(const shell::WNDCLASS& wc) {
    if (!wc.lpszClassName || !wc.lpfnWndProc) return false;
    const std::string name = wc.lpszClassName;
    if (classes_.count(name)) return false;  // Win32: class already exists
    shell::WNDCLASS copy = wc;
    auto it = classes_.emplace(name, copy).first;
    it->second.lpszClassName = it->first.c_str();
    return true;
}

HWND QtShell::createWindow(DWORD /*exStyle*/, const char* className, const char* title, DWORD style, int x, int y,
                           int width, int height) {
    if (!className) return nullptr;
    auto it = classes_.find(className);
    if (it == classes_.end()) return nullptr;
    WindowRecord* rec = newRecord();
    rec->proc = it->second.lpfnWndProc;
    auto* w = new ShellQWindow(*this, *rec);
    rec->window = w;
    w->setTitle(QString::fromLocal8Bit(title ? title : ""));

    Qt::WindowFlags f = Qt::Window;
    const bool caption = (style & shell::WS_CAPTION) == shell::WS_CAPTION || (style & kWsOverlappedMask) == 0;
    if (caption) {
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (style & shell::WS_SYSMENU) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style & kMinimizeBox) f |= Qt::WindowMinimizeButtonHint;
        if ((style & kMaximizeBox) && (style & shell::WS_THICKFRAME)) f |= Qt::WindowMaximizeButtonHint;
    } else {
        f |= Qt::FramelessWindowHint;
    }
    w->setFlags(f);

    // Outer geometry: the frame is not known before the window manager has
    // framed the window, so the client starts at the outer size and shrinks
    // once the frame margins are known (adjustFrame).
    rec->outer = QRect(x, y, width, height);
    w->setFramePosition(QPoint(x, y));
    w->resize(width, height);
    if (!(style & shell::WS_THICKFRAME)) {
        w->setMinimumSize(QSize(width, height));
        w->setMaximumSize(QSize(width, height));
    }
    w->setCursor(Qt::ArrowCursor);
    w->create();
    rec->surface = std::make_unique<WindowSurface>(w);
    return toHandle(rec);
}

void QtShell::adjustFrame(WindowRecord& r) {
    if (r.frameAdjusted || !r.window) return;
    const QMargins m = r.window->frameMargins();
    if (m.isNull()) return;
    r.frameAdjusted = true;
    const QSize client(std::max(1, r.outer.width() - m.left() - m.right()),
                       std::max(1, r.outer.height() - m.top() - m.bottom()));
    const bool fixed = r.window->minimumSize() == r.window->maximumSize();
    if (fixed) {
        r.window->setMinimumSize(client);
        r.window->setMaximumSize(client);
    }
    r.window->resize(client);
    r.window->setFramePosition(r.outer.topLeft());
}

void QtShell::showWindow(HWND hwnd, int cmdShow) {
    WindowRecord* r = record(hwnd);
    if (!r) return;
    if (r->isDialog) return;
    if (cmdShow == kSwHide) {
        r->window->hide();
        return;
    }
    r->window->show();
    adjustFrame(*r);
}

void QtShell::setForegroundWindow(HWND hwnd) {
    WindowRecord* r = record(hwnd);
    if (!r || !r->window) return;
    r->window->raise();
    r->window->requestActivate();
}

bool QtShell::destroyWindow(HWND hwnd) {
    WindowRecord* r = record(hwnd);
    if (!r || r->isDialog) return false;  // dialogs end through endDialog
    if (capture_ == r) releaseCapture();
    r->window->hide();
    send(*r, shell::WM_DESTROY, 0, 0);  // the window still exists while it is told
    r->destroyed = true;
    r->active = false;
    r->surface->windowGone();
    r->window->deleteLater();
    r->window = nullptr;
    std::erase_if(queue_, [hwnd](const Queued& q) { return q.msg.hwnd == hwnd; });
    return true;
}

bool QtShell::getClientRect(HWND hwnd, RECT* rect) {
    WindowRecord* r = record(hwnd);
    if (!r || !rect) return false;
    QSize s;
    if (r->window) s = r->window->size();
    else if (QWidget* w = ownerWidget(hwnd)) s = w->size();
    *rect = RECT{0, 0, s.width(), s.height()};
    return true;
}

void QtShell::setCapture(HWND hwnd) {
    WindowRecord* r = record(hwnd);
    if (!r || !r->window) return;
    if (capture_ && capture_ != r) releaseCapture();
    r->window->setMouseGrabEnabled(true);
    capture_ = r;
}

void QtShell::releaseCapture() {
    if (capture_ && capture_->window) capture_->window->setMouseGrabEnabled(false);
    capture_ = nullptr;
}

void QtShell::validateRect(HWND, const RECT*) {
    // Paint is sent once per exposure, so there is no pending region to clear.
}

void QtShell::redrawWindow(HWND hwnd) {
    WindowRecord* r = record(hwnd);
    if (!r) return;
    if (!r->isDialog) {
        send(*r, shell::WM_PAINT, 0, 0);
        return;
    }
    if (QWidget* w = ownerWidget(hwnd)) w->repaint();
}

bool QtShell::getCursorPos(POINT* point) {
    if (!point) return false;
    const QPoint p = QCursor::pos();
    *point = POINT{p.x(), p.y()};
    return true;
}

// ---- queue --------------------------------------------------------------------

void QtShell::post(WindowRecord& r, UINT msg, WPARAM wParam, LPARAM lParam, const QString& text) {
    if (r.destroyed) return;
    queue_.push_back(Queued{shell::MSG{toHandle(&r), msg, wParam, lParam}, text});
}

LRESULT QtShell::send(WindowRecord& r, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (r.destroyed) return 0;
    if (r.isDialog) return r.dlgProc ? static_cast<LRESULT>(r.dlgProc(toHandle(&r), msg, wParam, lParam)) : 0;
    return r.proc ? r.proc(toHandle(&r), msg, wParam, lParam) : 0;
}

void QtShell::focusChanged(QWindow* focus) {
    // Deactivation first, then activation, as Win32 orders them.
    for (int pass = 0; pass < 2; ++pass) {
        for (auto& r : records_) {
            if (r->destroyed || r->isDialog || !r->window) continue;
            const bool now = focus == r->window;
            if (now == r->active || now != (pass == 1)) continue;
            r->active = now;
            send(*r, shell::WM_ACTIVATE, now ? shell::WA_ACTIVE : shell::WA_INACTIVE, 0);
        }
    }
}

bool QtShell::peekMessage(shell::MSG* msg) {
    if (!msg) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const bool anyActive = std::any_of(records_.begin(), records_.end(), [](const auto& r) { return r->active; });
    if (queue_.empty() && !quitPosted_ && !anyActive) {
        // Idle and in the background: wait a little for events so that an
        // idle program does not spin a core.
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(kIdleWaitMs);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    if (!queue_.empty()) {
        *msg = queue_.front().msg;
        lastTaken_ = *msg;
        lastTakenText_ = queue_.front().text;
        queue_.pop_front();
        return true;
    }
    if (quitPosted_) {
        quitPosted_ = false;
        *msg = shell::MSG{nullptr, shell::WM_QUIT, static_cast<WPARAM>(quitCode_), 0};
        return true;
    }
    return false;
}

void QtShell::translateMessage(const shell::MSG* msg) {
    if (!msg || msg->message != shell::WM_KEYDOWN || lastTakenText_.isEmpty()) return;
    if (msg->hwnd != lastTaken_.hwnd || msg->wParam != lastTaken_.wParam || msg->lParam != lastTaken_.lParam)
        return;
    WindowRecord* r = record(msg->hwnd);
    if (!r) return;
    // The characters come next, ahead of later input.
    for (auto i = lastTakenText_.size(); i-- > 0;)
        queue_.push_front(Queued{shell::MSG{msg->hwnd, shell::WM_CHAR, lastTakenText_.at(i).unicode(),
                                            msg->lParam},
                                 {}});
    lastTakenText_.clear();
}

LRESULT QtShell::dispatchMessage(const shell::MSG* msg) {
    if (!msg || !msg->hwnd) return 0;
    WindowRecord* r = record(msg->hwnd);
    if (!r || r->isDialog || !r->proc) return 0;
    return r->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void QtShell::postQuitMessage(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
}

LRESULT QtShell::defWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowRecord* r = record(hwnd);
    if (!r) return 0;
    switch (msg) {
    case shell::WM_CLOSE:
        destroyWindow(hwnd);
        return 0;
    case shell::WM_SYSKEYDOWN:
        // Alt+F4 (Alt in the context bit) closes the window.
        if (wParam == shell::VK_F4 && (static_cast<DWORD>(lParam) & (1u << 29))) send(*r, shell::WM_CLOSE, 0, 0);
        return 0;
    case shell::WM_PAINT:
        validateRect(hwnd, nullptr);
        return 0;
    default:
        return 0;
    }
}

}  // namespace detail

std::unique_ptr<shell::Shell> createQtShell(int& argc, char** argv) {
    bool owns = false;
    if (!QCoreApplication::instance()) {
        detail::g_app = std::make_unique<QApplication>(argc, argv);
        owns = true;
    }
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // The dialog fonts of the templates are Windows names; map them to the
    // sans-serif families found here.
    const QStringList sans{"Tahoma", "DejaVu Sans", "Liberation Sans", "Noto Sans", "Arial", "Sans Serif"};
    for (const char* name : {"MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif"})
        QFont::insertSubstitutions(QString::fromLatin1(name), sans);
    return std::make_unique<detail::QtShell>(owns);
}

GlSurface* surfaceForQtWindow(HWND hwnd) {
    if (!detail::g_instance) return nullptr;
    detail::WindowRecord* r = detail::g_instance->anyRecord(hwnd);
    return r && !r->isDialog ? r->surface.get() : nullptr;
}

}  // namespace qtshell
