// The framing of korvane-render through its camera: for every view, picture
// shape and box, the projection and view the camera gives the device put
// every corner of the box inside the picture, clear of the margin, touching
// it on one axis, between the clip planes; the views look from where their
// names say; and the sheet's and the transparent picture's pixel arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "framing.h"
#include "image.h"
#include "picture_camera.h"
#include "recording_device.h"

namespace {

using kr::View;

constexpr View kViews[] = {View::front, View::back, View::left, View::right, View::threeQuarter, View::top};

// A point of the game's axes as the picture shows it: x to the right, y up
// (both -1 to 1 across the picture), depth 0 to 1 between the clip planes.
struct Seen {
    float x, y, depth;
};

class Framed {
public:
    Framed(const scene::Box& box, View view, int width, int height) : camera_(width, height) {
        camera_.aim(kr::frameBox(box, view, width, height));
        camera_.apply(&device_);  // no key held: the view as aimed
        const D3DMATRIX view_ = device_.transform(D3DTS_VIEW);
        const D3DMATRIX projection = device_.transform(D3DTS_PROJECTION);
        D3DXMatrixMultiply(&both_, reinterpret_cast<const D3DXMATRIX*>(&view_),
                           reinterpret_cast<const D3DXMATRIX*>(&projection));
    }
    Seen seen(float x, float y, float z) const {
        const D3DXVECTOR3 drawn(-y, z, x);
        D3DXVECTOR3 out;
        D3DXVec3TransformCoord(&out, &drawn, &both_);
        return {out.x, out.y, out.z};
    }

private:
    rec::RecordingDevice device_;
    kr::PictureCamera camera_;
    D3DXMATRIX both_;
};

scene::Box boxOf(float x0, float y0, float z0, float x1, float y1, float z1) {
    scene::Box box;
    box.add(x0, y0, z0);
    box.add(x1, y1, z1);
    return box;
}

TEST(Framing, EveryCornerInsideTheMarginTouchingItOnOneAxis) {
    const scene::Box boxes[] = {
        boxOf(-12, -16, -1, 14, 16, 72),      // a standing player
        boxOf(-1, -1, -1, 1, 1, 1),           // a cube
        boxOf(-40, -30, 0, 40, 30, 0),        // flat: a floor plate
        boxOf(1000, -5, 300, 1010, 5, 320),   // far from the origin
        boxOf(0, 0, 0, 3000, 3000, 3000),     // larger than the viewer's far plane
        boxOf(0.001f, 0, 0, 0.002f, 0.001f, 0.001f),  // tiny
        scene::Box{},                         // empty: a unit box
    };
    const int sizes[][2] = {{500, 500}, {800, 400}, {300, 600}, {64, 64}, {2000, 20}};
    for (const scene::Box& box : boxes) {
        const scene::Box shown = box.empty() ? boxOf(-0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f) : box;
        for (View view : kViews) {
            for (const auto& size : sizes) {
                SCOPED_TRACE(testing::Message() << kr::nameOf(view) << " " << size[0] << "x" << size[1] << " box "
                                                << shown.min[0] << ".." << shown.max[0]);
                const Framed framed(box, view, size[0], size[1]);
                const float margin = kr::kMarginShare * static_cast<float>(std::min(size[0], size[1]));
                const float roomX = 1.0f - 2.0f * margin / static_cast<float>(size[0]);
                const float roomY = 1.0f - 2.0f * margin / static_cast<float>(size[1]);
                float used = 0.0f;
                for (int k = 0; k < 8; ++k) {
                    const Seen s = framed.seen((k & 1) ? shown.max[0] : shown.min[0],
                                               (k & 2) ? shown.max[1] : shown.min[1],
                                               (k & 4) ? shown.max[2] : shown.min[2]);
                    EXPECT_LE(std::abs(s.x), roomX + 1e-3f);
                    EXPECT_LE(std::abs(s.y), roomY + 1e-3f);
                    EXPECT_GT(s.depth, 0.0f);
                    EXPECT_LT(s.depth, 1.0f);
                    used = std::max({used, std::abs(s.x) / roomX, std::abs(s.y) / roomY});
                }
                // A flat box is thickened: seen edge-on its thickness binds.
                const bool flat = shown.max[2] == shown.min[2];
                if (!flat) {
                    EXPECT_GT(used, 0.999f) << "as close as the margin allows";
                }
            }
        }
    }
}

TEST(Framing, ViewsLookFromWhereTheirNamesSay) {
    // The model faces +x, its left is +y, up is +z.
    const scene::Box player = boxOf(-12, -16, 0, 14, 16, 72);
    const struct {
        View view;
        float rightward[3];  // the game direction that shows to the picture's right
    } cases[] = {
        {View::front, {0, 1, 0}},        // facing us: its left on our right
        {View::back, {0, -1, 0}},
        {View::left, {-1, 0, 0}},        // its face on our left
        {View::right, {1, 0, 0}},
        {View::threeQuarter, {1, 0, 0}},  // turned towards our right
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kr::nameOf(c.view));
        const Framed framed(player, c.view, 400, 400);
        const Seen middle = framed.seen(1, 0, 36);
        const Seen moved = framed.seen(1 + 10 * c.rightward[0], 10 * c.rightward[1], 36);
        EXPECT_GT(moved.x, middle.x + 0.05f);
        EXPECT_GT(framed.seen(1, 0, 60).y, framed.seen(1, 0, 10).y) << "up is up";
    }
    const Framed top(player, View::top, 400, 400);
    EXPECT_GT(top.seen(10, 0, 72).y, top.seen(-10, 0, 72).y) << "the front at the top";
    EXPECT_LT(top.seen(0, 10, 72).x, top.seen(0, -10, 72).x) << "its left on our left, as from behind";
    EXPECT_EQ(kr::viewNamed("three-quarter"), View::threeQuarter);
    EXPECT_EQ(kr::viewNamed("Front"), std::nullopt);
}

