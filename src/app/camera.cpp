#include "app/camera.h"

#include "platform/sys/sys.h"

namespace {

// Radians per step for the turn keys and world units per step for the move
// keys; a step is twice the elapsed seconds.
constexpr float kTurnRate = 0.6f;
constexpr float kMoveRate = 4.0f;

// The time of the previous apply in seconds, shared by every FreeCamera.
FreeCamera::Clock g_clock = &sys::milliseconds;
bool g_bHavePrevious = false;
float g_fPrevious = 0.0f;

D3DXVECTOR3 scaled(const D3DXVECTOR3& v, float s) { return D3DXVECTOR3(v.x * s, v.y * s, v.z * s); }

void add(D3DXVECTOR3& to, const D3DXVECTOR3& v) {
    to.x += v.x;
    to.y += v.y;
    to.z += v.z;
}

void subtract(D3DXVECTOR3& from, const D3DXVECTOR3& v) {
    from.x -= v.x;
    from.y -= v.y;
    from.z -= v.z;
}

void transform(D3DXVECTOR3& v, const D3DXMATRIX& m) {
    const D3DXVECTOR3 in = v;
    D3DXVec3TransformCoord(&v, &in, &m);
}

}  // namespace

FreeCamera::FreeCamera() { FreeCamera::reset(); }

void FreeCamera::placeAtStart() {
    m_vPosition = D3DXVECTOR3(0.0f, 40.0f, 80.0f);
    m_vLook = D3DXVECTOR3(0.0f, 0.0f, -1.0f);
    m_vUp = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    m_vRight = D3DXVECTOR3(-1.0f, 0.0f, 0.0f);
}

void FreeCamera::reset() {
    m_vLook = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    m_vUp = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    m_vRight = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
    m_vPosition = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    m_bTurnLeft = m_bTurnRight = false;
    m_bLookUp = m_bLookDown = false;
    m_bRollPositive = m_bRollNegative = false;
    m_bMoveLeft = m_bMoveRight = false;
    m_bMoveForward = m_bMoveBack = false;
    m_bMoveUp = m_bMoveDown = false;
}

FreeCamera::Clock FreeCamera::setClock(Clock clock) {
    const Clock previous = g_clock;
    g_clock = clock ? clock : &sys::milliseconds;
    g_bHavePrevious = false;
    return previous;
}

void FreeCamera::apply(IDirect3DDevice8* device) {
    const float now = static_cast<float>(g_clock()) * 0.001f;
    if (!g_bHavePrevious) {
        g_fPrevious = now;
        g_bHavePrevious = true;
    }
    const float step = 2.0f * (now - g_fPrevious);
    g_fPrevious = now;
    applyStep(device, step);
}

void FreeCamera::applyStep(IDirect3DDevice8* device, float step) {
    // Turn angles; within a pair the later key wins.
    float yawAngle = 0.0f;
    if (m_bTurnLeft) yawAngle = -kTurnRate * step;
    if (m_bTurnRight) yawAngle = kTurnRate * step;
    float pitchAngle = 0.0f;
    if (m_bLookDown) pitchAngle = kTurnRate * step;
    if (m_bLookUp) pitchAngle = -kTurnRate * step;
    float rollAngle = 0.0f;
    if (m_bRollPositive) rollAngle = kTurnRate * step;
    if (m_bRollNegative) rollAngle = -kTurnRate * step;

    // Moves along the axes as they stand; both keys of a pair cancel.
    const float distance = kMoveRate * step;
    if (m_bMoveUp) add(m_vPosition, scaled(m_vUp, distance));
    if (m_bMoveDown) subtract(m_vPosition, scaled(m_vUp, distance));
    if (m_bMoveForward) add(m_vPosition, scaled(m_vLook, distance));
    if (m_bMoveBack) subtract(m_vPosition, scaled(m_vLook, distance));
    if (m_bMoveLeft) subtract(m_vPosition, scaled(m_vRight, distance));
    if (m_bMoveRight) add(m_vPosition, scaled(m_vRight, distance));

    orthonormalize();

    // All three rotations are built from the axes before any is applied.
    D3DXMATRIX r1;
    D3DXMATRIX r2;
    D3DXMATRIX r3;
    D3DXMatrixRotationAxis(&r1, &m_vUp, yawAngle);
    D3DXMatrixRotationAxis(&r2, &m_vRight, pitchAngle);
    D3DXMatrixRotationAxis(&r3, &m_vLook, rollAngle);
    transform(m_vLook, r1);
    transform(m_vRight, r1);
    transform(m_vUp, r2);
    transform(m_vLook, r2);
    transform(m_vRight, r3);
    transform(m_vUp, r3);

    const D3DXMATRIX view = viewMatrix();
    if (device) device->SetTransform(D3DTS_VIEW, &view);
}

D3DXMATRIX FreeCamera::viewMatrix() const {
    D3DXMATRIX v;
    v(0, 0) = m_vRight.x;
    v(0, 1) = m_vUp.x;
    v(0, 2) = m_vLook.x;
    v(1, 0) = m_vRight.y;
    v(1, 1) = m_vUp.y;
    v(1, 2) = m_vLook.y;
    v(2, 0) = m_vRight.z;
    v(2, 1) = m_vUp.z;
    v(2, 2) = m_vLook.z;
    v(3, 0) = -D3DXVec3Dot(&m_vRight, &m_vPosition);
    v(3, 1) = -D3DXVec3Dot(&m_vUp, &m_vPosition);
    v(3, 2) = -D3DXVec3Dot(&m_vLook, &m_vPosition);
    v(3, 3) = 1.0f;
    return v;
}

void FreeCamera::orthonormalize() {
    D3DXVECTOR3 v = m_vLook;
    D3DXVec3Normalize(&m_vLook, &v);
    D3DXVec3Cross(&v, &m_vUp, &m_vLook);
    D3DXVec3Normalize(&m_vRight, &v);
    D3DXVec3Cross(&v, &m_vLook, &m_vRight);
    D3DXVec3Normalize(&m_vUp, &v);
}

void FreeCamera::yaw(float angle) {
    orthonormalize();
    D3DXMATRIX m;
    D3DXMatrixRotationAxis(&m, &m_vUp, angle);
    transform(m_vLook, m);
    transform(m_vRight, m);
}

void FreeCamera::pitch(float angle) {
    orthonormalize();
    D3DXMATRIX m;
    D3DXMatrixRotationAxis(&m, &m_vRight, angle);
    transform(m_vUp, m);
    transform(m_vLook, m);
}

void FreeCamera::moveForward(float d) { add(m_vPosition, scaled(m_vLook, d)); }

void FreeCamera::moveRight(float d) { add(m_vPosition, scaled(m_vRight, d)); }

void FreeCamera::moveDown(float d) { subtract(m_vPosition, scaled(m_vUp, d)); }
