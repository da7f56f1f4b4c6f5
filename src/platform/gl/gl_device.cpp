#include "platform/gl/gl_device.h"

#include <new>
#include <utility>

namespace {

D3DMATRIX identity() {
    D3DMATRIX m{};
    for (int i = 0; i < 4; ++i) {
        m.m[i][i] = 1.0f;
    }
    return m;
}

template <class T>
void releaseAndClear(T*& p) {
    if (p != nullptr) {
        p->Release();
        p = nullptr;
    }
}

}  // namespace

GlDevice::GlDevice(IDirect3D8* parent, GlContextRef context) : parent_(parent), context_(std::move(context)) {
    if (parent_ != nullptr) {
        parent_->AddRef();
    }
}

GlDevice* GlDevice::create(IDirect3D8* parent, HWND window, const D3DPRESENT_PARAMETERS& params) {
    GlContextRef context;
    try {
        context = std::make_shared<GlContext>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    context->window = window;
    GlSurface* surface = context->surface();
    if (surface == nullptr || !surface->makeCurrent() || !context->gl.load(*surface)) {
        return nullptr;
    }
    auto* device = new (std::nothrow) GlDevice(parent, std::move(context));
    if (device != nullptr && !device->initialise(params)) {
        device->Release();
        device = nullptr;
    }
    return device;
}

bool GlDevice::initialise(const D3DPRESENT_PARAMETERS& params) {
    const GlFunctions& gl = context_->gl;
    if (!program_.build(gl)) {
        return false;
    }
    gl.GenVertexArrays(1, &vertexArray_);
    resetState(params);
    return vertexArray_ != 0;
}

GlDevice::~GlDevice() {
    for (auto& texture : textures_) {
        releaseAndClear(texture);
    }
    releaseAndClear(stream_);
    releaseAndClear(indices_);
    if (context_->makeCurrent()) {
        const GlFunctions& gl = context_->gl;
        if (vertexArray_ != 0) {
            gl.DeleteVertexArrays(1, &vertexArray_);
        }
        program_.destroy(gl);
    }
    context_->alive = false;
    if (parent_ != nullptr) {
        parent_->Release();
    }
}

// Direct3D 8's state after creation and after every Reset.
void GlDevice::resetState(const D3DPRESENT_PARAMETERS& params) {
    world_ = view_ = projection_ = identity();
    zEnable_ = params.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    cullMode_ = D3DCULL_CCW;
    lighting_ = TRUE;
    colorOp_.fill(D3DTOP_DISABLE);
    colorArg1_.fill(D3DTA_TEXTURE);
    colorArg2_.fill(D3DTA_CURRENT);
    colorOp_[0] = D3DTOP_MODULATE;
    for (auto& texture : textures_) {
        releaseAndClear(texture);
    }
    releaseAndClear(stream_);
    releaseAndClear(indices_);
    streamStride_ = 0;
    baseVertex_ = 0;
    fvf_ = 0;
    inScene_ = false;
    takeBackBufferSize(params);
}

void GlDevice::takeBackBufferSize(const D3DPRESENT_PARAMETERS& params) {
    backBufferWidth_ = params.BackBufferWidth;
    backBufferHeight_ = params.BackBufferHeight;
    // A zero size means the window's size, as in windowed Direct3D.
    if (backBufferWidth_ == 0 || backBufferHeight_ == 0) {
        UINT w = 0;
        UINT h = 0;
        if (GlSurface* surface = context_->surface()) {
            surface->pixelSize(&w, &h);
        }
        backBufferWidth_ = backBufferWidth_ == 0 ? w : backBufferWidth_;
        backBufferHeight_ = backBufferHeight_ == 0 ? h : backBufferHeight_;
    }
}

GlSurface* GlDevice::currentSurface() {
    GlSurface* surface = context_->surface();
    if (surface == nullptr || !surface->makeCurrent()) {
        lost_ = true;
        return nullptr;
    }
    return surface;
}

void GlDevice::bindTarget(GlSurface& surface) {
    const GlFunctions& gl = context_->gl;
    gl.BindFramebuffer(GL_FRAMEBUFFER, surface.framebuffer());
    // The back buffer fills the surface, as Present stretches it onto the
    // window in Direct3D.
    UINT w = 0;
    UINT h = 0;
    surface.pixelSize(&w, &h);
    if (w == 0 || h == 0) {
        w = backBufferWidth_;
        h = backBufferHeight_;
    }
    gl.Viewport(0, 0, static_cast<GLsizei>(w), static_cast<GLsizei>(h));
    gl.Disable(GL_BLEND);
    gl.Disable(GL_SCISSOR_TEST);
    gl.Disable(GL_STENCIL_TEST);
    gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.DepthMask(GL_TRUE);
    gl.DepthFunc(GL_LEQUAL);
    gl.PolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

HRESULT GlDevice::TestCooperativeLevel() {
    if (currentSurface() == nullptr) {
        return D3DERR_DEVICELOST;
    }
    return lost_ ? D3DERR_DEVICENOTRESET : D3D_OK;
}

HRESULT GlDevice::Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) {
    if (pPresentationParameters == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (currentSurface() == nullptr) {
        return D3DERR_DEVICELOST;
    }
    lost_ = false;
    resetState(*pPresentationParameters);
    return D3D_OK;
}

HRESULT GlDevice::Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                          const RGNDATA* pDirtyRegion) {
    (void)pSourceRect;
    (void)pDestRect;
    (void)hDestWindowOverride;
    (void)pDirtyRegion;
    if (lost_) {
        return D3DERR_DEVICELOST;
    }
    GlSurface* surface = currentSurface();
    if (surface == nullptr) {
        return D3DERR_DEVICELOST;
    }
    surface->swapBuffers();
    return D3D_OK;
}

HRESULT GlDevice::BeginScene() {
    if (inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = true;
    // A lost device accepts the frame and draws nothing, as Direct3D does.
    if (!lost_) {
        if (GlSurface* surface = currentSurface()) {
            bindTarget(*surface);
        }
    }
    return D3D_OK;
}

HRESULT GlDevice::EndScene() {
    if (!inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = false;
    if (!lost_) {
        context_->gl.Flush();
    }
    return D3D_OK;
}

HRESULT GlDevice::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) {
    if ((Count != 0 && pRects == nullptr) || Flags == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (lost_) {
        return D3D_OK;
    }
    GlSurface* surface = currentSurface();
    if (surface == nullptr) {
        return D3D_OK;
    }
    bindTarget(*surface);
    const GlFunctions& gl = context_->gl;
    GLbitfield mask = 0;
    if ((Flags & D3DCLEAR_TARGET) != 0) {
        gl.ClearColor(static_cast<float>((Color >> 16) & 0xFF) / 255.0f,
                      static_cast<float>((Color >> 8) & 0xFF) / 255.0f, static_cast<float>(Color & 0xFF) / 255.0f,
                      static_cast<float>((Color >> 24) & 0xFF) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((Flags & D3DCLEAR_ZBUFFER) != 0) {
        gl.ClearDepth(Z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if ((Flags & D3DCLEAR_STENCIL) != 0) {
        gl.StencilMask(0xFFFFFFFFu);
        gl.ClearStencil(static_cast<GLint>(Stencil));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    if (Count == 0) {
        gl.Clear(mask);
        return D3D_OK;
    }
    // Rectangles are in back-buffer pixels from the top left; OpenGL counts
    // rows from the bottom.
    gl.Enable(GL_SCISSOR_TEST);
    for (DWORD i = 0; i < Count; ++i) {
        const D3DRECT& r = pRects[i];
        if (r.x2 <= r.x1 || r.y2 <= r.y1) {
            continue;
        }
        gl.Scissor(r.x1, static_cast<GLint>(backBufferHeight_) - r.y2, r.x2 - r.x1, r.y2 - r.y1);
        gl.Clear(mask);
    }
    gl.Disable(GL_SCISSOR_TEST);
    return D3D_OK;
}

HRESULT GlDevice::GetViewport(D3DVIEWPORT8* pViewport) {
    if (pViewport == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *pViewport = D3DVIEWPORT8{0, 0, backBufferWidth_, backBufferHeight_, 0.0f, 1.0f};
    return D3D_OK;
}
