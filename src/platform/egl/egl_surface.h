// An OpenGL 3.3 core surface with no window system at all: a context on
// Mesa's surfaceless EGL platform drawing into a framebuffer object of a
// given size, read back with readRgb. korvane-render draws into one, so it
// runs on a machine without a display; create() says why when it cannot.
#pragma once

#include <memory>
#include <string>

#include "platform/d3d8/surface.h"
#include "platform/gl/gl_offscreen.h"

namespace eglsurface {

class EglSurface final : public GlSurface {
public:
    // Null with a one-line reason in `why` when EGL, the surfaceless
    // platform, an OpenGL 3.3 core context or the framebuffer is missing.
    // With `samples` above 1 the framebuffer is multisampled, with as many
    // samples as asked, at most what the context can give (samples() says
    // how many it has), and readRgb resolves it first.
    static std::unique_ptr<EglSurface> create(int width, int height, std::string& why, int samples = 1);
    ~EglSurface() override;
    EglSurface(const EglSurface&) = delete;
    EglSurface& operator=(const EglSurface&) = delete;

    bool makeCurrent() override;
    void swapBuffers() override {}
    void pixelSize(UINT* width, UINT* height) override;
    UINT framebuffer() override { return framebuffer_.name(); }
    void* getProcAddress(const char* name) override;
    bool readRgb(unsigned char* rgb) override;
    // Samples per pixel of the framebuffer drawn into, as the driver made
    // it (1: not multisampled).
    int samples() const { return framebuffer_.samples(); }

    // The window handle that surfaceForWindow maps to the installed surface.
    static HWND window();
    // Installs the surface provider; only `surface` is reachable (null: none).
    static void install(EglSurface* surface);

private:
    EglSurface(int width, int height, int samples) : width_(width), height_(height), samples_(samples) {}
    bool open(std::string& why);

    void* display_ = nullptr;  // EGLDisplay
    void* context_ = nullptr;  // EGLContext
    gloffscreen::Framebuffer framebuffer_;
    int width_;
    int height_;
    int samples_;  // as asked
};

}  // namespace eglsurface
