// The drawing surface behind a window handle, as the OpenGL device needs
// it: a context to make current, buffers to swap, a size in pixels and the
// context's entry points. The window system provides it (src/platform/qt),
// EGL one without a display (src/platform/egl), tests offscreen ones, and
// the device never learns which is underneath.
#pragma once

#include "platform/wintypes.h"

class GlSurface {
public:
    virtual ~GlSurface() = default;
    // Makes the surface's OpenGL 3.3 core context current; false when the
    // surface is gone.
    virtual bool makeCurrent() = 0;
    virtual void swapBuffers() = 0;
    virtual void pixelSize(UINT* width, UINT* height) = 0;
    // The framebuffer object to draw into (0 for the default framebuffer).
    virtual UINT framebuffer() { return 0; }
    // Resolves an OpenGL entry point in the surface's context; null when the
    // context has none of that name.
    virtual void* getProcAddress(const char* name) = 0;
    // Copies the framebuffer's pixelSize() pixels into `rgb` as opaque RGB
    // bytes, the top row first, rows without padding (3 × width × height
    // bytes). False when the surface cannot read back (the default) or its
    // context is gone.
    virtual bool readRgb(unsigned char* rgb) {
        (void)rgb;
        return false;
    }
};

// Maps a window handle to its surface; installed by the program's entry.
using SurfaceProvider = GlSurface* (*)(HWND);
void setSurfaceProvider(SurfaceProvider provider);
GlSurface* surfaceForWindow(HWND hwnd);
