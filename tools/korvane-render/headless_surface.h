// The surface korvane-render draws into without showing anything: EGL's
// surfaceless platform on Linux, a WGL context on a hidden window on
// Windows. Both drive the same OpenGL device and read back through
// GlSurface::readRgb; both offer create(width, height, why), install() and
// window().
#pragma once

#ifdef _WIN32
#include "platform/wgl/wgl_surface.h"
namespace kr {
using HeadlessSurface = wglsurface::WglSurface;
}
#else
#include "platform/egl/egl_surface.h"
namespace kr {
using HeadlessSurface = eglsurface::EglSurface;
}
#endif
