// The OpenGL 3.3 core entry points the device uses, resolved at run time
// through the surface's context, so the device links no OpenGL library and
// nothing depends on which functions a link library happens to export.
#pragma once

// On Windows the header would bring in <windows.h>, whose types clash with
// our stand-ins (platform/wintypes.h), unless the calling convention it
// takes from there is already set.
#if defined(_WIN32) && !defined(APIENTRY)
#define APIENTRY __stdcall
#endif
#include <GL/glcorearb.h>

class GlSurface;

#define KV_GL_FUNCTIONS(X)                                                  \
    X(PFNGLGETSTRINGPROC, GetString)                                        \
    X(PFNGLGETERRORPROC, GetError)                                          \
    X(PFNGLGETINTEGERVPROC, GetIntegerv)                                    \
    X(PFNGLENABLEPROC, Enable)                                              \
    X(PFNGLDISABLEPROC, Disable)                                            \
    X(PFNGLDEPTHFUNCPROC, DepthFunc)                                        \
    X(PFNGLDEPTHMASKPROC, DepthMask)                                        \
    X(PFNGLCOLORMASKPROC, ColorMask)                                        \
    X(PFNGLCULLFACEPROC, CullFace)                                          \
    X(PFNGLFRONTFACEPROC, FrontFace)                                        \
    X(PFNGLPOLYGONMODEPROC, PolygonMode)                                    \
    X(PFNGLVIEWPORTPROC, Viewport)                                          \
    X(PFNGLSCISSORPROC, Scissor)                                            \
    X(PFNGLCLEARCOLORPROC, ClearColor)                                      \
    X(PFNGLCLEARDEPTHPROC, ClearDepth)                                      \
    X(PFNGLCLEARSTENCILPROC, ClearStencil)                                  \
    X(PFNGLSTENCILMASKPROC, StencilMask)                                    \
    X(PFNGLCLEARPROC, Clear)                                                \
    X(PFNGLFLUSHPROC, Flush)                                                \
    X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                            \
    X(PFNGLGENBUFFERSPROC, GenBuffers)                                      \
    X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                                \
    X(PFNGLBINDBUFFERPROC, BindBuffer)                                      \
    X(PFNGLBUFFERDATAPROC, BufferData)                                      \
    X(PFNGLBUFFERSUBDATAPROC, BufferSubData)                                \
    X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                            \
    X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                      \
    X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                            \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)            \
    X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, DisableVertexAttribArray)          \
    X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)                    \
    X(PFNGLVERTEXATTRIB4FPROC, VertexAttrib4f)                              \
    X(PFNGLCREATESHADERPROC, CreateShader)                                  \
    X(PFNGLSHADERSOURCEPROC, ShaderSource)                                  \
    X(PFNGLCOMPILESHADERPROC, CompileShader)                                \
    X(PFNGLGETSHADERIVPROC, GetShaderiv)                                    \
    X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                          \
    X(PFNGLDELETESHADERPROC, DeleteShader)                                  \
    X(PFNGLCREATEPROGRAMPROC, CreateProgram)                                \
    X(PFNGLATTACHSHADERPROC, AttachShader)                                  \
    X(PFNGLLINKPROGRAMPROC, LinkProgram)                                    \
    X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                                  \
    X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                        \
    X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                                \
    X(PFNGLUSEPROGRAMPROC, UseProgram)                                      \
    X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                      \
    X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)                          \
    X(PFNGLUNIFORM1IPROC, Uniform1i)                                        \
    X(PFNGLGENTEXTURESPROC, GenTextures)                                    \
    X(PFNGLDELETETEXTURESPROC, DeleteTextures)                              \
    X(PFNGLBINDTEXTUREPROC, BindTexture)                                    \
    X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                                \
    X(PFNGLTEXIMAGE2DPROC, TexImage2D)                                      \
    X(PFNGLTEXPARAMETERIPROC, TexParameteri)                                \
    X(PFNGLPIXELSTOREIPROC, PixelStorei)                                    \
    X(PFNGLDRAWARRAYSPROC, DrawArrays)                                      \
    X(PFNGLDRAWELEMENTSBASEVERTEXPROC, DrawElementsBaseVertex)

struct GlFunctions {
#define KV_GL_MEMBER(type, name) type name = nullptr;
    KV_GL_FUNCTIONS(KV_GL_MEMBER)
#undef KV_GL_MEMBER

    // Resolves every entry point with the surface's context current; false
    // (and the table unusable) when any one is missing.
    bool load(GlSurface& surface);
};
