// The drawing surface behind a window handle, as the OpenGL device needs
// it: a context to make current, buffers to swap and a size in pixels. The
// window system provides it (src/platform/qt), tests provide offscreen ones,
// and the device never learns which is underneath.
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
    // Resolves an OpenGL entry point in the surface's context; null lets the
    // device fall back to the window system's loader.
    virtual void* getProcAddress(const char* name) {
        (void)name;
        return nullptr;
    }
};

// Maps a window handle to its surface; installed by the program's entry.
using SurfaceProvider = GlSurface* (*)(HWND);
void setSurfaceProvider(SurfaceProvider provider);
GlSurface* surfaceForWindow(HWND hwnd);
