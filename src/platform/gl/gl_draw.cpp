// Draw calls of the OpenGL device: check the ranges against the buffers
// (a draw reading past a buffer is refused, never sent to the driver), then
// apply the recorded Direct3D state and draw.
#include <cstdint>

#include "platform/gl/gl_device.h"
#include "platform/gl/gl_vertex_layout.h"

namespace {

// clip = v · World · View · Projection, all row-major.
D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[i][k] * b.m[k][j];
            }
            r.m[i][j] = sum;
        }
    }
    return r;
}

// OpenGL mode and vertex count for a primitive type and count; false for
// types the device does not draw.
bool primitive(D3DPRIMITIVETYPE type, UINT count, GLenum* mode, std::uint64_t* vertices) {
    switch (type) {
        case D3DPT_POINTLIST: *mode = GL_POINTS; *vertices = count; return true;
        case D3DPT_LINELIST: *mode = GL_LINES; *vertices = 2ull * count; return true;
        case D3DPT_LINESTRIP: *mode = GL_LINE_STRIP; *vertices = count + 1ull; return true;
        case D3DPT_TRIANGLELIST: *mode = GL_TRIANGLES; *vertices = 3ull * count; return true;
        default: return false;
    }
}

const void* byteOffset(std::uint64_t offset) { return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(offset)); }

}  // namespace

HRESULT GlDevice::prepareDraw(UINT firstVertex, UINT vertexCount) {
    const GlVertexLayout layout = glVertexLayout(fvf_);
    if (stream_ == nullptr || !layout.valid || streamStride_ < layout.size) {
        return D3DERR_INVALIDCALL;
    }
    const std::uint64_t end =
        (static_cast<std::uint64_t>(firstVertex) + vertexCount - 1) * streamStride_ + layout.size;
    if (vertexCount == 0 || end > stream_->store().length()) {
        return D3DERR_INVALIDCALL;
    }
    const GlFunctions& gl = context_->gl;
    gl.UseProgram(program_.program);
    const D3DMATRIX transform = multiply(multiply(world_, view_), projection_);
    gl.UniformMatrix4fv(program_.transform, 1, GL_FALSE, &transform.m[0][0]);
    gl.Uniform1i(program_.lighting, lighting_ != FALSE ? 1 : 0);
    gl.Uniform1i(program_.colorOp, static_cast<GLint>(colorOp_[0]));
    gl.Uniform1i(program_.colorArg1, static_cast<GLint>(colorArg1_[0]));
    gl.Uniform1i(program_.colorArg2, static_cast<GLint>(colorArg2_[0]));
    gl.Uniform1i(program_.sampler, 0);
    gl.ActiveTexture(GL_TEXTURE0);
    if (textures_[0] != nullptr) {
        textures_[0]->bind();
        gl.Uniform1i(program_.hasTexture, 1);
    } else {
        gl.BindTexture(GL_TEXTURE_2D, 0);
        gl.Uniform1i(program_.hasTexture, 0);
    }

    if (zEnable_ != D3DZB_FALSE) {
        gl.Enable(GL_DEPTH_TEST);
    } else {
        gl.Disable(GL_DEPTH_TEST);
    }
    // Direct3D names the winding that is culled as seen on screen; OpenGL's
    // window coordinates keep that winding, so CCW triangles are OpenGL's
    // front faces.
    if (cullMode_ == D3DCULL_CW || cullMode_ == D3DCULL_CCW) {
        gl.Enable(GL_CULL_FACE);
        gl.FrontFace(GL_CCW);
        gl.CullFace(cullMode_ == D3DCULL_CCW ? GL_FRONT : GL_BACK);
    } else {
        gl.Disable(GL_CULL_FACE);
    }

    gl.BindVertexArray(vertexArray_);
    stream_->store().bind(GL_ARRAY_BUFFER);
    const auto stride = static_cast<GLsizei>(streamStride_);
    gl.EnableVertexAttribArray(kGlAttribPosition);
    gl.VertexAttribPointer(kGlAttribPosition, 3, GL_FLOAT, GL_FALSE, stride, byteOffset(0));
    if (layout.diffuse >= 0) {
        gl.EnableVertexAttribArray(kGlAttribDiffuse);
        gl.VertexAttribPointer(kGlAttribDiffuse, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                               byteOffset(static_cast<std::uint64_t>(layout.diffuse)));
    } else {
        // No colour in the vertices: Direct3D uses opaque white.
        gl.DisableVertexAttribArray(kGlAttribDiffuse);
        gl.VertexAttrib4f(kGlAttribDiffuse, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (layout.texCoord >= 0) {
        gl.EnableVertexAttribArray(kGlAttribTexCoord);
        gl.VertexAttribPointer(kGlAttribTexCoord, 2, GL_FLOAT, GL_FALSE, stride,
                               byteOffset(static_cast<std::uint64_t>(layout.texCoord)));
    } else {
        gl.DisableVertexAttribArray(kGlAttribTexCoord);
        gl.VertexAttrib4f(kGlAttribTexCoord, 0.0f, 0.0f, 0.0f, 1.0f);
    }
    return D3D_OK;
}

HRESULT GlDevice::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) {
    GLenum mode = 0;
    std::uint64_t vertices = 0;
    if (!primitive(PrimitiveType, PrimitiveCount, &mode, &vertices) || vertices > 0x7FFFFFFFu) {
        return D3DERR_INVALIDCALL;
    }
    if (PrimitiveCount == 0 || lost_) {
        return D3D_OK;
    }
    const HRESULT hr = prepareDraw(StartVertex, static_cast<UINT>(vertices));
    if (FAILED(hr)) {
        return hr;
    }
    context_->gl.DrawArrays(mode, static_cast<GLint>(StartVertex), static_cast<GLsizei>(vertices));
    return D3D_OK;
}

HRESULT GlDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT minIndex, UINT NumVertices,
                                       UINT startIndex, UINT primCount) {
    (void)minIndex;
    (void)NumVertices;
    GLenum mode = 0;
    std::uint64_t count = 0;
    if (!primitive(PrimitiveType, primCount, &mode, &count) || count > 0x7FFFFFFFu || indices_ == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (static_cast<std::uint64_t>(startIndex) + count > indices_->indexCount()) {
        return D3DERR_INVALIDCALL;
    }
    if (primCount == 0 || lost_) {
        return D3D_OK;
    }
    // Every index, moved by the base vertex, must name a vertex in the stream.
    const std::uint64_t last =
        static_cast<std::uint64_t>(baseVertex_) + indices_->maxIndex(startIndex, static_cast<UINT>(count));
    if (last > 0x7FFFFFFFu) {
        return D3DERR_INVALIDCALL;
    }
    const HRESULT hr = prepareDraw(0, static_cast<UINT>(last) + 1);
    if (FAILED(hr)) {
        return hr;
    }
    indices_->store().bind(GL_ELEMENT_ARRAY_BUFFER);
    const UINT size = indices_->indexSize();
    context_->gl.DrawElementsBaseVertex(mode, static_cast<GLsizei>(count),
                                        size == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                                        byteOffset(static_cast<std::uint64_t>(startIndex) * size),
                                        static_cast<GLint>(baseVertex_));
    return D3D_OK;
}