TEST(Framing, CameraKeepsTheViewersProjectionForASquareAndThePicturesAspectOtherwise) {
    rec::RecordingDevice device;
    for (const auto& size : {std::pair{500, 500}, std::pair{800, 400}}) {
        kr::PictureCamera camera(size.first, size.second);
        camera.placeAtStart();
        camera.apply(&device);
        D3DXMATRIX expected;
        D3DXMatrixPerspectiveFovLH(&expected, 0.7853982f, static_cast<float>(size.first) / size.second, 1.0f, 500.0f);
        const D3DMATRIX projection = device.transform(D3DTS_PROJECTION);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(projection.m[r][c], expected(r, c));
    }
}

TEST(Picture, OverBlackAndWhiteGivesCoverageAndColour) {
    // Background, a covered pixel, a half-covered edge of the same colour.
    const unsigned char black[] = {0, 0, 0, 200, 100, 50, 100, 50, 25};
    const unsigned char white[] = {255, 255, 255, 200, 100, 50, 228, 178, 153};
    unsigned char rgba[12];
    kr::unblend(black, white, 3, rgba);
    EXPECT_EQ(rgba[3], 0);
    EXPECT_EQ(std::vector<int>(rgba + 4, rgba + 8), (std::vector<int>{200, 100, 50, 255}));
    EXPECT_NEAR(rgba[11], 127, 1);
    EXPECT_NEAR(rgba[8], 200, 2);
    EXPECT_NEAR(rgba[10], 50, 2);
}

TEST(Picture, SheetPlacesEachViewAtItsColumn) {
    kr::Image sheet;
    ASSERT_EQ(kr::allocate(sheet, 6, 2, 4), "");
    std::fill(sheet.pixels.begin(), sheet.pixels.end(), 0);
    kr::Image cell;
    ASSERT_EQ(kr::allocate(cell, 3, 2, 4), "");
    std::fill(cell.pixels.begin(), cell.pixels.end(), 9);
    kr::place(sheet, cell, 3);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 6; ++x) EXPECT_EQ(sheet.pixels[(y * 6 + x) * 4], x < 3 ? 0 : 9) << x << "," << y;
    }
}

}  // namespace
