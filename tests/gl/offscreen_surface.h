// An offscreen OpenGL 3.3 core surface for the device tests: a context on a
// QOffscreenSurface drawing into a framebuffer object, with read-back. A
// fixed window handle maps onto it; "closing" it makes makeCurrent fail.
#pragma once

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <memory>

#include "platform/d3d8/surface.h"

class OffscreenSurface final : public GlSurface {
public:
    OffscreenSurface(int width, int height);
    ~OffscreenSurface() override;

    bool valid() const { return fbo_ != nullptr; }
    void setGone(bool gone) { gone_ = gone; }

    bool makeCurrent() override;
    void swapBuffers() override { ++swaps_; }
    void pixelSize(UINT* width, UINT* height) override;
    UINT framebuffer() override;
    void* getProcAddress(const char* name) override;

    int swaps() const { return swaps_; }
    // The pixel at (x, y) counted from the top left, as 0xAARRGGBB.
    QRgb pixel(int x, int y);
    QImage image();

    // The window handle that surfaceForWindow maps to the current surface.
    static HWND window();
    // Installs the provider for window(); only `surface` is reachable.
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
