#include "platform/gl/gl_functions.h"

#include "platform/d3d8/surface.h"

bool GlFunctions::load(GlSurface& surface) {
    bool complete = true;
#define KV_GL_LOAD(type, fname)                                                    \
    fname = reinterpret_cast<type>(surface.getProcAddress("gl" #fname));           \
    complete = complete && fname != nullptr;
    KV_GL_FUNCTIONS(KV_GL_LOAD)
#undef KV_GL_LOAD
    return complete;
}
