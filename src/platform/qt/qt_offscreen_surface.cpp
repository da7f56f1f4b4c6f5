#include "platform/qt/qt_offscreen_surface.h"

#include <QOpenGLFunctions>
#include <QSurfaceFormat>

namespace qtshell {
namespace {

OffscreenSurface* g_current = nullptr;
int g_windowTag = 0;

GlSurface* provide(HWND hwnd) { return hwnd == OffscreenSurface::window() ? g_current : nullptr; }

}  // namespace

OffscreenSurface::OffscreenSurface(int width, int height) : width_(width), height_(height) {
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    surface_.setFormat(format);
    surface_.create();
    context_.setFormat(format);
    if (!context_.create() || !context_.makeCurrent(&surface_)) return;
    const QSurfaceFormat got = context_.format();
    if (got.majorVersion() < 3 || (got.majorVersion() == 3 && got.minorVersion() < 3)) return;
    fbo_ = std::make_unique<QOpenGLFramebufferObject>(width, height, QOpenGLFramebufferObject::CombinedDepthStencil);
    if (!fbo_->isValid()) fbo_.reset();
}

OffscreenSurface::~OffscreenSurface() {
    if (g_current == this) g_current = nullptr;
    if (context_.makeCurrent(&surface_)) {
        fbo_.reset();
        context_.doneCurrent();
    }
}

bool OffscreenSurface::makeCurrent() { return !gone_ && context_.makeCurrent(&surface_); }

void OffscreenSurface::pixelSize(UINT* width, UINT* height) {
    *width = static_cast<UINT>(width_);
    *height = static_cast<UINT>(height_);
}

UINT OffscreenSurface::framebuffer() { return fbo_ ? fbo_->handle() : 0; }

void* OffscreenSurface::getProcAddress(const char* name) {
    return reinterpret_cast<void*>(context_.getProcAddress(name));
}

QRgb OffscreenSurface::pixel(int x, int y) {
    if (!fbo_ || !context_.makeCurrent(&surface_)) return 0;
    QOpenGLFunctions* f = context_.functions();
    f->glFinish();
    f->glBindFramebuffer(GL_FRAMEBUFFER, fbo_->handle());
    unsigned char rgba[4] = {0, 0, 0, 0};
    f->glPixelStorei(GL_PACK_ALIGNMENT, 1);
    f->glReadPixels(x, height_ - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return qRgba(rgba[0], rgba[1], rgba[2], rgba[3]);
}

QImage OffscreenSurface::image() {
    if (!fbo_ || !context_.makeCurrent(&surface_)) return QImage();
    return fbo_->toImage().convertToFormat(QImage::Format_RGB32);
}

HWND OffscreenSurface::window() { return reinterpret_cast<HWND>(&g_windowTag); }

void OffscreenSurface::install(OffscreenSurface* surface) {
    g_current = surface;
    setSurfaceProvider(&provide);
}

}  // namespace qtshell
