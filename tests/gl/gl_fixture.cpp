#include "gl_fixture.h"

#include <cstdlib>

#include "platform/gl/gl_direct3d.h"

void GlDeviceTest::SetUp() {
    surface_ = std::make_unique<OffscreenSurface>(kSize, kSize);
    ASSERT_TRUE(surface_->valid()) << "no OpenGL 3.3 core offscreen surface";
    OffscreenSurface::install(surface_.get());
    d3d_ = createGlDirect3D();
    ASSERT_NE(d3d_, nullptr);
    D3DPRESENT_PARAMETERS params = presentParameters(kSize, kSize);
    ASSERT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, OffscreenSurface::window(),
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device_),
              D3D_OK);
    ASSERT_NE(device_, nullptr);
}

void GlDeviceTest::TearDown() {
    if (device_ != nullptr) {
        EXPECT_EQ(device_->Release(), 0u);
    }
    if (d3d_ != nullptr) {
        EXPECT_EQ(d3d_->Release(), 0u);
    }
    OffscreenSurface::install(nullptr);
    surface_.reset();
}

D3DPRESENT_PARAMETERS GlDeviceTest::presentParameters(UINT width, UINT height) const {
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = width;
    p.BackBufferHeight = height;
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.BackBufferCount = 1;
    p.SwapEffect = D3DSWAPEFFECT_DISCARD;
    p.hDeviceWindow = OffscreenSurface::window();
    p.Windowed = TRUE;
    p.EnableAutoDepthStencil = TRUE;
    p.AutoDepthStencilFormat = D3DFMT_D16;
    return p;
}

IDirect3DIndexBuffer8* GlDeviceTest::makeIndices(const std::vector<WORD>& indices) {
    IDirect3DIndexBuffer8* ib = nullptr;
    const auto bytes = static_cast<UINT>(indices.size() * sizeof(WORD));
    if (FAILED(device_->CreateIndexBuffer(bytes, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib))) {
        return nullptr;
    }
    BYTE* data = nullptr;
    if (SUCCEEDED(ib->Lock(0, 0, &data, 0))) {
        std::memcpy(data, indices.data(), bytes);
        ib->Unlock();
    }
    return ib;
}

void GlDeviceTest::begin(D3DCOLOR colour) {
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
}

void GlDeviceTest::end() {
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

std::vector<ColourVertex> triangle(float cx, float cy, float half, float z, D3DCOLOR colour, bool clockwise) {
    ColourVertex left{cx - half, cy - half, z, colour};
    ColourVertex top{cx, cy + half, z, colour};
    ColourVertex right{cx + half, cy - half, z, colour};
    // Clip-space y points up on screen: left, top, right turns clockwise.
    if (clockwise) {
        return {left, top, right};
    }
    return {left, right, top};
}

std::vector<TexVertex> quad(float x0, float y0, float x1, float y1, D3DCOLOR colour, float uMax, float vMax) {
    // (x0, y0) is the top left corner in clip space, so y0 > y1.
    TexVertex tl{x0, y0, 0.5f, colour, 0.0f, 0.0f};
    TexVertex tr{x1, y0, 0.5f, colour, uMax, 0.0f};
    TexVertex bl{x0, y1, 0.5f, colour, 0.0f, vMax};
    TexVertex br{x1, y1, 0.5f, colour, uMax, vMax};
    return {tl, tr, br, tl, br, bl};
}

::testing::AssertionResult sameColour(QRgb got, QRgb want, int tolerance) {
    const bool same = std::abs(qRed(got) - qRed(want)) <= tolerance &&
                      std::abs(qGreen(got) - qGreen(want)) <= tolerance &&
                      std::abs(qBlue(got) - qBlue(want)) <= tolerance;
    if (same) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got " << std::hex << (got & 0xFFFFFFu) << ", want "
                                         << (want & 0xFFFFFFu);
}
