#include "grid_frame.h"

#include <cmath>
#include <cstdlib>

#include "platform/d3d8/surface.h"
#include "platform/gl/gl_direct3d.h"

namespace {

OffscreenSurface* g_surface = nullptr;
HWND g_window = nullptr;

GlSurface* surfaceFor(HWND hwnd) { return hwnd == g_window ? g_surface : nullptr; }

// The camera's clock stands still: every apply is a step of zero, so held
// keys and real time never move the pose under test.
std::uint32_t frozenClock() { return 123456u; }

}  // namespace

bool sameRgb(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

void GridFrameTest::SetUp() {
    surface_ = std::make_unique<OffscreenSurface>(kFrameSize, kFrameSize);
    ASSERT_TRUE(surface_->valid()) << "no OpenGL 3.3 core offscreen surface";

    // The renderer sizes its back buffer from the shell's client rectangle.
    shell_ = std::make_unique<FakeShell>();
    shell_->client = RECT{0, 0, kFrameSize, kFrameSize};
    shell_->windows.push_back(FakeShell::Window{});
    window_ = shell_->lastWindow();

    g_surface = surface_.get();
    g_window = window_;
    setSurfaceProvider(&surfaceFor);
    previousFactory_ = setDirect3DFactory(&createGlDirect3D);
    FreeCamera::setClock(&frozenClock);

    renderer_ = std::make_unique<D3D>(window_);
    ASSERT_NE(renderer_->m_pDevice, nullptr);
    grid_ = std::make_unique<ReferenceGrid>(renderer_->m_pDevice, 10u, 0.5f);
    renderer_->addObject(grid_.get());
    renderer_->m_pCamera = &camera_;
}

void GridFrameTest::TearDown() {
    if (renderer_) renderer_->clearAll();
    grid_.reset();
    renderer_.reset();
    FreeCamera::setClock(nullptr);
    setDirect3DFactory(previousFactory_);
    setSurfaceProvider(nullptr);
    g_surface = nullptr;
    g_window = nullptr;
    shell_.reset();
    surface_.reset();
}

void GridFrameTest::renderLookingAtOrigin(const D3DXVECTOR3& eye, const std::string& png) {
    camera_.reset();
    camera_.m_vPosition = eye;
    camera_.m_vLook = D3DXVECTOR3(-eye.x, -eye.y, -eye.z);
    camera_.m_vUp = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    camera_.orthonormalize();
    renderFrame(png);
}

void GridFrameTest::renderFrame(const std::string& png) {
    renderer_->render();
    picture_ = surface_->image().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(picture_.width(), kFrameSize);
    ASSERT_EQ(picture_.height(), kFrameSize);
    if (!png.empty()) picture_.save(QString::fromStdString(png));
}

PixelPos GridFrameTest::project(const D3DXVECTOR3& world) const {
    const D3DXMATRIX view = camera_.viewMatrix();
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 1.0f, 1.0f, 500.0f);
    D3DXMATRIX both;
    D3DXMatrixMultiply(&both, &view, &projection);
    D3DXVECTOR3 ndc;
    D3DXVec3TransformCoord(&ndc, &world, &both);
    // Viewport mapping of Direct3D: x to the right, y downwards.
    return PixelPos{(ndc.x + 1.0f) * 0.5f * kFrameSize, (1.0f - ndc.y) * 0.5f * kFrameSize, ndc.z};
}

bool GridFrameTest::onScreen(const PixelPos& p, int margin) const {
    return p.x >= margin && p.y >= margin && p.x < kFrameSize - margin && p.y < kFrameSize - margin &&
           p.depth > 0.0f && p.depth < 1.0f;
}

::testing::AssertionResult GridFrameTest::colourNear(const D3DXVECTOR3& world, QRgb colour, int radius) {
    const PixelPos p = project(world);
    if (!onScreen(p, radius)) {
        return ::testing::AssertionFailure() << "(" << world.x << ", " << world.y << ", " << world.z
                                             << ") lands off the picture at " << p.x << ", " << p.y;
    }
    const int cx = static_cast<int>(std::floor(p.x));
    const int cy = static_cast<int>(std::floor(p.y));
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if (sameRgb(picture_.pixel(x, y), colour)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no pixel of colour " << std::hex << (colour & 0xFFFFFFu) << " near ("
                                         << std::dec << cx << ", " << cy << "); the centre is " << std::hex
                                         << (picture_.pixel(cx, cy) & 0xFFFFFFu);
}

::testing::AssertionResult GridFrameTest::colourAround(const D3DXVECTOR3& world, QRgb colour, int radius) {
    const PixelPos p = project(world);
    if (!onScreen(p, radius)) {
        return ::testing::AssertionFailure() << "(" << world.x << ", " << world.y << ", " << world.z
                                             << ") lands off the picture at " << p.x << ", " << p.y;
    }
    const int cx = static_cast<int>(std::floor(p.x));
    const int cy = static_cast<int>(std::floor(p.y));
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if (!sameRgb(picture_.pixel(x, y), colour)) {
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                     << (picture_.pixel(x, y) & 0xFFFFFFu);
            }
    return ::testing::AssertionSuccess();
}

int GridFrameTest::countColour(QRgb colour) {
    int n = 0;
    for (int y = 0; y < picture_.height(); ++y)
        for (int x = 0; x < picture_.width(); ++x)
            if (sameRgb(picture_.pixel(x, y), colour)) ++n;
    return n;
}
