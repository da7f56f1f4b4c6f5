#include "platform/wgl/wgl_surface.h"

namespace wglsurface {
namespace {

WglSurface* g_current = nullptr;
int g_windowTag = 0;

GlSurface* provide(HWND hwnd) { return hwnd == WglSurface::window() ? g_current : nullptr; }

}  // namespace

std::unique_ptr<WglSurface> WglSurface::create(int width, int height, std::string& why, int samples) {
    std::unique_ptr<WglSurface> surface(new WglSurface(width, height));
    surface->context_ = wglcontext::Context::create(why);
    if (!surface->context_ || !surface->framebuffer_.create(*surface, width, height, samples, why)) return nullptr;
    return surface;
}

WglSurface::~WglSurface() {
    if (g_current == this) g_current = nullptr;
    if (context_ && context_->makeCurrent()) {
        framebuffer_.destroy(*this);
        context_->release();
    }
}

bool WglSurface::makeCurrent() { return context_ && context_->makeCurrent(); }

void WglSurface::pixelSize(UINT* width, UINT* height) {
    *width = static_cast<UINT>(width_);
    *height = static_cast<UINT>(height_);
}

void* WglSurface::getProcAddress(const char* name) { return context_ ? context_->procAddress(name) : nullptr; }

bool WglSurface::readRgb(unsigned char* rgb) { return makeCurrent() && framebuffer_.readRgb(*this, rgb); }

HWND WglSurface::window() { return reinterpret_cast<HWND>(&g_windowTag); }

void WglSurface::install(WglSurface* surface) {
    g_current = surface;
    setSurfaceProvider(&provide);
}

}  // namespace wglsurface
