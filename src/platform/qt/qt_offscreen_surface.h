// An offscreen OpenGL 3.3 core surface: a context on a QOffscreenSurface
// drawing into a framebuffer object of a given size, read back as pixels.
// The device tests use it in place of a window. The fixed handle window()
// maps onto the installed surface; setGone makes makeCurrent fail as a
// closed window would.
#pragma once

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <memory>

#include "platform/d3d8/surface.h"

namespace qtshell {

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
    void setGone(bool gone) { gone_ = gone; }

    bool makeCurrent() override;
    void swapBuffers() override { ++swaps_; }
    void pixelSize(UINT* width, UINT* height) override;
    UINT framebuffer() override;
    void* getProcAddress(const char* name) override;

    int swaps() const { return swaps_; }
    // The pixel at (x, y) counted from the top left, as 0xAARRGGBB.
    QRgb pixel(int x, int y);
    // The framebuffer's contents, opaque, top row first.
    QImage image();

    // The window handle that surfaceForWindow maps to the installed surface.
    static HWND window();
    // Installs the surface provider; only `surface` is reachable (null: none).
    static void install(OffscreenSurface* surface);

private:
    QOffscreenSurface surface_;
    QOpenGLContext context_;
    std::unique_ptr<QOpenGLFramebufferObject> fbo_;
    int width_;
    int height_;
    bool gone_ = false;
    int swaps_ = 0;
};

}  // namespace qtshell
