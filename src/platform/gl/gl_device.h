// The Direct3D 8 device on an OpenGL 3.3 core context. It keeps the render,
// transform and texture stage state that the viewer sets and applies it at
// each draw through one shader pair, so the picture is the one Direct3D 8's
// fixed-function pipeline gives for those states.
#pragma once

#include <array>

#include "platform/d3d8/d3d8.h"
#include "platform/gl/gl_buffers.h"
#include "platform/gl/gl_context.h"
#include "platform/gl/gl_shaders.h"
#include "platform/gl/gl_texture.h"

class GlDevice final : public GlRefCounted<IDirect3DDevice8> {
public:
    // Builds the device on the window's surface; null when the surface has
    // no usable OpenGL 3.3 core context. Holds a reference to parent.
    static GlDevice* create(IDirect3D8* parent, HWND window, const D3DPRESENT_PARAMETERS& params);
    ~GlDevice() override;

    HRESULT TestCooperativeLevel() override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) override;
    HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                    const RGNDATA* pDirtyRegion) override;
    HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                          IDirect3DTexture8** ppTexture) override;
    HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                               IDirect3DVertexBuffer8** ppVertexBuffer) override;
    HRESULT CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                              IDirect3DIndexBuffer8** ppIndexBuffer) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) override;
    HRESULT GetViewport(D3DVIEWPORT8* pViewport) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture8* pTexture) override;
    HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT minIndex, UINT NumVertices, UINT startIndex,
                                 UINT primCount) override;
    HRESULT SetVertexShader(DWORD Handle) override;
    HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8* pStreamData, UINT Stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer8* pIndexData, UINT BaseVertexIndex) override;

    static constexpr DWORD kStages = 8;

private:
    GlDevice(IDirect3D8* parent, GlContextRef context);
    bool initialise(const D3DPRESENT_PARAMETERS& params);
    void resetState(const D3DPRESENT_PARAMETERS& params);
    void takeBackBufferSize(const D3DPRESENT_PARAMETERS& params);
    // The surface with its context current; null (and the device marked
    // lost) when the surface is gone.
    GlSurface* currentSurface();
    // Binds the surface's framebuffer and viewport and puts back the fixed
    // state other users of the context may have changed.
    void bindTarget(GlSurface& surface);
    // Checks that vertexCount vertices from firstVertex lie in the stream
    // and applies render state, stage state and the vertex layout. Returns
    // D3D_OK when the draw may go ahead.
    HRESULT prepareDraw(UINT firstVertex, UINT vertexCount);

    IDirect3D8* parent_;
    GlContextRef context_;
    GlProgram program_;
    GLuint vertexArray_ = 0;
    // Set when the surface could not be made current; cleared by Reset.
    bool lost_ = false;
    bool inScene_ = false;
    UINT backBufferWidth_ = 0;
    UINT backBufferHeight_ = 0;

    // Direct3D 8 state as set through the device.
    D3DMATRIX world_{};
    D3DMATRIX view_{};
    D3DMATRIX projection_{};
    DWORD zEnable_ = D3DZB_TRUE;
    DWORD cullMode_ = D3DCULL_CCW;
    DWORD lighting_ = TRUE;
    std::array<DWORD, kStages> colorOp_{};
    std::array<DWORD, kStages> colorArg1_{};
    std::array<DWORD, kStages> colorArg2_{};
    std::array<GlTexture*, kStages> textures_{};
    GlVertexBuffer* stream_ = nullptr;
    UINT streamStride_ = 0;
    DWORD fvf_ = 0;
    GlIndexBuffer* indices_ = nullptr;
    UINT baseVertex_ = 0;
};
