#include "platform/egl/egl_surface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace eglsurface {
namespace {

EglSurface* g_current = nullptr;
int g_windowTag = 0;

GlSurface* provide(HWND hwnd) { return hwnd == EglSurface::window() ? g_current : nullptr; }

template <class Function>
Function entry(const char* name) {
    return reinterpret_cast<Function>(eglGetProcAddress(name));
}

bool hasExtension(const char* list, const char* name) {
    if (list == nullptr) return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + length, name)) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == '\0' || at[length] == ' ';
        if (starts && ends) return true;
    }
    return false;
}

}  // namespace

std::unique_ptr<EglSurface> EglSurface::create(int width, int height, std::string& why, int samples) {
    std::unique_ptr<EglSurface> surface(new EglSurface(width, height, std::max(samples, 1)));
    if (!surface->open(why) ||
        !surface->framebuffer_.create(*surface, surface->width_, surface->height_, surface->samples_, why)) {
        return nullptr;
    }
    return surface;
}

bool EglSurface::open(std::string& why) {
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
        why = "EGL has no surfaceless platform";
        return false;
    }
    auto getPlatformDisplay = entry<PFNEGLGETPLATFORMDISPLAYEXTPROC>("eglGetPlatformDisplayEXT");
    EGLDisplay display =
        getPlatformDisplay != nullptr ? getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr)
                                      : EGL_NO_DISPLAY;
    if (display == EGL_NO_DISPLAY || eglInitialize(display, nullptr, nullptr) != EGL_TRUE) {
        why = "EGL's surfaceless display cannot be opened";
        return false;
    }
    display_ = display;
    if (!hasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context") ||
        eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        why = "EGL cannot make a desktop OpenGL context without a surface";
        return false;
    }
    // The surfaceless platform has no window configurations (the default asked
    // for); drawing goes into a framebuffer object, so any will do.
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (eglChooseConfig(display, configAttributes, &config, 1, &configs) != EGL_TRUE || configs < 1) {
        why = "EGL offers no configuration for desktop OpenGL";
        return false;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                        3,
                                        EGL_CONTEXT_MINOR_VERSION,
                                        3,
                                        EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                        EGL_NONE};
    context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context_ == EGL_NO_CONTEXT) {
        context_ = nullptr;
        why = "EGL cannot make an OpenGL 3.3 core context";
        return false;
    }
    if (!makeCurrent()) {
        why = "the EGL context cannot be made current";
        return false;
    }
    return true;
}

EglSurface::~EglSurface() {
    if (g_current == this) g_current = nullptr;
    if (display_ == nullptr) return;
    if (context_ != nullptr && makeCurrent()) {
        framebuffer_.destroy(*this);
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    if (context_ != nullptr) eglDestroyContext(display_, context_);
    eglTerminate(display_);
}

bool EglSurface::makeCurrent() {
    if (context_ == nullptr) return false;
    if (eglGetCurrentContext() == context_) return true;
    return eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) == EGL_TRUE;
}

void EglSurface::pixelSize(UINT* width, UINT* height) {
    *width = static_cast<UINT>(width_);
    *height = static_cast<UINT>(height_);
}

void* EglSurface::getProcAddress(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

bool EglSurface::readRgb(unsigned char* rgb) { return makeCurrent() && framebuffer_.readRgb(*this, rgb); }

HWND EglSurface::window() { return reinterpret_cast<HWND>(&g_windowTag); }

void EglSurface::install(EglSurface* surface) {
    g_current = surface;
    setSurfaceProvider(&provide);
}

}  // namespace eglsurface
