// The renderer D3D against the recording Direct3D object and device and the
// fake shell: creation and its failures, the device states of render, the
// per-frame sequence and transforms, and the draw lists.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/camera.h"
#include "fake_shell.h"
#include "platform/d3d8/d3dx8.h"
#include "recording_device.h"
#include "render/renderer.h"
#include "scoped_log.h"

namespace {

// Records what the renderer asks of it into a shared journal.
class Probe : public Renderable {
public:
    Probe(std::string name, std::vector<std::string>& journal) : name_(std::move(name)), journal_(journal) {}
    void draw(IDirect3DDevice8* device) override {
        journal_.push_back("draw " + name_);
        device->DrawPrimitive(D3DPT_LINELIST, 0, 1);
    }
    void onDeviceLost() override { journal_.push_back("lost " + name_); }
    void onDeviceReset() override { journal_.push_back("reset " + name_); }

private:
    std::string name_;
    std::vector<std::string>& journal_;
};

int occurrences(const std::string& text, const std::string& needle) {
    int n = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
    return n;
}

LRESULT ignoreMessages(HWND, UINT, WPARAM, LPARAM) { return 0; }

HWND makeWindow(FakeShell& fake) {
    fake.registerClass(shell::WNDCLASS{0, &ignoreMessages, "MyWndClass"});
    return fake.createWindow(0, "MyWndClass", "Korvane", 0, 0, 0, 500, 500);
}

void expectMatrix(const D3DMATRIX& actual, const D3DXMATRIX& expected) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(actual.m[r][c], expected.m[r][c]) << r << "," << c;
}

D3DXMATRIX identity() {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

class RendererTest : public ::testing::Test {
protected:
    RendererTest() {
        window = makeWindow(fake);
        fake.client = {0, 0, 494, 471};
    }

    rec::RecordingDevice& device() { return *factory.lastDevice(); }
    std::string log() const { return scopedLog.body(); }

    testing_support::ScopedLog scopedLog;
    FakeShell fake;
    rec::ScopedRecordingDirect3D factory;
    HWND window = nullptr;
    std::vector<std::string> journal;
};

TEST_F(RendererTest, CreationMakesAWindowedDeviceForTheClientArea) {
    factory.d3d().mode.Format = D3DFMT_R5G6B5;
    D3D renderer(window);

    ASSERT_NE(renderer.m_pDevice, nullptr);
    ASSERT_NE(renderer.m_pD3D, nullptr);
    EXPECT_EQ(factory.d3d().calls,
              (std::vector<std::string>{"GetAdapterDisplayMode(0)", "CreateDevice(0, 1, 0x20)"}));
    const D3DPRESENT_PARAMETERS& p = factory.d3d().lastPresent;
    EXPECT_EQ(p.Windowed, TRUE);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.BackBufferWidth, 494u);
    EXPECT_EQ(p.BackBufferHeight, 471u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(p.EnableAutoDepthStencil, TRUE);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(p.hDeviceWindow, window);
    EXPECT_EQ(p.Flags, 0u);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(p.FullScreen_PresentationInterval, 0u);
    // Nothing is set on the device at creation.
    EXPECT_TRUE(device().calls.empty());

    char expected[64];
    std::snprintf(expected, sizeof expected, "D3D::D3D(...) (this = %X)</p>",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(&renderer)));
    EXPECT_NE(log().find(expected), std::string::npos) << log();
    EXPECT_EQ(occurrences(log(), "ERROR"), 0);
}

TEST_F(RendererTest, DestructionReleasesDeviceThenDirect3D) {
    {
        D3D renderer(window);
        ASSERT_NE(renderer.m_pDevice, nullptr);
    }
    EXPECT_EQ(device().refs, 0);
    EXPECT_EQ(device().calls.back(), "Release(device)");
    EXPECT_EQ(factory.d3d().refs, 0);
    EXPECT_EQ(factory.d3d().calls.back(), "Release(d3d)");
}

