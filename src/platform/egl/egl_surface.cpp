#include "platform/egl/egl_surface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glcorearb.h>

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
    if (!surface->open(why) || !surface->makeFramebuffer(why)) return nullptr;
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

bool EglSurface::makeTarget(UINT& framebuffer, UINT (&renderbuffers)[2], int samples, bool withDepth) {
    auto genFramebuffers = entry<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
    auto bindFramebuffer = entry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
    auto genRenderbuffers = entry<PFNGLGENRENDERBUFFERSPROC>("glGenRenderbuffers");
    auto bindRenderbuffer = entry<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
    auto storage = entry<PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC>("glRenderbufferStorageMultisample");
    auto attach = entry<PFNGLFRAMEBUFFERRENDERBUFFERPROC>("glFramebufferRenderbuffer");
    auto status = entry<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
    if (!genFramebuffers || !bindFramebuffer || !genRenderbuffers || !bindRenderbuffer || !storage || !attach ||
        !status) {
        return false;
    }
    GLuint names[2] = {0, 0};
    genRenderbuffers(withDepth ? 2 : 1, names);
    renderbuffers[0] = names[0];
    renderbuffers[1] = names[1];
    bindRenderbuffer(GL_RENDERBUFFER, names[0]);
    storage(GL_RENDERBUFFER, samples, GL_RGBA8, width_, height_);
    if (withDepth) {
        bindRenderbuffer(GL_RENDERBUFFER, names[1]);
        storage(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, width_, height_);
    }
    bindRenderbuffer(GL_RENDERBUFFER, 0);

    GLuint made = 0;
    genFramebuffers(1, &made);
    framebuffer = made;
    bindFramebuffer(GL_FRAMEBUFFER, made);
    attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, names[0]);
    if (withDepth) attach(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, names[1]);
    return status(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

bool EglSurface::makeFramebuffer(std::string& why) {
    if (samples_ > 1) {
        // As many samples as asked, at most what the context offers for
        // both colour and depth.
        auto getInteger = entry<PFNGLGETINTEGERVPROC>("glGetIntegerv");
        GLint most = 1;
        if (getInteger != nullptr) getInteger(GL_MAX_SAMPLES, &most);
        samples_ = std::max(1, std::min(samples_, static_cast<int>(most)));
    }
    const auto failed = [&] {
        why = "the OpenGL context cannot make a " + std::to_string(width_) + "x" + std::to_string(height_) +
              " framebuffer" + (samples_ > 1 ? " of " + std::to_string(samples_) + " samples" : "");
        return false;
    };
    if (!makeTarget(framebuffer_, renderbuffers_, samples_ > 1 ? samples_ : 0, true)) return failed();
    if (samples_ > 1 && !makeTarget(resolved_, resolvedColour_, 0, false)) return failed();
    if (samples_ > 1) {
        // The driver may give more samples than asked (llvmpipe: 2 gives 4).
        auto bindRenderbuffer = entry<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
        auto parameter = entry<PFNGLGETRENDERBUFFERPARAMETERIVPROC>("glGetRenderbufferParameteriv");
        GLint given = samples_;
        if (bindRenderbuffer != nullptr && parameter != nullptr) {
            bindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
            parameter(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &given);
            bindRenderbuffer(GL_RENDERBUFFER, 0);
        }
        samples_ = std::max(1, static_cast<int>(given));
    }
    // Drawing binds the surface's framebuffer itself.
    entry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer")(GL_FRAMEBUFFER, framebuffer_);
    return true;
}

EglSurface::~EglSurface() {
    if (g_current == this) g_current = nullptr;
    if (display_ == nullptr) return;
    if (context_ != nullptr && makeCurrent()) {
        auto deleteFramebuffers = entry<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");
        auto deleteRenderbuffers = entry<PFNGLDELETERENDERBUFFERSPROC>("glDeleteRenderbuffers");
        const GLuint framebuffers[2] = {framebuffer_, resolved_};
        const GLuint renderbuffers[3] = {renderbuffers_[0], renderbuffers_[1], resolvedColour_[0]};
        if (deleteFramebuffers) deleteFramebuffers(2, framebuffers);
        if (deleteRenderbuffers) deleteRenderbuffers(3, renderbuffers);
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

bool EglSurface::readRgb(unsigned char* rgb) {
    auto bindFramebuffer = entry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
    auto pixelStore = entry<PFNGLPIXELSTOREIPROC>("glPixelStorei");
    auto readPixels = entry<PFNGLREADPIXELSPROC>("glReadPixels");
    auto blit = entry<PFNGLBLITFRAMEBUFFERPROC>("glBlitFramebuffer");
    if (width_ <= 0 || height_ <= 0 || !makeCurrent() || !bindFramebuffer || !pixelStore || !readPixels ||
        (resolved_ != 0 && !blit)) {
        return false;
    }
    bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    if (resolved_ != 0) {
        // A multisampled buffer cannot be read: average its samples into
        // the single-sampled copy and read that.
        bindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved_);
        blit(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        bindFramebuffer(GL_READ_FRAMEBUFFER, resolved_);
    }
    pixelStore(GL_PACK_ALIGNMENT, 1);
    readPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    // OpenGL's rows run bottom-up.
    const std::size_t row = static_cast<std::size_t>(width_) * 3;
    for (std::size_t top = 0, bottom = static_cast<std::size_t>(height_) - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(rgb + top * row, rgb + (top + 1) * row, rgb + bottom * row);
    }
    return true;
}

HWND EglSurface::window() { return reinterpret_cast<HWND>(&g_windowTag); }

void EglSurface::install(EglSurface* surface) {
    g_current = surface;
    setSurfaceProvider(&provide);
}

}  // namespace eglsurface
