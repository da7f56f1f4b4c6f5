// D3DXCreateTextureFromFileA on TGA and JPEG files written here, through
// the recording device.
#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "failing_new.h"
#include "platform/d3d8/d3dx8.h"
#include "platform/d3d8/image_decode.h"
#include "recording_device.h"
#include "scoped_log.h"

namespace {

using testing_support::TempDir;

// A 2 × 2 image: red, green / blue, white (top row first).
const std::uint8_t kRgba[4][4] = {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 255}, {255, 255, 255, 255}};

std::string tgaHeader(int type, int bits, bool topOrigin) {
    std::string h(18, '\0');
    h[2] = static_cast<char>(type);
    h[12] = 2;
    h[14] = 2;
    h[16] = static_cast<char>(bits);
    h[17] = static_cast<char>((topOrigin ? 0x20 : 0) | (bits == 32 ? 8 : 0));
    return h;
}

std::string bgr(int pixel, int bits) {
    std::string s;
    s += static_cast<char>(kRgba[pixel][2]);
    s += static_cast<char>(kRgba[pixel][1]);
    s += static_cast<char>(kRgba[pixel][0]);
    if (bits == 32) s += static_cast<char>(kRgba[pixel][3]);
    return s;
}

std::string tga(int bits, bool topOrigin, bool rle) {
    std::string out = tgaHeader(rle ? 10 : 2, bits, topOrigin);
    const int rows[2][2] = {{0, 1}, {2, 3}};
    for (int r = 0; r < 2; ++r) {
        const int* row = rows[topOrigin ? r : 1 - r];
        if (rle) {
            out += static_cast<char>(0x01);  // a raw packet of two pixels
            out += bgr(row[0], bits) + bgr(row[1], bits);
        } else {
            out += bgr(row[0], bits) + bgr(row[1], bits);
        }
    }
    return out;
}

// The B G R A bytes of level 0 at (x, y).
std::vector<int> texel(const rec::Texture& t, int x, int y) {
    const BYTE* p = t.levels[0].data() + (y * 2 + x) * 4;
    return {p[2], p[1], p[0], p[3]};
}

TEST(TextureLoad, TgaOfEveryKindLandsTopRowFirst) {
    TempDir dir;
    for (int bits : {24, 32})
        for (bool top : {false, true})
            for (bool rle : {false, true}) {
                SCOPED_TRACE(testing::Message() << bits << " bits, top " << top << ", rle " << rle);
                dir.write("t.tga", tga(bits, top, rle));
                rec::RecordingDevice dev;
                IDirect3DTexture8* tex = nullptr;
                ASSERT_EQ(D3DXCreateTextureFromFileA(&dev, dir.file("t.tga").c_str(), &tex), D3D_OK);
                ASSERT_NE(tex, nullptr);
                auto* t = dev.textures().at(0);
                EXPECT_EQ(t->pool, D3DPOOL_MANAGED);
                EXPECT_EQ(t->format, D3DFMT_A8R8G8B8);
                EXPECT_EQ(t->GetLevelCount(), 2u);  // 2 × 2 and 1 × 1
                EXPECT_EQ(texel(*t, 0, 0), (std::vector<int>{255, 0, 0, 255}));
                EXPECT_EQ(texel(*t, 1, 0), (std::vector<int>{0, 255, 0, bits == 32 ? 128 : 255}));
                EXPECT_EQ(texel(*t, 0, 1), (std::vector<int>{0, 0, 255, 255}));
                tex->Release();
            }
}

// Level 0 is the image; every further level the rounded mean of the 2 × 2
// block above it, a side of 1 standing in for both texels of the block.
TEST(TextureLoad, EachLevelIsTheBoxFilterOfTheOneAbove) {
    constexpr int kW = 37, kH = 6;
    std::string file = tgaHeader(2, 32, true);
    file[12] = kW;
    file[14] = kH;
    std::uint32_t seed = 99;
    for (int i = 0; i < kW * kH * 4; ++i) file += static_cast<char>((seed = seed * 1664525u + 1013904223u) >> 24);
    TempDir dir;
    dir.write("odd.tga", file);
    rec::RecordingDevice dev;
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(&dev, dir.file("odd.tga").c_str(), &tex), D3D_OK);
    const auto* t = dev.textures().at(0);
    ASSERT_EQ(t->levels.size(), 6u);  // 37 × 6, 18 × 3, 9 × 1, 4 × 1, 2 × 1, 1 × 1
    EXPECT_EQ(std::memcmp(t->levels[0].data(), file.data() + 18, kW * kH * 4), 0);  // B G R A, as stored
    int w = kW, h = kH;
    for (UINT level = 1; level < 6; ++level) {
        const int lw = std::max(1, w / 2), lh = std::max(1, h / 2);
        const auto& above = t->levels[level - 1];
        for (int y = 0; y < lh; ++y)
            for (int x = 0; x < lw; ++x)
                for (int c = 0; c < 4; ++c) {
                    auto at = [&](int px, int py) {
                        return above[(static_cast<std::size_t>(std::min(py, h - 1)) * w + std::min(px, w - 1)) * 4 + c];
                    };
                    const int sum = at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1);
                    ASSERT_EQ(t->levels[level][(static_cast<std::size_t>(y) * lw + x) * 4 + c], (sum + 2) / 4)
                        << "level " << level << " at " << x << "," << y;
                }
        w = lw;
        h = lh;
    }
    tex->Release();
}

