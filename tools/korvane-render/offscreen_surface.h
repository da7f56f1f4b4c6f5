// The picture korvane-render draws into: an OpenGL 3.3 core context on a
// QOffscreenSurface, drawing into a framebuffer object of the requested
// size, read back as a QImage. Its window() handle is the "window" of the
// offscreen shell; install() makes surfaceForWindow find it.
#pragma once

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <memory>

#include "platform/d3d8/surface.h"

namespace kr {

class OffscreenSurface final : public GlSurface {
public:
    OffscreenSurface(int width, int height);
    ~OffscreenSurface() override;
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    // False when no OpenGL 3.3 core context or framebuffer could be made.
    bool valid() const { return fbo_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }

    bool makeCurrent() override;
    void swapBuffers() override {}
    void pixelSize(UINT* width, UINT* height) override;
    UINT framebuffer() override;
    void* getProcAddress(const char* name) override;

    // The framebuffer's contents, opaque, top row first.
    QImage image();

    // The window handle the shell hands out for this surface.
    HWND window();
    // Installs the surface provider; only `surface` is reachable.
    static void install(OffscreenSurface* surface);

private:
    QOffscreenSurface surface_;
    QOpenGLContext context_;
    std::unique_ptr<QOpenGLFramebufferObject> fbo_;
    int width_;
    int height_;
};

}  // namespace kr
