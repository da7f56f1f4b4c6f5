// A whole viewer frame on the OpenGL device: the renderer D3D on a fake
// shell window backed by a 500 × 500 offscreen surface, the reference grid
// (half-size 10, overhang 0.5) in its scene list and a FreeCamera on a
// frozen clock. Expected pixel positions come from the same matrices the
// frame uses: the free camera's view and the renderer's perspective.
#pragma once

#include <gtest/gtest.h>

#include <QRgb>
#include <memory>
#include <string>

#include "app/camera.h"
#include "fake_shell.h"
#include "platform/qt/qt_offscreen_surface.h"
#include "platform/d3d8/d3dx8.h"
#include "render/reference_grid.h"
#include "render/renderer.h"

using qtshell::OffscreenSurface;

constexpr int kFrameSize = 500;

// A point of the picture, counted from the top left.
struct PixelPos {
    float x = 0.0f;
    float y = 0.0f;
    float depth = 0.0f;  // z after the projection, 0 at the near plane
};

class GridFrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Puts the camera at `eye` looking at the world origin (up +y), draws one
    // frame and saves it as `png` when that is not empty.
    void renderLookingAtOrigin(const D3DXVECTOR3& eye, const std::string& png = {});
    // Draws one frame with the camera's pose as it stands.
    void renderFrame(const std::string& png = {});

    // Where the frame puts a world point: view of the camera after the frame,
    // times the renderer's perspective, then the viewport mapping.
    PixelPos project(const D3DXVECTOR3& world) const;
    bool onScreen(const PixelPos& p, int margin = 2) const;

    // Whether any pixel within `radius` of where `world` lands has `colour`.
    ::testing::AssertionResult colourNear(const D3DXVECTOR3& world, QRgb colour, int radius = 1);
    // Whether every pixel within `radius` of where `world` lands is `colour`.
    ::testing::AssertionResult colourAround(const D3DXVECTOR3& world, QRgb colour, int radius = 2);
    // How many pixels of the whole picture have `colour`.
    int countColour(QRgb colour);

    std::unique_ptr<OffscreenSurface> surface_;
    std::unique_ptr<FakeShell> shell_;
    HWND window_ = nullptr;
    Direct3DFactory previousFactory_ = nullptr;
    std::unique_ptr<D3D> renderer_;
    std::unique_ptr<ReferenceGrid> grid_;
    FreeCamera camera_;
    QImage picture_;
};

// Per channel within tolerance (alpha ignored).
bool sameRgb(QRgb a, QRgb b, int tolerance = 8);
