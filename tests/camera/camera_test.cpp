// The free-flying camera: its poses, the clock-driven step, the held-key
// rules and rotation directions, and the view matrix it sets.
#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "app/camera.h"
#include "recording_device.h"

namespace {

std::uint32_t g_now = 0;
std::uint32_t fakeClock() { return g_now; }

// Installs the fake clock (forgetting the previous apply) for one test.
class CameraTest : public ::testing::Test {
protected:
    CameraTest() {
        g_now = 100000;
        previous_ = FreeCamera::setClock(&fakeClock);
    }
    ~CameraTest() override { FreeCamera::setClock(previous_); }

    // Applies once at the current time, then again `ms` later.
    void applyAfter(FreeCamera& camera, std::uint32_t ms) {
        camera.apply(&device);
        g_now += ms;
        camera.apply(&device);
    }

    static void startPose(FreeCamera& c) {
        c.m_vPosition = D3DXVECTOR3(0, 40, 80);
        c.m_vLook = D3DXVECTOR3(0, 0, -1);
        c.m_vUp = D3DXVECTOR3(0, 1, 0);
        c.m_vRight = D3DXVECTOR3(-1, 0, 0);
    }

    rec::RecordingDevice device;

private:
    FreeCamera::Clock previous_ = nullptr;
};

void expectVec(const D3DXVECTOR3& v, float x, float y, float z, float tol = 1e-5f) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

D3DXVECTOR3 transformed(const D3DXVECTOR3& p, const D3DMATRIX& m) {
    D3DXMATRIX x;
    static_cast<D3DMATRIX&>(x) = m;
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &p, &x);
    return out;
}

TEST_F(CameraTest, ResetPoseAndNoKeyHeld) {
    FreeCamera camera;
    startPose(camera);
    camera.m_bMoveForward = camera.m_bTurnLeft = camera.m_bRollNegative = camera.m_bMoveDown = true;
    camera.reset();
    expectVec(camera.m_vLook, 0, 0, 1);
    expectVec(camera.m_vUp, 0, 1, 0);
    expectVec(camera.m_vRight, 1, 0, 0);
    expectVec(camera.m_vPosition, 0, 0, 0);
    applyAfter(camera, 1000);
    expectVec(camera.m_vPosition, 0, 0, 0);  // nothing counts as held
    expectVec(camera.m_vLook, 0, 0, 1);
}

TEST_F(CameraTest, StartPoseViewPutsTheOriginEightyAheadAndFortyBelow) {
    FreeCamera camera;
    startPose(camera);
    camera.apply(&device);
    ASSERT_EQ(device.callsStartingWith("SetTransform(2)").size(), 1u);
    const D3DMATRIX view = device.transform(D3DTS_VIEW);
    expectVec(transformed(D3DXVECTOR3(0, 0, 0), view), 0, -40, 80);
    // The eye itself maps to the origin of view space.
    expectVec(transformed(D3DXVECTOR3(0, 40, 80), view), 0, 0, 0);
    EXPECT_FLOAT_EQ(view.m[0][0], -1.0f);  // right.x
    EXPECT_FLOAT_EQ(view.m[2][2], -1.0f);  // look.z
    EXPECT_FLOAT_EQ(view.m[3][3], 1.0f);
}

TEST_F(CameraTest, FirstApplyMovesNothingWhateverKeysAreHeld) {
    FreeCamera camera;
    startPose(camera);
    camera.m_bMoveForward = camera.m_bTurnRight = camera.m_bLookDown = camera.m_bRollPositive = true;
    camera.apply(&device);
    expectVec(camera.m_vPosition, 0, 40, 80);
    expectVec(camera.m_vLook, 0, 0, -1);
    expectVec(camera.m_vUp, 0, 1, 0);
}

TEST_F(CameraTest, StepIsTwiceTheElapsedSecondsAndSharedByAllCameras) {
    FreeCamera first;
    FreeCamera second;
    second.m_bMoveForward = true;
    first.apply(&device);    // sets the shared previous time
    g_now += 500;            // half a second: step 1
    second.apply(&device);   // 4 units along +z
    expectVec(second.m_vPosition, 0, 0, 4);

    // Time while nothing was drawn counts in full at the next apply.
    g_now += 2500;
    second.apply(&device);
    expectVec(second.m_vPosition, 0, 0, 24);
}

