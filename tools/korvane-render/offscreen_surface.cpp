#include "offscreen_surface.h"

#include <QSurfaceFormat>

namespace kr {

namespace {

OffscreenSurface* g_current = nullptr;

GlSurface* provide(HWND hwnd) {
    return g_current != nullptr && hwnd == g_current->window() ? g_current : nullptr;
}

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

bool OffscreenSurface::makeCurrent() { return context_.makeCurrent(&surface_); }

void OffscreenSurface::pixelSize(UINT* width, UINT* height) {
    *width = static_cast<UINT>(width_);
    *height = static_cast<UINT>(height_);
}

UINT OffscreenSurface::framebuffer() { return fbo_ ? fbo_->handle() : 0; }

void* OffscreenSurface::getProcAddress(const char* name) {
    return reinterpret_cast<void*>(context_.getProcAddress(name));
}

QImage OffscreenSurface::image() {
    if (!fbo_ || !context_.makeCurrent(&surface_)) return QImage();
    return fbo_->toImage().convertToFormat(QImage::Format_RGB32);
}

HWND OffscreenSurface::window() { return reinterpret_cast<HWND>(this); }

void OffscreenSurface::install(OffscreenSurface* surface) {
    g_current = surface;
    setSurfaceProvider(&provide);
}

}  // namespace kr
