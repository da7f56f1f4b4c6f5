// The first thing the viewer shows: the reference grid through the free
// camera, drawn by the renderer on the OpenGL device. Every expected pixel is
// found by projecting the world point with the frame's own matrices.
#include <cmath>

#include "grid_frame.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kDarkBlue = 0xFF000080;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kDarkGreen = 0xFF008000;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kDarkRed = 0xFF800000;

// Above the grid, off its diagonal, so that no two axes fall on one line of
// the picture and the whole grid is in view.
const D3DXVECTOR3 kEye(16.0f, 25.0f, 30.0f);

D3DXVECTOR3 at(float x, float y, float z) { return D3DXVECTOR3(x, y, z); }

class OverviewTest : public GridFrameTest {
protected:
    void SetUp() override {
        GridFrameTest::SetUp();
        if (HasFatalFailure()) return;
        renderLookingAtOrigin(kEye, "/tmp/glgrid.png");
        axisColumn_ = project(at(0, 0, 0)).x;
        // The checks below need the whole grid in the picture.
        for (float x : {-10.5f, 10.5f})
            for (float z : {-10.5f, 10.5f}) ASSERT_TRUE(onScreen(project(at(x, 0, z)), 4)) << x << ", " << z;
    }

    // The y axis stands vertical in the picture, in the origin's column, and
    // crosses whatever lies behind it there.
    bool behindYAxis(const D3DXVECTOR3& world) const { return std::fabs(project(world).x - axisColumn_) < 4.0f; }

    float axisColumn_ = 0.0f;
};

TEST_F(OverviewTest, BackgroundIsWhite) {
    for (int y : {0, 2, 497, 499})
        for (int x : {0, 2, 497, 499}) EXPECT_TRUE(sameRgb(picture_.pixel(x, y), kWhite)) << x << ", " << y;
}

TEST_F(OverviewTest, GreyLinesAtEveryWholeNumberButZeroOverhangingByHalfAUnit) {
    for (int k = -10; k <= 10; ++k) {
        if (k == 0) continue;
        const auto f = static_cast<float>(k);
        // Lines parallel to z at x = k and parallel to x at z = k, sampled
        // between two crossing lines.
        for (float along : {-6.5f, 4.5f}) {
            EXPECT_TRUE(colourNear(at(f, 0, along), kGrey)) << "x = " << k;
            EXPECT_TRUE(colourNear(at(along, 0, f), kGrey)) << "z = " << k;
        }
        // Each line runs on into the overhang and ends there.
        for (float end : {-10.25f, 10.25f}) {
            EXPECT_TRUE(colourNear(at(f, 0, end), kGrey)) << "x = " << k << " at " << end;
            EXPECT_TRUE(colourNear(at(end, 0, f), kGrey)) << "z = " << k << " at " << end;
        }
        for (float beyond : {-11.5f, 11.5f})
            for (const D3DXVECTOR3& past : {at(f, 0, beyond), at(beyond, 0, f)})
                if (!behindYAxis(past)) {
                    EXPECT_TRUE(colourAround(past, kWhite, 1)) << k << " at " << beyond;
                }
    }
}

TEST_F(OverviewTest, CellsBetweenTheLinesStayWhite) {
    int checked = 0;
    for (int i = -10; i < 10; ++i)
        for (int j = -10; j < 10; ++j) {
            const D3DXVECTOR3 centre = at(static_cast<float>(i) + 0.5f, 0, static_cast<float>(j) + 0.5f);
            if (behindYAxis(centre)) continue;
            EXPECT_TRUE(colourAround(centre, kWhite, 1)) << "cell " << i << ", " << j;
            ++checked;
        }
    EXPECT_GT(checked, 350);
}

TEST_F(OverviewTest, AxesShowTheirColoursWithDarkerNegativeHalves) {
    for (float d : {4.5f, 14.0f}) {
        EXPECT_TRUE(colourNear(at(d, 0, 0), kBlue)) << d;
        EXPECT_TRUE(colourNear(at(-d, 0, 0), kDarkBlue)) << d;
        EXPECT_TRUE(colourNear(at(0, 0, d), kRed)) << d;
        EXPECT_TRUE(colourNear(at(0, 0, -d), kDarkRed)) << d;
    }
    for (float d : {3.5f, 9.5f}) {
        EXPECT_TRUE(colourNear(at(0, d, 0), kGreen)) << d;
        EXPECT_TRUE(colourNear(at(0, -d, 0), kDarkGreen)) << d;
    }
    // The axes run far beyond the grid, to the picture's edges.
    EXPECT_GT(countColour(kBlue), 150);
    EXPECT_GT(countColour(kDarkBlue), 150);
    EXPECT_GT(countColour(kRed), 150);
    EXPECT_GT(countColour(kDarkRed), 150);
    EXPECT_GT(countColour(kGreen), 200);
    EXPECT_GT(countColour(kDarkGreen), 200);
}

TEST_F(OverviewTest, SecondFrameRepeatsTheFirst) {
    // The overlay pass leaves an orthographic projection, identity view and
    // depth test off behind; the next frame must set up its own again.
    const QImage first = picture_;
    renderFrame();
    EXPECT_TRUE(picture_ == first);
}

TEST_F(GridFrameTest, StartPoseSeesOnlyTheGreenAxisAboveTheGrid) {
    // The viewer's start pose: 40 above and 80 behind the origin, looking
    // straight along -z. The origin lies below the picture's lower edge
    // (40 / 80 is steeper than half the field of view), so is all the grid.
    camera_.m_vPosition = at(0, 40, 80);
    camera_.m_vLook = at(0, 0, -1);
    camera_.m_vUp = at(0, 1, 0);
    camera_.m_vRight = at(-1, 0, 0);
    renderFrame("/tmp/glgrid_start.png");

    for (float x : {-10.5f, 10.5f}) EXPECT_GT(project(at(x, 0, -10.5f)).y, kFrameSize);
    EXPECT_GT(project(at(0, 0, 0)).y, kFrameSize);
    EXPECT_EQ(countColour(kGrey), 0);
    EXPECT_EQ(countColour(kBlue) + countColour(kDarkBlue), 0);
    EXPECT_EQ(countColour(kRed), 0);
    // The -z axis runs away from the eye in the very column of the y axis,
    // behind it: the depth test hides it all.
    EXPECT_EQ(countColour(kDarkRed), 0);
    for (float y : {8.0f, 20.0f, 40.0f, 70.0f}) EXPECT_TRUE(colourNear(at(0, y, 0), kGreen)) << y;
    EXPECT_GT(countColour(kGreen), kFrameSize - 10);
    EXPECT_EQ(countColour(kWhite) + countColour(kGreen), kFrameSize * kFrameSize);
}

}  // namespace