TEST(RendererCreation, FailuresLogOneLineAndLeaveNoDevice) {
    FakeShell fake;
    HWND window = makeWindow(fake);
    struct Case {
        const char* what;
        void (*arrange)(rec::ScopedRecordingDirect3D&);
        const char* line;
    };
    const Case cases[] = {
        {"Direct3DCreate8", [](rec::ScopedRecordingDirect3D& f) { f.failCreate = true; },
         "Direct3DCreate8(D3D_SDK_VERSION) failed"},
        {"display mode", [](rec::ScopedRecordingDirect3D& f) { f.d3d().failDisplayMode = true; },
         "pD3D->GetAdapterDisplayMode(...) failed"},
        {"CreateDevice", [](rec::ScopedRecordingDirect3D& f) { f.d3d().createDeviceResult = D3DERR_NOTAVAILABLE; },
         "pD3D->CreateDevice(...) failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::ScopedLog caseLog;
        rec::ScopedRecordingDirect3D f;
        c.arrange(f);
        {
            D3D renderer(window);
            EXPECT_EQ(renderer.m_pDevice, nullptr);
            EXPECT_EQ(renderer.m_pD3D, nullptr);
            EXPECT_EQ(f.d3d().refs, f.failCreate ? 1 : 0);  // released when it was created
            EXPECT_EQ(occurrences(caseLog.body(), "ERROR"), 1);
            EXPECT_NE(caseLog.body().find(std::string(c.line) + "</p>"), std::string::npos) << caseLog.body();
            EXPECT_EQ(occurrences(caseLog.body(), "OK:"), 0);
            renderer.render();  // does nothing without a device
        }
        // No second attempt with another device type.
        EXPECT_LE(occurrences(testing::PrintToString(f.d3d().calls), "CreateDevice"), 1);
        EXPECT_EQ(f.d3d().devices.size(), 0u);
    }
}

TEST_F(RendererTest, FrameSequenceWithCameraSceneAndOverlay) {
    D3D renderer(window);
    FreeCamera camera;
    camera.m_vPosition = D3DXVECTOR3(0, 40, 80);
    camera.m_vLook = D3DXVECTOR3(0, 0, -1);
    camera.m_vRight = D3DXVECTOR3(-1, 0, 0);
    renderer.m_pCamera = &camera;
    Probe scene("scene", journal);
    Probe overlay("overlay", journal);
    renderer.addObject(&scene);
    renderer.addOverlay(&overlay);
    device().viewport.Width = 320;
    device().viewport.Height = 200;

    renderer.render();

    const std::vector<std::string> expected = {
        "TestCooperativeLevel()", "SetTransform(3)", "SetTransform(2)", "Clear(0, 3, 0xFFFFFFFF, 1, 0)",
        "BeginScene()", "SetRenderState(7, 1)", "DrawPrimitive(2, 0, 1)", "GetViewport()", "SetTransform(3)",
        "SetTransform(256)", "SetTransform(2)", "SetRenderState(7, 0)", "SetRenderState(137, 0)",
        "DrawPrimitive(2, 0, 1)", "EndScene()", "Present()",
    };
    EXPECT_EQ(device().calls, expected);
    EXPECT_EQ(journal, (std::vector<std::string>{"draw scene", "draw overlay"}));

    // The scene is drawn in perspective through the camera's view.
    ASSERT_EQ(device().draws.size(), 2u);
    D3DXMATRIX perspective;
    D3DXMatrixPerspectiveFovLH(&perspective, 0.7853982f, 1.0f, 1.0f, 500.0f);
    expectMatrix(device().draws[0].projection, perspective);
    expectMatrix(device().draws[0].view, camera.viewMatrix());
    EXPECT_EQ(device().draws[0].zenable, D3DZB_TRUE);
    // The overlay in pixels of the viewport, identity world and view.
    D3DXMATRIX ortho;
    D3DXMatrixOrthoLH(&ortho, 320.0f, 200.0f, 0.0f, 1.0f);
    expectMatrix(device().draws[1].projection, ortho);
    expectMatrix(device().draws[1].view, identity());
    expectMatrix(device().draws[1].world, identity());
    EXPECT_EQ(device().draws[1].zenable, D3DZB_FALSE);
    EXPECT_EQ(device().draws[1].lighting, static_cast<DWORD>(FALSE));
    EXPECT_EQ(occurrences(log(), "ERROR"), 0);
}

TEST_F(RendererTest, EmptyListsWithoutCameraStillClearAndPresent) {
    D3D renderer(window);
    renderer.render();
    EXPECT_TRUE(device().callsStartingWith("SetTransform(2)").size() == 1u);  // only the overlay pass's identity
    EXPECT_EQ(device().callsStartingWith("Clear(").size(), 1u);
    EXPECT_EQ(device().presents, 1);
    EXPECT_EQ(device().renderState(D3DRS_ZENABLE), D3DZB_FALSE);
    EXPECT_EQ(device().renderState(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
}

TEST_F(RendererTest, LostDeviceNotifiesEveryCallAndDrawsNothing) {
    D3D renderer(window);
    Probe a("a", journal), b("b", journal), o("o", journal);
    renderer.addObject(&a);
    renderer.addObject(&b);
    renderer.addOverlay(&o);
    device().cooperativeLevel = D3DERR_DEVICELOST;

    renderer.render();
    renderer.render();

    EXPECT_EQ(journal, (std::vector<std::string>{"lost a", "lost b", "lost o", "lost a", "lost b", "lost o"}));
    EXPECT_EQ(occurrences(log(), "D3D::render() - D3DERR_DEVICELOST</p>"), 2);
    EXPECT_EQ(device().beginScenes, 0);
    EXPECT_EQ(device().presents, 0);
    EXPECT_EQ(device().resets, 0);
}

TEST_F(RendererTest, DeviceNotResetIsResetForTheCurrentClientSizeAndFormat) {
    D3D renderer(window);
    Probe a("a", journal), o("o", journal);
    renderer.addObject(&a);
    renderer.addOverlay(&o);
    device().cooperativeSequence = {D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET};
    fake.client = {0, 0, 300, 200};
    factory.d3d().mode.Format = D3DFMT_A8R8G8B8;

    renderer.render();  // lost
    renderer.render();  // not reset: reset now
    EXPECT_EQ(journal, (std::vector<std::string>{"lost a", "lost o", "lost a", "lost o", "reset a", "reset o"}));
    EXPECT_EQ(occurrences(log(), "D3D::render() - D3DERR_DEVICENOTRESET</p>"), 1);
    EXPECT_EQ(device().callsStartingWith("Reset("), (std::vector<std::string>{"Reset(300, 200)"}));
    EXPECT_EQ(renderer.m_PresentParams.BackBufferFormat, D3DFMT_A8R8G8B8);
    EXPECT_EQ(renderer.m_PresentParams.hDeviceWindow, window);
    EXPECT_EQ(device().beginScenes, 0);

    renderer.render();  // usable again
    EXPECT_EQ(device().presents, 1);
}

TEST_F(RendererTest, FailedResetIsTriedAgainOnTheNextCall) {
    D3D renderer(window);
    device().cooperativeLevel = D3DERR_DEVICENOTRESET;
    device().resetResult = D3DERR_INVALIDCALL;
    renderer.render();
    renderer.render();
    EXPECT_EQ(device().resets, 2);
    EXPECT_EQ(occurrences(log(), "ERROR"), 2);  // the reset's result is not reported
}

TEST_F(RendererTest, DisplayModeFailureDuringResetDropsDirect3D) {
    D3D renderer(window);
    Probe a("a", journal);
    renderer.addObject(&a);
    device().cooperativeLevel = D3DERR_DEVICENOTRESET;
    factory.d3d().failDisplayMode = true;

    renderer.render();
    EXPECT_EQ(renderer.m_pD3D, nullptr);
    EXPECT_EQ(factory.d3d().refs, 0);
    EXPECT_NE(log().find("pD3D->GetAdapterDisplayMode(...) failed</p>"), std::string::npos);
    EXPECT_EQ(device().resets, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"lost a"}));  // no reset notification

    // Direct3D gone: from then on render does nothing at all, so the log
    // does not fill with one line per frame.
    const std::size_t callsBefore = device().calls.size();
    const std::string logBefore = log();
    renderer.render();
    renderer.render();
    EXPECT_EQ(device().calls.size(), callsBefore);
    EXPECT_EQ(log(), logBefore);
    EXPECT_EQ(journal, (std::vector<std::string>{"lost a"}));
}

TEST_F(RendererTest, AnyOtherDeviceStateIsLoggedAndSkipped) {
    D3D renderer(window);
    Probe a("a", journal);
    renderer.addObject(&a);
    device().cooperativeLevel = D3DERR_DRIVERINTERNALERROR;
    renderer.render();
    EXPECT_NE(log().find("D3D::render() - unknown</p>"), std::string::npos);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(device().calls, (std::vector<std::string>{"TestCooperativeLevel()"}));
}

TEST_F(RendererTest, ListsDoNotOwnAndRemoveEveryDuplicate) {
    D3D renderer(window);
    Probe a("a", journal), b("b", journal);
    renderer.addObject(&a);
    renderer.addObject(&a);
    renderer.addObject(&b);
    renderer.addObject(&a);
    renderer.removeObject(&a);
    EXPECT_EQ(renderer.objects(), (std::vector<Renderable*>{&b}));
    renderer.removeObject(&a);  // absent: no change
    renderer.removeObject(&b);
    EXPECT_TRUE(renderer.objects().empty());

    renderer.addOverlay(&b);
    renderer.addOverlay(&b);
    renderer.addObject(&a);
    renderer.removeOverlay(&b);
    EXPECT_TRUE(renderer.overlays().empty());
    EXPECT_EQ(renderer.objects().size(), 1u);

    renderer.addOverlay(&b);
    renderer.clearAll();
    EXPECT_TRUE(renderer.objects().empty());
    EXPECT_TRUE(renderer.overlays().empty());
    renderer.render();
    EXPECT_TRUE(journal.empty());
}

}  // namespace
