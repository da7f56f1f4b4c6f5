#include "platform/gl/gl_functions.h"

#include "platform/d3d8/surface.h"

#if defined(KV_GL_HAVE_GLX)
// Declared here rather than through <GL/glx.h> so the X11 headers stay out.
extern "C" void (*glXGetProcAddressARB(const unsigned char* name))();
#elif defined(KV_GL_HAVE_EGL)
extern "C" void (*eglGetProcAddress(const char* name))();
#endif

namespace {

// The window system's own loader, for surfaces that do not resolve names.
void* systemProcAddress(const char* name) {
#if defined(KV_GL_HAVE_GLX)
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const unsigned char*>(name)));
#elif defined(KV_GL_HAVE_EGL)
    return reinterpret_cast<void*>(eglGetProcAddress(name));
#else
    (void)name;
    return nullptr;
#endif
}

void* resolve(GlSurface& surface, const char* name) {
    if (void* p = surface.getProcAddress(name)) {
        return p;
    }
    return systemProcAddress(name);
}

}  // namespace

bool GlFunctions::load(GlSurface& surface) {
    bool complete = true;
#define KV_GL_LOAD(type, fname)                                                    \
    fname = reinterpret_cast<type>(resolve(surface, "gl" #fname));                 \
    complete = complete && fname != nullptr;
    KV_GL_FUNCTIONS(KV_GL_LOAD)
#undef KV_GL_LOAD
    return complete;
}