TEST(TextureLoad, JpegIsRecognisedFromItsContentWhateverTheName) {
    TempDir dir;
    std::vector<std::uint8_t> pixels(16 * 16 * 3, 200);
    std::string jpeg;
    stbi_write_jpg_to_func(
        [](void* ctx, void* data, int size) { static_cast<std::string*>(ctx)->append(static_cast<char*>(data), size); },
        &jpeg, 16, 16, 3, pixels.data(), 90);
    dir.write("Skin/Face.TGA", jpeg);  // a JPEG under a TGA name still loads
    rec::RecordingDevice dev;
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(&dev, dir.file("skin/face.tga").c_str(), &tex), D3D_OK);
    auto* t = dev.textures().at(0);
    EXPECT_EQ(t->width, 16u);
    EXPECT_EQ(t->GetLevelCount(), 5u);
    EXPECT_NEAR(t->levels[4][0], 200, 3);  // the 1 × 1 level averages the image
}

TEST(TextureLoad, AnythingElseFailsWithoutATexture) {
    TempDir dir;
    rec::RecordingDevice dev;
    IDirect3DTexture8* tex = reinterpret_cast<IDirect3DTexture8*>(&dev);
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileA(&dev, dir.file("missing.jpg").c_str(), &tex)));
    EXPECT_EQ(tex, nullptr);

    dir.write("text.jpg", "this is not an image at all");
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileA(&dev, dir.file("text.jpg").c_str(), &tex)));
    std::string cut = tga(32, true, false);
    cut.resize(cut.size() - 3);
    dir.write("cut.tga", cut);
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileA(&dev, dir.file("cut.tga").c_str(), &tex)));
    std::string jpegStart = "\xFF\xD8\xFF\xE0garbage";
    dir.write("bad.jpg", jpegStart);
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileA(&dev, dir.file("bad.jpg").c_str(), &tex)));
    EXPECT_EQ(tex, nullptr);
    EXPECT_TRUE(dev.textures().empty());  // nothing was created for any of them
}

TEST(TextureLoad, DeviceFailuresReleaseThePartialTexture) {
    TempDir dir;
    dir.write("t.tga", tga(24, false, false));
    rec::RecordingDevice dev;
    IDirect3DTexture8* tex = nullptr;
    dev.createTexture.always = true;
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileA(&dev, dir.file("t.tga").c_str(), &tex)));
    EXPECT_EQ(tex, nullptr);
    dev.createTexture = {};
    dev.lockTexture.onCall = 2;
    EXPECT_TRUE(FAILED(D3DXCreateTextureFromFileA(&dev, dir.file("t.tga").c_str(), &tex)));
    EXPECT_EQ(tex, nullptr);
    EXPECT_EQ(dev.liveResources(), 0);
    const std::string path = dir.file("t.tga");
    HRESULT hr = D3D_OK;
    {
        testing_support::FailingNew refuse(0);  // not even the file's bytes
        hr = D3DXCreateTextureFromFileA(&dev, path.c_str(), &tex);
    }
    EXPECT_EQ(hr, E_OUTOFMEMORY);
    EXPECT_EQ(tex, nullptr);
    EXPECT_EQ(dev.liveResources(), 0);
}

TEST(ImageSniff, TgaNeedsAPlausibleHeader) {
    std::string h = tgaHeader(2, 24, false);
    auto kind = [](const std::string& s) {
        return d3dx::sniffImage(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    };
    EXPECT_EQ(kind(h), d3dx::ImageKind::Tga);
    std::string wrongType = h;
    wrongType[2] = 5;
    EXPECT_EQ(kind(wrongType), d3dx::ImageKind::Unknown);
    std::string zeroWidth = h;
    zeroWidth[12] = 0;
    EXPECT_EQ(kind(zeroWidth), d3dx::ImageKind::Unknown);
    EXPECT_EQ(kind(h.substr(0, 10)), d3dx::ImageKind::Unknown);
    EXPECT_EQ(kind("\xFF\xD8\xFF"), d3dx::ImageKind::Jpeg);
}

}  // namespace
