// An OpenGL 3.3 core surface for drawing without showing anything on
// Windows: a context on a hidden window's device context (WGL), drawing
// into a framebuffer object of a given size, read back with readRgb. It is
// korvane-render's surface there, as the EGL surface is on Linux: the same
// OpenGL device and shaders draw on both, so the pictures agree. create()
// says why when the system's OpenGL cannot make such a context.
#pragma once

#include <memory>
#include <string>

#include "platform/d3d8/surface.h"
#include "platform/gl/gl_offscreen.h"
#include "platform/wgl/wgl_context.h"

namespace wglsurface {

class WglSurface final : public GlSurface {
public:
    // Null with a one-line reason in `why` when the hidden window, a pixel
    // format, an OpenGL 3.3 core context or the framebuffer is missing.
    // `samples` as for EglSurface::create.
    static std::unique_ptr<WglSurface> create(int width, int height, std::string& why, int samples = 1);
    ~WglSurface() override;
    WglSurface(const WglSurface&) = delete;
    WglSurface& operator=(const WglSurface&) = delete;

    bool makeCurrent() override;
    void swapBuffers() override {}
    void pixelSize(UINT* width, UINT* height) override;
    UINT framebuffer() override { return framebuffer_.name(); }
    void* getProcAddress(const char* name) override;
    bool readRgb(unsigned char* rgb) override;
    int samples() const { return framebuffer_.samples(); }

    // The window handle that surfaceForWindow maps to the installed surface.
    static HWND window();
    // Installs the surface provider; only `surface` is reachable (null: none).
    static void install(WglSurface* surface);

private:
    WglSurface(int width, int height) : width_(width), height_(height) {}

    std::unique_ptr<wglcontext::Context> context_;
    gloffscreen::Framebuffer framebuffer_;
    int width_;
    int height_;
};

}  // namespace wglsurface
