// The main window's procedure: activation, painting, held-key flags, the
// frame and mesh keys, mouse drags and the wheel.
#include <cmath>
#include <memory>

#include "app/camera.h"
#include "app/wndproc.h"
#include "app_fixture.h"
#include "model/mds.h"
#include "model_files.h"
#include "render/renderer.h"

using namespace shell;

namespace {

class WndProcTest : public AppTest {
protected:
    WndProcTest() {
        fake.registerClass({0, WndProc, "MyWndClass"});
        hwnd = fake.createWindow(0, "MyWndClass", "Korvane", 0, 0, 0, 500, 500);
        pCamera = &camera;
    }
    ~WndProcTest() override {
        if (pBody == body.get()) pBody = nullptr;
    }

    LRESULT send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return fake.send(hwnd, msg, w, l); }
    void key(WPARAM vk) {
        send(WM_KEYDOWN, vk);
        send(WM_KEYUP, vk);
    }
    void moveTo(LONG x, LONG y, WPARAM buttons) {
        fake.cursor = {x, y};
        send(WM_MOUSEMOVE, buttons, 0);
    }
    // A body loaded from a written file on the recording device.
    void loadBody(int frames) {
        app_test::writeBody(dir.path(), frames);
        device = std::make_unique<rec::RecordingDevice>();
        body = std::make_unique<MDS>(device.get(), "m");
        ASSERT_EQ(body->loadFromFile((dir.path() + "/body.mds").c_str()), 1);
        body->setFrame(0);
        pBody = body.get();
    }
    std::size_t locks() const { return device->callsStartingWith("VB.Lock(").size(); }

    HWND hwnd = nullptr;
    FreeCamera camera;
    testing_support::TempDir dir;
    std::unique_ptr<rec::RecordingDevice> device;
    std::unique_ptr<MDS> body;
};

void expectNear(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    EXPECT_FLOAT_EQ(a.x, b.x);
    EXPECT_FLOAT_EQ(a.y, b.y);
    EXPECT_FLOAT_EQ(a.z, b.z);
}

TEST_F(WndProcTest, ActivationFollowsTheLowWord) {
    send(WM_ACTIVATE, WA_ACTIVE);
    EXPECT_TRUE(Active);
    send(WM_ACTIVATE, WA_INACTIVE | (1u << 16));
    EXPECT_FALSE(Active);
    send(WM_ACTIVATE, WA_CLICKACTIVE);
    EXPECT_TRUE(Active);
    send(WM_ACTIVATE, WA_INACTIVE);
    send(WM_ACTIVATE, WA_ACTIVE | (1u << 16));  // activated while minimised
    EXPECT_TRUE(Active);
}

TEST_F(WndProcTest, PaintRendersAndValidatesDestroyPostsQuit) {
    D3D renderer(hwnd);
    pRenderer = &renderer;
    EXPECT_EQ(send(WM_PAINT), 0);
    ASSERT_NE(direct3d.lastDevice(), nullptr);
    EXPECT_EQ(direct3d.lastDevice()->presents, 1);
    EXPECT_EQ(fake.events.back(), "validate");
    pRenderer = nullptr;

    EXPECT_EQ(send(WM_DESTROY), 0);
    ASSERT_EQ(fake.queue.size(), 1u);
    EXPECT_EQ(fake.queue.front().message, WM_QUIT);
    EXPECT_EQ(fake.queue.front().wParam, 0u);
    EXPECT_TRUE(fake.defProcCalls.empty());
}

