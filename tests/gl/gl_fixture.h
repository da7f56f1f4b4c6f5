// Shared fixture for the OpenGL device tests: a 500 × 500 offscreen surface,
// the Direct3D object and a device on it, and helpers to draw vertex lists.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/qt/qt_offscreen_surface.h"
#include "platform/d3d8/d3d8.h"

using qtshell::OffscreenSurface;

struct ColourVertex {
    float x, y, z;
    D3DCOLOR colour;
};
static_assert(sizeof(ColourVertex) == 16);

struct TexVertex {
    float x, y, z;
    D3DCOLOR colour;
    float u, v;
};
static_assert(sizeof(TexVertex) == 24);

constexpr DWORD kColourFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;
constexpr DWORD kTexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr int kSize = 500;

class GlDeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    D3DPRESENT_PARAMETERS presentParameters(UINT width, UINT height) const;

    template <class V>
    IDirect3DVertexBuffer8* makeBuffer(const std::vector<V>& vertices, DWORD fvf);
    IDirect3DIndexBuffer8* makeIndices(const std::vector<WORD>& indices);

    // Clears target and depth buffer and begins the scene.
    void begin(D3DCOLOR colour = 0xFFFFFFFF);
    // Ends the scene and presents.
    void end();
    // Draws vertices with DrawPrimitive through a temporary buffer.
    template <class V>
    HRESULT draw(const std::vector<V>& vertices, D3DPRIMITIVETYPE type, DWORD fvf);

    QRgb at(int x, int y) { return surface_->pixel(x, y); }

    std::unique_ptr<OffscreenSurface> surface_;
    IDirect3D8* d3d_ = nullptr;
    IDirect3DDevice8* device_ = nullptr;
};

// A triangle around (cx, cy) in clip space with identity transforms; its
// winding as seen on screen is clockwise or counter-clockwise.
std::vector<ColourVertex> triangle(float cx, float cy, float half, float z, D3DCOLOR colour, bool clockwise);
// Two triangles covering the rectangle, clockwise on screen, u and v from
// 0 at the top left to uMax / vMax at the bottom right.
std::vector<TexVertex> quad(float x0, float y0, float x1, float y1, D3DCOLOR colour, float uMax = 1.0f,
                            float vMax = 1.0f);

// Per channel within tolerance (alpha ignored).
::testing::AssertionResult sameColour(QRgb got, QRgb want, int tolerance = 2);

template <class V>
IDirect3DVertexBuffer8* GlDeviceTest::makeBuffer(const std::vector<V>& vertices, DWORD fvf) {
    IDirect3DVertexBuffer8* vb = nullptr;
    const auto bytes = static_cast<UINT>(vertices.size() * sizeof(V));
    if (FAILED(device_->CreateVertexBuffer(bytes, 0, fvf, D3DPOOL_MANAGED, &vb))) {
        return nullptr;
    }
    BYTE* data = nullptr;
    if (SUCCEEDED(vb->Lock(0, 0, &data, 0))) {
        std::memcpy(data, vertices.data(), bytes);
        vb->Unlock();
    }
    return vb;
}

template <class V>
HRESULT GlDeviceTest::draw(const std::vector<V>& vertices, D3DPRIMITIVETYPE type, DWORD fvf) {
    IDirect3DVertexBuffer8* vb = makeBuffer(vertices, fvf);
    if (vb == nullptr) {
        return E_FAIL;
    }
    device_->SetStreamSource(0, vb, sizeof(V));
    device_->SetVertexShader(fvf);
    const UINT perPrimitive = type == D3DPT_LINELIST ? 2 : 3;
    const HRESULT hr = device_->DrawPrimitive(type, 0, static_cast<UINT>(vertices.size()) / perPrimitive);
    device_->SetStreamSource(0, nullptr, 0);
    vb->Release();
    return hr;
}
