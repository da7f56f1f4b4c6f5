#include "platform/gl/gl_shaders.h"

namespace {

// The matrix arrives as Direct3D's row-major array uploaded without
// transposing, so in GLSL it is the transpose and M^T · v equals v · M.
// Direct3D clips depth to 0..w, OpenGL to -w..w: z' = 2z - w maps one onto
// the other and leaves the stored depth equal to Direct3D's z / w.
// D3DCOLOR bytes lie B, G, R, A in memory; .bgra puts them back in order.
const char* const kVertexSource = R"(#version 330 core
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec4 a_diffuse;
layout(location = 2) in vec2 a_texcoord;
uniform mat4 u_transform;
uniform bool u_lighting;
out vec4 v_diffuse;
out vec2 v_texcoord;
void main() {
    vec4 clip = u_transform * vec4(a_position, 1.0);
    clip.z = 2.0 * clip.z - clip.w;
    gl_Position = clip;
    vec4 colour = a_diffuse.bgra;
    // Lighting with no lights and the default material leaves only black.
    v_diffuse = u_lighting ? vec4(0.0, 0.0, 0.0, colour.a) : colour;
    v_texcoord = a_texcoord;
}
)";

// Stage 0 of the texture blending cascade. Argument codes are D3DTA_*
// (DIFFUSE 0, CURRENT 1, TEXTURE 2; at stage 0 CURRENT is the diffuse
// colour), operations D3DTOP_* (DISABLE 1, SELECTARG1 2, SELECTARG2 3,
// MODULATE 4). Alpha follows Direct3D's default alpha stage: the texture's.
// A stage without a texture passes the diffuse colour on, whatever its
// operation: the viewer draws its coloured lines and untextured surfaces
// with the stage still set to "texture alone", and they must keep their
// vertex colours rather than turn white on the white background.
const char* const kFragmentSource = R"(#version 330 core
in vec4 v_diffuse;
in vec2 v_texcoord;
uniform sampler2D u_texture;
uniform bool u_hasTexture;
uniform int u_colorOp;
uniform int u_colorArg1;
uniform int u_colorArg2;
out vec4 o_colour;
vec3 argument(int code, vec4 texel) {
    return (code & 15) == 2 ? texel.rgb : v_diffuse.rgb;
}
void main() {
    if (u_colorOp == 1 || !u_hasTexture) {
        o_colour = v_diffuse;
        return;
    }
    vec4 texel = texture(u_texture, v_texcoord);
    vec3 a1 = argument(u_colorArg1, texel);
    vec3 a2 = argument(u_colorArg2, texel);
    vec3 rgb = u_colorOp == 2 ? a1 : (u_colorOp == 3 ? a2 : a1 * a2);
    o_colour = vec4(rgb, texel.a);
}
)";

GLuint compile(const GlFunctions& gl, GLenum type, const char* source) {
    GLuint shader = gl.CreateShader(type);
    if (shader == 0) {
        return 0;
    }
    gl.ShaderSource(shader, 1, &source, nullptr);
    gl.CompileShader(shader);
    GLint ok = GL_FALSE;
    gl.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        gl.DeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

bool GlProgram::build(const GlFunctions& gl) {
    GLuint vs = compile(gl, GL_VERTEX_SHADER, kVertexSource);
    GLuint fs = compile(gl, GL_FRAGMENT_SHADER, kFragmentSource);
    GLuint linked = 0;
    if (vs != 0 && fs != 0) {
        linked = gl.CreateProgram();
        gl.AttachShader(linked, vs);
        gl.AttachShader(linked, fs);
        gl.LinkProgram(linked);
        GLint ok = GL_FALSE;
        gl.GetProgramiv(linked, GL_LINK_STATUS, &ok);
        if (ok != GL_TRUE) {
            gl.DeleteProgram(linked);
            linked = 0;
        }
    }
    if (vs != 0) {
        gl.DeleteShader(vs);
    }
    if (fs != 0) {
        gl.DeleteShader(fs);
    }
    if (linked == 0) {
        return false;
    }
    program = linked;
    transform = gl.GetUniformLocation(program, "u_transform");
    lighting = gl.GetUniformLocation(program, "u_lighting");
    hasTexture = gl.GetUniformLocation(program, "u_hasTexture");
    sampler = gl.GetUniformLocation(program, "u_texture");
    colorOp = gl.GetUniformLocation(program, "u_colorOp");
    colorArg1 = gl.GetUniformLocation(program, "u_colorArg1");
    colorArg2 = gl.GetUniformLocation(program, "u_colorArg2");
    return true;
}

void GlProgram::destroy(const GlFunctions& gl) {
    if (program != 0) {
        gl.DeleteProgram(program);
        program = 0;
    }
}