TEST_F(WndProcTest, FlagKeysSetOnDownAndClearOnUp) {
    struct Row {
        WPARAM vk;
        bool FreeCamera::*flag;
    };
    const Row rows[] = {
        {VK_LEFT, &FreeCamera::m_bTurnLeft},     {VK_RIGHT, &FreeCamera::m_bTurnRight},
        {VK_UP, &FreeCamera::m_bLookUp},         {VK_DOWN, &FreeCamera::m_bLookDown},
        {'Y', &FreeCamera::m_bRollPositive},     {'X', &FreeCamera::m_bRollNegative},
        {'A', &FreeCamera::m_bMoveLeft},         {'D', &FreeCamera::m_bMoveRight},
        {'W', &FreeCamera::m_bMoveForward},      {'S', &FreeCamera::m_bMoveBack},
        {'F', &FreeCamera::m_bMoveUp},           {'V', &FreeCamera::m_bMoveDown},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(send(WM_KEYDOWN, row.vk), 0);
        int held = 0;
        for (const Row& other : rows) held += camera.*(other.flag) ? 1 : 0;
        EXPECT_TRUE(camera.*(row.flag)) << row.vk;
        EXPECT_EQ(held, 1) << row.vk;
        send(WM_KEYUP, row.vk);
        EXPECT_FALSE(camera.*(row.flag)) << row.vk;
    }
    // Lower-case codes and other keys are not bindings.
    send(WM_KEYDOWN, 'w');
    send(WM_KEYDOWN, 'Q');
    EXPECT_FALSE(camera.m_bMoveForward);
    EXPECT_TRUE(fake.defProcCalls.empty());
}

TEST_F(WndProcTest, SpaceResetsAndAltF4GoesToTheDefaultProcedure) {
    camera.m_vPosition = D3DXVECTOR3(5, 6, 7);
    camera.m_bMoveBack = true;
    send(WM_KEYDOWN, VK_SPACE);
    expectNear(camera.m_vPosition, D3DXVECTOR3(0, 0, 0));
    expectNear(camera.m_vLook, D3DXVECTOR3(0, 0, 1));
    EXPECT_FALSE(camera.m_bMoveBack);

    send(WM_SYSKEYDOWN, VK_F4, 0);
    ASSERT_FALSE(fake.defProcCalls.empty());
    EXPECT_EQ(fake.defProcCalls.front().message, WM_SYSKEYDOWN);
    EXPECT_TRUE(fake.windows[0].destroyed);
    EXPECT_EQ(fake.events.back(), "quit 0");
}

TEST_F(WndProcTest, FrameKeysStepWithinTheFrames) {
    loadBody(3);
    std::size_t before = locks();
    key(VK_SUBTRACT);  // at frame 0
    EXPECT_EQ(CurrentFrame, 0u);
    EXPECT_EQ(locks(), before);

    key(VK_ADD);
    EXPECT_EQ(CurrentFrame, 1u);
    EXPECT_GT(locks(), before);  // setFrame rewrote the buffers
    for (int i = 0; i < 5; ++i) send(WM_KEYDOWN, VK_ADD);  // held: repeats
    EXPECT_EQ(CurrentFrame, 2u);
    before = locks();
    send(WM_KEYDOWN, VK_ADD);
    EXPECT_EQ(locks(), before);  // the last frame: nothing
    key(VK_SUBTRACT);
    EXPECT_EQ(CurrentFrame, 1u);
    EXPECT_GT(locks(), before);
}

TEST_F(WndProcTest, FrameKeysDoNothingOnAOneFrameModel) {
    loadBody(1);
    const std::size_t before = locks();
    key(VK_ADD);
    EXPECT_EQ(CurrentFrame, 0u);
    EXPECT_EQ(locks(), before);
}

TEST_F(WndProcTest, MeshKeyTogglesAnExistingBodyOnly) {
    key('N');  // no body: nothing happens
    EXPECT_EQ(CurrentFrame, 0u);
    key(VK_ADD);
    EXPECT_EQ(CurrentFrame, 0u);

    // A body that failed to load: N toggles, the frame keys do nothing.
    rec::RecordingDevice dev;
    MDS unloaded(&dev, "m");
    unloaded.loadFromFile((dir.path() + "/missing.mds").c_str());
    pBody = &unloaded;
    EXPECT_TRUE(unloaded.meshVisible);
    key('N');
    EXPECT_FALSE(unloaded.meshVisible);
    send(WM_KEYDOWN, 'N');  // repeats keep toggling
    EXPECT_TRUE(unloaded.meshVisible);
    key(VK_ADD);
    EXPECT_EQ(CurrentFrame, 0u);
    pBody = nullptr;
}

