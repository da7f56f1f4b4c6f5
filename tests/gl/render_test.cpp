// Pixels the OpenGL device draws for the Direct3D states the viewer uses.
#include <cmath>

#include "gl_fixture.h"
#include "platform/d3d8/d3dx8.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

TEST_F(GlDeviceTest, ClearUsesTheArgbColour) {
    begin(0xFF204080);
    end();
    EXPECT_TRUE(sameColour(at(0, 0), qRgb(0x20, 0x40, 0x80)));
    EXPECT_TRUE(sameColour(at(499, 499), qRgb(0x20, 0x40, 0x80)));
}

TEST_F(GlDeviceTest, LightingOffShowsTheDiffuseColourAndOnGivesBlack) {
    // Bytes B, G, R, A: 0xFF20C040 is red 0x20, green 0xC0, blue 0x40.
    begin();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    ASSERT_EQ(draw(triangle(-0.5f, 0.0f, 0.3f, 0.5f, 0xFF20C040, true), D3DPT_TRIANGLELIST, kColourFvf), D3D_OK);
    device_->SetRenderState(D3DRS_LIGHTING, TRUE);
    ASSERT_EQ(draw(triangle(0.5f, 0.0f, 0.3f, 0.5f, 0xFF20C040, true), D3DPT_TRIANGLELIST, kColourFvf), D3D_OK);
    end();
    EXPECT_TRUE(sameColour(at(125, 250), qRgb(0x20, 0xC0, 0x40)));
    EXPECT_TRUE(sameColour(at(375, 250), kBlack));
    EXPECT_TRUE(sameColour(at(250, 250), kWhite));
}

TEST_F(GlDeviceTest, LightingIsOnByDefault) {
    begin();
    ASSERT_EQ(draw(triangle(0.0f, 0.0f, 0.5f, 0.5f, 0xFFFF0000, true), D3DPT_TRIANGLELIST, kColourFvf), D3D_OK);
    end();
    EXPECT_TRUE(sameColour(at(250, 250), kBlack));
}

struct CullCase {
    DWORD mode;  // 0: the device default
    bool clockwiseShown;
    bool counterClockwiseShown;
};

class CullTest : public GlDeviceTest, public ::testing::WithParamInterface<CullCase> {};

TEST_P(CullTest, CullsTheWindingSeenOnScreen) {
    begin();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    if (GetParam().mode != 0) {
        device_->SetRenderState(D3DRS_CULLMODE, GetParam().mode);
    }
    draw(triangle(-0.5f, 0.0f, 0.3f, 0.5f, 0xFFFF0000, true), D3DPT_TRIANGLELIST, kColourFvf);
    draw(triangle(0.5f, 0.0f, 0.3f, 0.5f, 0xFF0000FF, false), D3DPT_TRIANGLELIST, kColourFvf);
    end();
    EXPECT_TRUE(sameColour(at(125, 250), GetParam().clockwiseShown ? qRgb(255, 0, 0) : kWhite));
    EXPECT_TRUE(sameColour(at(375, 250), GetParam().counterClockwiseShown ? qRgb(0, 0, 255) : kWhite));
}

INSTANTIATE_TEST_SUITE_P(Modes, CullTest,
                         ::testing::Values(CullCase{0, true, false}, CullCase{D3DCULL_CCW, true, false},
                                           CullCase{D3DCULL_CW, false, true}, CullCase{D3DCULL_NONE, true, true}));

TEST_F(GlDeviceTest, DepthTestFollowsZEnableAndDirect3DsDepthRange) {
    begin();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    // Depth test on (the default with an auto depth buffer): the near red
    // triangle hides the far blue one drawn after it.
    draw(triangle(-0.5f, 0.0f, 0.3f, 0.2f, 0xFFFF0000, true), D3DPT_TRIANGLELIST, kColourFvf);
    draw(triangle(-0.5f, 0.0f, 0.4f, 0.8f, 0xFF0000FF, true), D3DPT_TRIANGLELIST, kColourFvf);
    // Depth test off: the later, farther one wins.
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    draw(triangle(0.5f, 0.0f, 0.3f, 0.2f, 0xFFFF0000, true), D3DPT_TRIANGLELIST, kColourFvf);
    draw(triangle(0.5f, 0.0f, 0.4f, 0.8f, 0xFF0000FF, true), D3DPT_TRIANGLELIST, kColourFvf);
    // Direct3D clips z below 0 (OpenGL would keep z down to -w).
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    draw(triangle(0.0f, 0.6f, 0.2f, -0.5f, 0xFF00FF00, true), D3DPT_TRIANGLELIST, kColourFvf);
    end();
    EXPECT_TRUE(sameColour(at(125, 250), qRgb(255, 0, 0)));
    EXPECT_TRUE(sameColour(at(375, 250), qRgb(0, 0, 255)));
    EXPECT_TRUE(sameColour(at(250, 100), kWhite));
}