TEST_F(CameraTest, MovesAddUpAndPairsCancel) {
    struct Case {
        const char* name;
        bool FreeCamera::*keys[2];
        float x, y, z;
    };
    const Case cases[] = {
        {"up", {&FreeCamera::m_bMoveUp, nullptr}, 0, 4, 0},
        {"down", {&FreeCamera::m_bMoveDown, nullptr}, 0, -4, 0},
        {"forward", {&FreeCamera::m_bMoveForward, nullptr}, 0, 0, 4},
        {"back", {&FreeCamera::m_bMoveBack, nullptr}, 0, 0, -4},
        {"left", {&FreeCamera::m_bMoveLeft, nullptr}, -4, 0, 0},
        {"right", {&FreeCamera::m_bMoveRight, nullptr}, 4, 0, 0},
        {"up+down", {&FreeCamera::m_bMoveUp, &FreeCamera::m_bMoveDown}, 0, 0, 0},
        {"forward+back", {&FreeCamera::m_bMoveForward, &FreeCamera::m_bMoveBack}, 0, 0, 0},
        {"left+right", {&FreeCamera::m_bMoveLeft, &FreeCamera::m_bMoveRight}, 0, 0, 0},
        {"forward+right", {&FreeCamera::m_bMoveForward, &FreeCamera::m_bMoveRight}, 4, 0, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreeCamera camera;
        for (auto key : c.keys)
            if (key) camera.*key = true;
        camera.applyStep(&device, 1.0f);
        expectVec(camera.m_vPosition, c.x, c.y, c.z);
        expectVec(camera.m_vLook, 0, 0, 1);
    }
}

TEST_F(CameraTest, TurnKeysRotateByPointSixPerStepWithTheLaterKeyWinning) {
    const float a = 0.6f;
    struct Case {
        const char* name;
        bool FreeCamera::*keys[2];
        // expected look, up, right after one step of 1
        D3DXVECTOR3 look, up, right;
    };
    const D3DXVECTOR3 z(0, 0, 1), y(0, 1, 0), x(1, 0, 0);
    const Case cases[] = {
        // Positive yaw turns look towards right.
        {"turn right", {&FreeCamera::m_bTurnRight, nullptr}, {std::sin(a), 0, std::cos(a)}, y,
         {std::cos(a), 0, -std::sin(a)}},
        {"turn left", {&FreeCamera::m_bTurnLeft, nullptr}, {-std::sin(a), 0, std::cos(a)}, y,
         {std::cos(a), 0, std::sin(a)}},
        {"left+right turns right", {&FreeCamera::m_bTurnLeft, &FreeCamera::m_bTurnRight},
         {std::sin(a), 0, std::cos(a)}, y, {std::cos(a), 0, -std::sin(a)}},
        // Positive pitch (look down) turns look towards -up.
        {"look down", {&FreeCamera::m_bLookDown, nullptr}, {0, -std::sin(a), std::cos(a)},
         {0, std::cos(a), std::sin(a)}, x},
        {"up+down looks up", {&FreeCamera::m_bLookDown, &FreeCamera::m_bLookUp}, {0, std::sin(a), std::cos(a)},
         {0, std::cos(a), -std::sin(a)}, x},
        // Positive roll turns right towards up.
        {"roll positive", {&FreeCamera::m_bRollPositive, nullptr}, z, {-std::sin(a), std::cos(a), 0},
         {std::cos(a), std::sin(a), 0}},
        {"both rolls give negative", {&FreeCamera::m_bRollPositive, &FreeCamera::m_bRollNegative}, z,
         {std::sin(a), std::cos(a), 0}, {std::cos(a), -std::sin(a), 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreeCamera camera;
        for (auto key : c.keys)
            if (key) camera.*key = true;
        camera.applyStep(&device, 1.0f);
        expectVec(camera.m_vLook, c.look.x, c.look.y, c.look.z);
        expectVec(camera.m_vUp, c.up.x, c.up.y, c.up.z);
        expectVec(camera.m_vRight, c.right.x, c.right.y, c.right.z);
    }
}

TEST_F(CameraTest, MovesUseTheAxesBeforeTheTurnOfTheSameStep) {
    FreeCamera camera;
    camera.m_bMoveForward = true;
    camera.m_bTurnRight = true;
    camera.applyStep(&device, 1.0f);
    expectVec(camera.m_vPosition, 0, 0, 4);  // along the old look (+z)
    // The view set is the one of the new basis.
    const D3DMATRIX view = device.transform(D3DTS_VIEW);
    const D3DXMATRIX expected = camera.viewMatrix();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(view.m[r][c], expected.m[r][c]);
}

TEST_F(CameraTest, OrthonormalizeRebuildsRightAndUpFromLook) {
    FreeCamera camera;
    camera.m_vLook = D3DXVECTOR3(0, 0, 5);
    camera.m_vUp = D3DXVECTOR3(0, 2, 1);   // not perpendicular to look
    camera.m_vRight = D3DXVECTOR3(7, 7, 7);  // ignored
    camera.orthonormalize();
    expectVec(camera.m_vLook, 0, 0, 1);
    expectVec(camera.m_vRight, 1, 0, 0);
    expectVec(camera.m_vUp, 0, 1, 0);
}

TEST_F(CameraTest, MouseOperationsActAtOnce) {
    FreeCamera camera;
    camera.moveForward(2.0f);
    camera.moveRight(3.0f);
    camera.moveDown(1.5f);
    expectVec(camera.m_vPosition, 3, -1.5f, 2);

    camera.yaw(std::numbers::pi_v<float> / 2);
    expectVec(camera.m_vLook, 1, 0, 0);
    expectVec(camera.m_vRight, 0, 0, -1);
    camera.pitch(std::numbers::pi_v<float> / 2);  // look tilts to -up
    expectVec(camera.m_vLook, 0, -1, 0);
    expectVec(camera.m_vUp, 1, 0, 0);
    EXPECT_TRUE(device.calls.empty());  // no clock, no device
}

TEST(CameraBase, ApplySetsTheIdentityView) {
    rec::RecordingDevice device;
    D3DMATRIX skewed{};
    skewed.m[3][1] = 9.0f;
    device.SetTransform(D3DTS_VIEW, &skewed);
    Camera camera;
    camera.apply(&device);
    const D3DMATRIX view = device.transform(D3DTS_VIEW);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(view.m[r][c], r == c ? 1.0f : 0.0f);
}

}  // namespace