TEST_F(WndProcTest, CaptureFollowsTheRightButtonAndCtrl) {
    fake.cursor = {321, 123};
    send(WM_RBUTTONDOWN, MK_RBUTTON, 0x00050005);
    EXPECT_EQ(LastCursor.x, 321);  // screen position, not the message's
    EXPECT_EQ(LastCursor.y, 123);
    EXPECT_EQ(fake.captured, hwnd);
    send(WM_RBUTTONUP);
    EXPECT_EQ(fake.captured, nullptr);

    fake.cursor = {10, 20};
    send(WM_KEYDOWN, VK_CONTROL);
    EXPECT_EQ(LastCursor.x, 10);
    EXPECT_EQ(fake.captured, hwnd);
    send(WM_KEYUP, VK_CONTROL);
    EXPECT_EQ(fake.captured, nullptr);
}

TEST_F(WndProcTest, RightDragTurnsByAQuarterTurnPerClientSize) {
    fake.client = {0, 0, 400, 300};
    LastCursor = {100, 100};
    moveTo(140, 70, MK_RBUTTON | MK_CONTROL);  // Ctrl as well: turns only

    FreeCamera expected;
    expected.yaw(40 * 1.5707964f / 400);
    expected.pitch(-30 * 1.5707964f / 300);
    expectNear(camera.m_vLook, expected.m_vLook);
    expectNear(camera.m_vUp, expected.m_vUp);
    expectNear(camera.m_vPosition, D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(LastCursor.x, 140);
    EXPECT_EQ(LastCursor.y, 70);
    // Dragging right turns the view right.
    EXPECT_GT(camera.m_vLook.x, 0.0f);
}

TEST_F(WndProcTest, CtrlDragMovesCrosswise) {
    fake.client = {0, 0, 400, 300};
    LastCursor = {0, 0};
    moveTo(30, 20, MK_CONTROL);
    // moveRight(dx * 10 / h) = 1, moveDown(dy * 10 / w) = 0.5
    expectNear(camera.m_vPosition, D3DXVECTOR3(1.0f, -0.5f, 0.0f));
    expectNear(camera.m_vLook, D3DXVECTOR3(0, 0, 1));
}

TEST_F(WndProcTest, PlainMovesOnlyUpdateTheReferencePoint) {
    LastCursor = {0, 0};
    moveTo(250, 80, 0);
    expectNear(camera.m_vPosition, D3DXVECTOR3(0, 0, 0));
    expectNear(camera.m_vLook, D3DXVECTOR3(0, 0, 1));
    EXPECT_EQ(LastCursor.x, 250);
    EXPECT_EQ(LastCursor.y, 80);
    fake.client = {0, 0, 100, 100};
    moveTo(250, 100, MK_CONTROL);  // the drag starts from where the cursor was
    expectNear(camera.m_vPosition, D3DXVECTOR3(0, -2, 0));
}

TEST_F(WndProcTest, EmptyClientAreaKeepsTheCameraFinite) {
    fake.client = {0, 0, 0, 0};
    moveTo(50, 50, MK_RBUTTON);
    moveTo(90, 10, MK_CONTROL);
    EXPECT_TRUE(std::isfinite(camera.m_vLook.x) && std::isfinite(camera.m_vPosition.y));
    EXPECT_EQ(LastCursor.x, 90);
}

TEST_F(WndProcTest, WheelMovesAlongTheViewAndLogsEachNotch) {
    send(WM_MOUSEWHEEL, static_cast<WPARAM>(120u << 16));
    expectNear(camera.m_vPosition, D3DXVECTOR3(0, 0, 1));
    send(WM_MOUSEWHEEL, static_cast<WPARAM>(0xFF88u << 16) | MK_RBUTTON);  // -120
    send(WM_MOUSEWHEEL, static_cast<WPARAM>(0xFF88u << 16));
    expectNear(camera.m_vPosition, D3DXVECTOR3(0, 0, -1));
    EXPECT_EQ(logCount("delta = 1.000000<br>\n"), 1);
    EXPECT_EQ(logCount("delta = -1.000000<br>\n"), 2);
}

}  // namespace