TEST_F(GlDeviceTest, RowVectorMatricesWithPerspective) {
    // World moves by (1, 0, 0) in the fourth row, the view by (0, 0, 4):
    // the point (0, 0, 1) lands at x = 1, z = 5 in view space, and the
    // π/4 perspective puts it at x_ndc = (1/tan(π/8)) / 5.
    D3DXMATRIX world;
    D3DXMATRIX view;
    D3DXMATRIX projection;
    D3DXMatrixTranslation(&world, 1.0f, 0.0f, 0.0f);
    D3DXMatrixTranslation(&view, 0.0f, 0.0f, 4.0f);
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 1.0f, 1.0f, 500.0f);
    begin();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetTransform(D3DTS_WORLD, &world);
    device_->SetTransform(D3DTS_VIEW, &view);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    draw(triangle(0.0f, 0.0f, 0.1f, 1.0f, 0xFF00FF00, true), D3DPT_TRIANGLELIST, kColourFvf);
    end();
    const float ndc = (1.0f / std::tan(0.7853982f / 2.0f)) / 5.0f;
    const int x = static_cast<int>(std::lround(250.0 + ndc * 250.0));
    EXPECT_TRUE(sameColour(at(x, 250), qRgb(0, 255, 0)));
    EXPECT_TRUE(sameColour(at(250, 250), kWhite));
    EXPECT_TRUE(sameColour(at(500 - x, 250), kWhite));
}

TEST_F(GlDeviceTest, LineListsAndIndexedDrawsWithABaseVertex) {
    begin();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    std::vector<ColourVertex> line{{-1.0f, 0.5f, 0.5f, 0xFFFF0000}, {1.0f, 0.5f, 0.5f, 0xFFFF0000}};
    ASSERT_EQ(draw(line, D3DPT_LINELIST, kColourFvf), D3D_OK);

    // Vertices 0..2 a red triangle on the left, 3..5 a blue one in the
    // lower middle; indices 0, 1, 2 with base vertex 3 draw the blue one.
    auto vertices = triangle(-0.6f, -0.5f, 0.2f, 0.5f, 0xFFFF0000, true);
    const auto blue = triangle(0.0f, -0.5f, 0.2f, 0.5f, 0xFF0000FF, true);
    vertices.insert(vertices.end(), blue.begin(), blue.end());
    IDirect3DVertexBuffer8* vb = makeBuffer(vertices, kColourFvf);
    IDirect3DIndexBuffer8* ib = makeIndices({0, 1, 2});
    ASSERT_NE(vb, nullptr);
    ASSERT_NE(ib, nullptr);
    device_->SetStreamSource(0, vb, sizeof(ColourVertex));
    device_->SetVertexShader(kColourFvf);
    device_->SetIndices(ib, 3);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 1), D3D_OK);
    end();
    vb->Release();
    ib->Release();

    // The line is one pixel high on row 125 (or its neighbour).
    for (int x : {10, 250, 490}) {
        const bool onLine = sameColour(at(x, 124), qRgb(255, 0, 0)) || sameColour(at(x, 125), qRgb(255, 0, 0));
        EXPECT_TRUE(onLine) << "x = " << x;
    }
    EXPECT_TRUE(sameColour(at(250, 130), kWhite));
    EXPECT_TRUE(sameColour(at(250, 375), qRgb(0, 0, 255)));
    EXPECT_TRUE(sameColour(at(100, 375), kWhite));
}

TEST_F(GlDeviceTest, ManagedBuffersSurviveReset) {
    const auto tri = triangle(0.0f, 0.0f, 0.5f, 0.5f, 0xFF00FF00, true);
    IDirect3DVertexBuffer8* vb = makeBuffer(tri, kColourFvf);
    ASSERT_NE(vb, nullptr);
    begin();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetStreamSource(0, vb, sizeof(ColourVertex));
    device_->SetVertexShader(kColourFvf);
    device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
    end();
    D3DPRESENT_PARAMETERS params = presentParameters(kSize, kSize);
    ASSERT_EQ(device_->Reset(&params), D3D_OK);
    // Reset puts the Direct3D defaults back, bindings included.
    begin(0xFF000000);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetStreamSource(0, vb, sizeof(ColourVertex));
    device_->SetVertexShader(kColourFvf);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    end();
    EXPECT_TRUE(sameColour(at(250, 250), qRgb(0, 255, 0)));
    device_->SetStreamSource(0, nullptr, 0);
    EXPECT_EQ(vb->Release(), 0u);
}

}  // namespace
