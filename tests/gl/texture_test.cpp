// Textures on the OpenGL device: mip chains, locking, texture stage 0 and
// Direct3D 8's default sampler.
#include "gl_fixture.h"

namespace {

// Fills every texel of a level with one ARGB colour (bytes B, G, R, A).
void fillLevel(IDirect3DTexture8* texture, UINT level, UINT width, UINT height, DWORD argb) {
    D3DLOCKED_RECT rect{};
    ASSERT_EQ(texture->LockRect(level, &rect, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < height; ++y) {
        auto* row = static_cast<BYTE*>(rect.pBits) + static_cast<std::size_t>(y) * rect.Pitch;
        for (UINT x = 0; x < width; ++x) {
            std::memcpy(row + 4 * x, &argb, 4);
        }
    }
    ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
}

TEST_F(GlDeviceTest, LevelZeroGivesTheFullChainEachLockableWithItsPitch) {
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(device_->CreateTexture(64, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3D_OK);
    ASSERT_EQ(tex->GetLevelCount(), 7u);  // 64 × 16 down to 1 × 1
    const INT pitches[] = {256, 128, 64, 32, 16, 8, 4};
    for (UINT level = 0; level < 7; ++level) {
        D3DLOCKED_RECT rect{};
        ASSERT_EQ(tex->LockRect(level, &rect, nullptr, 0), D3D_OK) << level;
        EXPECT_EQ(rect.Pitch, pitches[level]);
        EXPECT_NE(rect.pBits, nullptr);
        EXPECT_EQ(tex->UnlockRect(level), D3D_OK);
    }
    D3DLOCKED_RECT rect{};
    EXPECT_EQ(tex->LockRect(7, &rect, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(tex->UnlockRect(0), D3DERR_INVALIDCALL);
    const RECT outside{60, 0, 65, 4};
    EXPECT_EQ(tex->LockRect(0, &rect, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(tex->Release(), 0u);

    ASSERT_EQ(device_->CreateTexture(64, 16, 3, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3D_OK);
    EXPECT_EQ(tex->GetLevelCount(), 3u);
    tex->Release();
    EXPECT_EQ(device_->CreateTexture(64, 16, 8, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3DERR_INVALIDCALL);
}

TEST_F(GlDeviceTest, StageZeroColourOperations) {
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(device_->CreateTexture(2, 2, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3D_OK);
    fillLevel(tex, 0, 2, 2, 0xFF80FF40);
    fillLevel(tex, 1, 1, 1, 0xFF000000);
    const D3DCOLOR diffuse = 0xFFFF80FF;

    begin();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetTexture(0, tex);
    // Top left: SELECTARG1 with the texture.
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    draw(quad(-1.0f, 1.0f, 0.0f, 0.0f, diffuse), D3DPT_TRIANGLELIST, kTexFvf);
    // Top right: SELECTARG2 with the diffuse colour.
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    draw(quad(0.0f, 1.0f, 1.0f, 0.0f, diffuse), D3DPT_TRIANGLELIST, kTexFvf);
    // Bottom left: MODULATE texture × current.
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_CURRENT);
    draw(quad(-1.0f, 0.0f, 0.0f, -1.0f, diffuse), D3DPT_TRIANGLELIST, kTexFvf);
    // Bottom right: DISABLE passes the diffuse colour.
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    draw(quad(0.0f, 0.0f, 1.0f, -1.0f, diffuse), D3DPT_TRIANGLELIST, kTexFvf);
    // Centre: without a texture even "texture alone" passes the diffuse
    // colour (the skeleton lines are drawn this way after the body).
    device_->SetTexture(0, nullptr);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    draw(quad(-0.1f, 0.1f, 0.1f, -0.1f, 0xFF3060C0), D3DPT_TRIANGLELIST, kTexFvf);
    end();
    EXPECT_TRUE(surface_->image().save("/tmp/kv_gl_stages.png"));

    EXPECT_TRUE(sameColour(at(125, 125), qRgb(0x80, 0xFF, 0x40)));
    EXPECT_TRUE(sameColour(at(375, 125), qRgb(0xFF, 0x80, 0xFF)));
    EXPECT_TRUE(sameColour(at(125, 375), qRgb(0x80, 0x80, 0x40)));
    EXPECT_TRUE(sameColour(at(375, 375), qRgb(0xFF, 0x80, 0xFF)));
    EXPECT_TRUE(sameColour(at(250, 250), qRgb(0x30, 0x60, 0xC0)));
    EXPECT_EQ(tex->Release(), 0u);
}

TEST_F(GlDeviceTest, DefaultSamplerPointSamplesAndWraps) {
    // 2 × 2 texels: red, green on the top row; blue, yellow below.
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(device_->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3D_OK);
    D3DLOCKED_RECT rect{};
    ASSERT_EQ(tex->LockRect(0, &rect, nullptr, 0), D3D_OK);
    const DWORD texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    std::memcpy(rect.pBits, texels, 8);
    std::memcpy(static_cast<BYTE*>(rect.pBits) + rect.Pitch, texels + 2, 8);
    ASSERT_EQ(tex->UnlockRect(0), D3D_OK);

    begin();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetTexture(0, tex);  // default stage: MODULATE texture × white
    // Coordinates 0..2 repeat the texture twice across the surface.
    draw(quad(-1.0f, 1.0f, 1.0f, -1.0f, 0xFFFFFFFF, 2.0f, 2.0f), D3DPT_TRIANGLELIST, kTexFvf);
    end();
    EXPECT_TRUE(sameColour(at(120, 10), qRgb(255, 0, 0)));
    EXPECT_TRUE(sameColour(at(130, 10), qRgb(0, 255, 0)));    // just past the texel edge: no blending
    EXPECT_TRUE(sameColour(at(260, 10), qRgb(255, 0, 0)));    // u = 1.04 wraps to the first texel
    EXPECT_TRUE(sameColour(at(130, 130), qRgb(255, 255, 0)));
    EXPECT_TRUE(sameColour(at(10, 490), qRgb(0, 0, 255)));

    // A second lock replaces the texels on the next draw.
    ASSERT_EQ(tex->LockRect(0, &rect, nullptr, 0), D3D_OK);
    std::memset(rect.pBits, 0x00, 8);
    ASSERT_EQ(tex->UnlockRect(0), D3D_OK);
    begin();
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    draw(quad(-1.0f, 1.0f, 1.0f, -1.0f, 0xFFFFFFFF, 2.0f, 2.0f), D3DPT_TRIANGLELIST, kTexFvf);
    end();
    EXPECT_TRUE(sameColour(at(120, 10), qRgb(0, 0, 0)));
    EXPECT_TRUE(sameColour(at(130, 130), qRgb(255, 255, 0)));
    device_->SetTexture(0, nullptr);
    EXPECT_EQ(tex->Release(), 0u);
}

}  // namespace
