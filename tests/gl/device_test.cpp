// Creation, lifecycle and failure results of the OpenGL device.
#include "failing_new.h"
#include "gl_fixture.h"
#include "platform/gl/gl_direct3d.h"

namespace {

TEST(GlDirect3D, ReportsADisplayModeAndRefusesAWindowWithoutSurface) {
    IDirect3D8* d3d = createGlDirect3D();
    ASSERT_NE(d3d, nullptr);
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_GT(mode.Width, 0u);
    EXPECT_GT(mode.Height, 0u);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);

    OffscreenSurface::install(nullptr);
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = TRUE;
    IDirect3DDevice8* device = reinterpret_cast<IDirect3DDevice8*>(&params);
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, OffscreenSurface::window(),
                                D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(d3d->Release(), 0u);
}

TEST_F(GlDeviceTest, EmptyResourcesAreRefusedAsDirect3DDoes) {
    IDirect3DVertexBuffer8* vb = nullptr;
    IDirect3DIndexBuffer8* ib = nullptr;
    IDirect3DTexture8* tex = nullptr;
    EXPECT_EQ(device_->CreateVertexBuffer(0, 0, kColourFvf, D3DPOOL_MANAGED, &vb), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateIndexBuffer(0, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateTexture(0, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateTexture(16, 0, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3DERR_INVALIDCALL);
    EXPECT_EQ(vb, nullptr);
    EXPECT_EQ(ib, nullptr);
    EXPECT_EQ(tex, nullptr);
}

// The CPU copies are the device's only large allocations: creation that
// cannot get them is E_OUTOFMEMORY with nothing handed out, and the device
// goes on drawing.
TEST_F(GlDeviceTest, CreationWithoutMemoryReportsOutOfMemory) {
    auto* vb = reinterpret_cast<IDirect3DVertexBuffer8*>(this);
    auto* ib = reinterpret_cast<IDirect3DIndexBuffer8*>(this);
    auto* tex = reinterpret_cast<IDirect3DTexture8*>(this);
    {
        testing_support::FailingNew refuse(1u << 20);
        EXPECT_EQ(device_->CreateVertexBuffer(4u << 20, 0, kColourFvf, D3DPOOL_MANAGED, &vb), E_OUTOFMEMORY);
        EXPECT_EQ(device_->CreateIndexBuffer(4u << 20, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib), E_OUTOFMEMORY);
        EXPECT_EQ(device_->CreateTexture(1024, 1024, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), E_OUTOFMEMORY);
        EXPECT_EQ(refuse.refused(), 3u);
    }
    EXPECT_EQ(vb, nullptr);
    EXPECT_EQ(ib, nullptr);
    EXPECT_EQ(tex, nullptr);
    begin();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    EXPECT_EQ(draw(triangle(0, 0, 0.5f, 0.5f, 0xFFFF0000, true), D3DPT_TRIANGLELIST, kColourFvf), D3D_OK);
    end();
    EXPECT_TRUE(sameColour(at(kSize / 2, kSize / 2), qRgb(255, 0, 0)));
}

TEST_F(GlDeviceTest, BufferLocksStayInsideTheBuffer) {
    IDirect3DVertexBuffer8* vb = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(64, 0, kColourFvf, D3DPOOL_MANAGED, &vb), D3D_OK);
    BYTE* data = nullptr;
    EXPECT_EQ(vb->Lock(0, 0, &data, 0), D3D_OK);
    EXPECT_NE(data, nullptr);
    EXPECT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL);  // not locked
    EXPECT_EQ(vb->Lock(48, 16, &data, 0), D3D_OK);
    vb->Unlock();
    EXPECT_EQ(vb->Lock(48, 17, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(vb->Lock(65, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(vb->AddRef(), 2u);
    EXPECT_EQ(vb->Release(), 1u);
    EXPECT_EQ(vb->Release(), 0u);
}

TEST_F(GlDeviceTest, DrawsThatReadPastTheBuffersAreRefused) {
    const auto tri = triangle(0, 0, 0.5f, 0.5f, 0xFFFF0000, true);
    IDirect3DVertexBuffer8* vb = makeBuffer(tri, kColourFvf);
    ASSERT_NE(vb, nullptr);
    IDirect3DIndexBuffer8* ib = makeIndices({0, 1, 2, 0, 1, 3});
    ASSERT_NE(ib, nullptr);
    begin();
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);  // no stream yet
    device_->SetStreamSource(0, vb, sizeof(ColourVertex));
    device_->SetVertexShader(kColourFvf);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 1), D3DERR_INVALIDCALL);  // no indices
    device_->SetIndices(ib, 0);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 1), D3D_OK);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 3, 1), D3DERR_INVALIDCALL);  // index 3
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 3, 2), D3DERR_INVALIDCALL);  // past end
    device_->SetIndices(ib, 1);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 1), D3DERR_INVALIDCALL);  // 2 + 1
    end();
    device_->SetIndices(nullptr, 0);
    device_->SetStreamSource(0, nullptr, 0);
    EXPECT_EQ(vb->Release(), 0u);
    EXPECT_EQ(ib->Release(), 0u);
}

TEST_F(GlDeviceTest, ViewportFollowsTheBackBufferAcrossReset) {
    D3DVIEWPORT8 vp{};
    ASSERT_EQ(device_->GetViewport(&vp), D3D_OK);
    EXPECT_EQ(vp.X, 0u);
    EXPECT_EQ(vp.Y, 0u);
    EXPECT_EQ(vp.Width, 500u);
    EXPECT_EQ(vp.Height, 500u);
    EXPECT_EQ(vp.MinZ, 0.0f);
    EXPECT_EQ(vp.MaxZ, 1.0f);
    D3DPRESENT_PARAMETERS params = presentParameters(320, 200);
    ASSERT_EQ(device_->Reset(&params), D3D_OK);
    ASSERT_EQ(device_->GetViewport(&vp), D3D_OK);
    EXPECT_EQ(vp.Width, 320u);
    EXPECT_EQ(vp.Height, 200u);
    params = presentParameters(0, 0);  // zero: the surface's size
    ASSERT_EQ(device_->Reset(&params), D3D_OK);
    ASSERT_EQ(device_->GetViewport(&vp), D3D_OK);
    EXPECT_EQ(vp.Width, 500u);
    EXPECT_EQ(vp.Height, 500u);
}

TEST_F(GlDeviceTest, ALostSurfaceLosesTheDeviceUntilReset) {
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(surface_->swaps(), 1);

    surface_->setGone(true);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    D3DPRESENT_PARAMETERS params = presentParameters(kSize, kSize);
    EXPECT_EQ(device_->Reset(&params), D3DERR_DEVICELOST);
    // A lost device still takes a frame and draws nothing.
    EXPECT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    EXPECT_EQ(device_->EndScene(), D3D_OK);

    surface_->setGone(false);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device_->Reset(&params), D3D_OK);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(surface_->swaps(), 1);
}

}  // namespace
