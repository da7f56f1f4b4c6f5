// The main window: its Qt events become window messages (input and close are
// posted to the queue, paint is sent straight to the window procedure), and
// its OpenGL surface.
#include <QCloseEvent>
#include <QExposeEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>

#include <algorithm>

#include "platform/qt/qt_shell_impl.h"

namespace qtshell::detail {

ShellQWindow::ShellQWindow(QtShell& shell, WindowRecord& record) : shell_(shell), record_(record) {
    setSurfaceType(QSurface::OpenGLSurface);
    QSurfaceFormat fmt;
    fmt.setRenderableType(QSurfaceFormat::OpenGL);
    fmt.setVersion(3, 3);
    fmt.setProfile(QSurfaceFormat::CoreProfile);
    fmt.setDepthBufferSize(24);
    fmt.setStencilBufferSize(8);
    fmt.setSwapInterval(0);  // the loop presents as fast as it can
    setFormat(fmt);
}

void ShellQWindow::key(QEvent* e, bool down) {
    auto* k = static_cast<QKeyEvent*>(e);
    // X11 auto-repeat arrives as release/press pairs; Win32 repeats key-downs
    // only, so the repeated releases are dropped.
    if (!down && k->isAutoRepeat()) return;
    const WPARAM vk = virtualKey(k->key(), k->modifiers());
    if (vk == 0) return;
    const bool alt = k->modifiers().testFlag(Qt::AltModifier) || k->key() == Qt::Key_Alt;
    const bool ctrl = k->modifiers().testFlag(Qt::ControlModifier) && k->key() != Qt::Key_Control;
    const bool sys = alt && !ctrl;
    // lParam as Win32 fills it: repeat count, scan code, context (Alt),
    // previous state, transition.
    DWORD lp = 1u | ((k->nativeScanCode() & 0xFFu) << 16);
    if (sys) lp |= 1u << 29;
    if (!down || k->isAutoRepeat()) lp |= 1u << 30;
    if (!down) lp |= 1u << 31;
    UINT msg = down ? (sys ? shell::WM_SYSKEYDOWN : shell::WM_KEYDOWN) : (sys ? shell::WM_SYSKEYUP : shell::WM_KEYUP);
    shell_.post(record_, msg, vk, static_cast<LPARAM>(lp), down ? k->text() : QString());
}

bool ShellQWindow::event(QEvent* e) {
    if (record_.destroyed) return QWindow::event(e);
    switch (e->type()) {
    case QEvent::Expose: {
        QWindow::event(e);
        if (isExposed()) {
            shell_.adjustFrame(record_);
            shell_.send(record_, shell::WM_PAINT, 0, 0);
        }
        return true;
    }
    case QEvent::Close:
        // The window stays until the procedure destroys it (the default
        // procedure does so on WM_CLOSE).
        e->ignore();
        shell_.post(record_, shell::WM_CLOSE, 0, 0);
        return true;
    case QEvent::KeyPress:
        key(e, true);
        return true;
    case QEvent::KeyRelease:
        key(e, false);
        return true;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(e);
        const QPoint p = m->position().toPoint();
        const WPARAM flags = mouseKeyFlags(m->buttons(), m->modifiers());
        if (e->type() == QEvent::MouseMove)
            shell_.post(record_, shell::WM_MOUSEMOVE, flags, makeLParam(p.x(), p.y()));
        else if (m->button() == Qt::RightButton)
            shell_.post(record_,
                        e->type() == QEvent::MouseButtonPress ? shell::WM_RBUTTONDOWN : shell::WM_RBUTTONUP,
                        flags, makeLParam(p.x(), p.y()));
        return true;
    }
    case QEvent::MouseButtonDblClick:
        return true;  // the second press already arrived as a press
    case QEvent::Wheel: {
        auto* w = static_cast<QWheelEvent*>(e);
        int delta = w->angleDelta().y();  // eighths of a degree: 120 per notch, as Win32 counts
        if (delta == 0) return true;
        delta = std::clamp(delta, -32768, 32767);
        const QPoint g = w->globalPosition().toPoint();
        shell_.post(record_, shell::WM_MOUSEWHEEL,
                    makeWParam(static_cast<int>(mouseKeyFlags(w->buttons(), w->modifiers())), delta),
                    makeLParam(g.x(), g.y()));
        return true;
    }
    default:
        return QWindow::event(e);
    }
}

// ---- surface -------------------------------------------------------------------

WindowSurface::WindowSurface(QWindow* window) : window_(window) {}

WindowSurface::~WindowSurface() {
    if (context_ && QOpenGLContext::currentContext() == context_.get()) context_->doneCurrent();
}

bool WindowSurface::makeCurrent() {
    if (gone_ || !window_ || failed_) return false;
    if (!context_) {
        context_ = std::make_unique<QOpenGLContext>();
        context_->setFormat(window_->requestedFormat());
        if (!context_->create()) {
            failed_ = true;
            return false;
        }
        const QSurfaceFormat got = context_->format();
        if (got.version() < qMakePair(3, 3)) {
            failed_ = true;
            return false;
        }
    }
    return context_->makeCurrent(window_);
}

void WindowSurface::swapBuffers() {
    if (gone_ || !window_ || !context_ || !window_->isExposed()) return;
    context_->swapBuffers(window_);
}

void WindowSurface::pixelSize(UINT* width, UINT* height) {
    QSize s;
    if (window_ && !gone_) s = window_->size() * window_->devicePixelRatio();
    if (width) *width = static_cast<UINT>(s.width());
    if (height) *height = static_cast<UINT>(s.height());
}

// OpenGL entry points through the context's own resolver, so the device
// does not depend on which window-system binding Qt chose (GLX or EGL).
void* WindowSurface::getProcAddress(const char* name) {
    if (!context_) return nullptr;
    return reinterpret_cast<void*>(context_->getProcAddress(name));
}

void WindowSurface::windowGone() {
    if (context_ && QOpenGLContext::currentContext() == context_.get()) context_->doneCurrent();
    gone_ = true;
}

}  // namespace qtshell::detail
