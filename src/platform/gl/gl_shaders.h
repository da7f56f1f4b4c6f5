// The one shader pair that stands in for Direct3D 8's fixed-function
// pipeline as the viewer uses it: row-vector transform with Direct3D's
// depth range, unlit or black-lit vertex colour, and texture stage 0.
#pragma once

#include "platform/gl/gl_functions.h"

// Vertex attribute slots the device feeds from the flexible vertex format.
constexpr GLuint kGlAttribPosition = 0;
constexpr GLuint kGlAttribDiffuse = 1;
constexpr GLuint kGlAttribTexCoord = 2;

struct GlProgram {
    GLuint program = 0;
    GLint transform = -1;   // mat4: World · View · Projection, row-vector order
    GLint lighting = -1;    // bool
    GLint hasTexture = -1;  // bool: stage 0 has a texture bound
    GLint sampler = -1;
    GLint colorOp = -1;
    GLint colorArg1 = -1;
    GLint colorArg2 = -1;

    // Compiles and links the pair; false (nothing left behind) on failure.
    bool build(const GlFunctions& gl);
    void destroy(const GlFunctions& gl);
};
