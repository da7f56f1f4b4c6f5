// The viewer's free-flying camera, moved by held keys at a speed scaled by
// the real time between frames, and by the mouse and wheel through direct
// calls from the window procedure.
#pragma once

#include <cstdint>

#include "platform/d3d8/d3d8.h"
#include "platform/d3d8/d3dx8.h"
#include "render/camera.h"

class FreeCamera : public Camera {
public:
    // Starts in the reset pose.
    FreeCamera();

    // Origin, looking along +z, up +y, right +x, no key held.
    void reset() override;
    // The viewer's start pose: at (0, 40, 80), looking along -z, up +y,
    // right -x (right = up × look).
    void placeAtStart();
    // Advances by the held keys and the time since the previous apply of
    // any FreeCamera, then sets D3DTS_VIEW.
    void apply(IDirect3DDevice8* device) override;

    // look ← normalize(look); right ← normalize(up × look);
    // up ← normalize(look × right).
    void orthonormalize();
    // Rotates look and right about up (positive turns look towards right).
    void yaw(float angle);
    // Rotates up and look about right (positive tilts the view down).
    void pitch(float angle);
    void moveForward(float d);  // position += look × d
    void moveRight(float d);    // position += right × d
    void moveDown(float d);     // position −= up × d

    // The part of apply after the clock: turns and moves by the held keys
    // for a step of `step` (twice the elapsed seconds), then sets the view.
    void applyStep(IDirect3DDevice8* device, float step);
    // The view matrix of the current basis and position.
    D3DXMATRIX viewMatrix() const;

    // The millisecond clock apply reads (sys::milliseconds by default).
    // Also forgets the previous time, so the next apply counts as the
    // first. Returns the previous clock. For tests.
    using Clock = std::uint32_t (*)();
    static Clock setClock(Clock clock);

    D3DXVECTOR3 m_vLook;
    D3DXVECTOR3 m_vUp;
    D3DXVECTOR3 m_vRight;  // rebuilt as up × look before every rotation
    D3DXVECTOR3 m_vPosition;

    // Held-key flags, set and cleared by the window procedure.
    bool m_bTurnLeft = false;
    bool m_bTurnRight = false;
    bool m_bLookUp = false;
    bool m_bLookDown = false;
    bool m_bRollPositive = false;
    bool m_bRollNegative = false;
    bool m_bMoveLeft = false;
    bool m_bMoveRight = false;
    bool m_bMoveForward = false;
    bool m_bMoveBack = false;
    bool m_bMoveUp = false;
    bool m_bMoveDown = false;
};
