#include "app/wndproc.h"

#include <cstdint>

#include "app/app_state.h"
#include "app/camera.h"
#include "log/log.h"
#include "model/mds.h"
#include "platform/shell/shell.h"
#include "render/renderer.h"

using namespace shell;

namespace {

constexpr float kQuarterTurn = 1.5707964f;    // π/2 in single precision
constexpr float kDragDistance = 10.0f;        // units per client width/height
constexpr float kWheelNotch = 0.008333334f;   // 1/120: one notch is 1.0

// The held-key flag a key sets on key down and clears on key up; null for
// keys that are not flag keys.
bool* flagFor(FreeCamera& camera, WPARAM key) {
    switch (key) {
    case VK_LEFT: return &camera.m_bTurnLeft;
    case VK_UP: return &camera.m_bLookUp;
    case VK_RIGHT: return &camera.m_bTurnRight;
    case VK_DOWN: return &camera.m_bLookDown;
    case 'A': return &camera.m_bMoveLeft;
    case 'D': return &camera.m_bMoveRight;
    case 'F': return &camera.m_bMoveUp;
    case 'S': return &camera.m_bMoveBack;
    case 'V': return &camera.m_bMoveDown;
    case 'W': return &camera.m_bMoveForward;
    case 'X': return &camera.m_bRollNegative;
    case 'Y': return &camera.m_bRollPositive;
    default: return nullptr;
    }
}

bool bodyLoaded() { return pBody != nullptr && pBody->loaded(); }

void nextFrame() {
    if (!bodyLoaded()) return;
    if (CurrentFrame + 1 < pBody->numFrames()) {
        ++CurrentFrame;
        pBody->setFrame(CurrentFrame);
    }
}

void previousFrame() {
    if (!bodyLoaded()) return;
    if (CurrentFrame > 0) {
        --CurrentFrame;
        pBody->setFrame(CurrentFrame);
    }
}

void startDrag(HWND hwnd) {
    current().getCursorPos(&LastCursor);
    current().setCapture(hwnd);
}

void keyDown(HWND hwnd, WPARAM key) {
    switch (key) {
    case VK_CONTROL: startDrag(hwnd); return;
    case VK_SPACE:
        if (pCamera != nullptr) pCamera->reset();
        return;
    case 'N':
        if (pBody != nullptr) pBody->meshVisible = !pBody->meshVisible;
        return;
    case VK_ADD: nextFrame(); return;
    case VK_SUBTRACT: previousFrame(); return;
    default: break;
    }
    if (pCamera == nullptr) return;
    if (bool* flag = flagFor(*pCamera, key)) *flag = true;
}

void keyUp(WPARAM key) {
    if (key == VK_CONTROL) {
        current().releaseCapture();
        return;
    }
    if (pCamera == nullptr) return;
    if (bool* flag = flagFor(*pCamera, key)) *flag = false;
}

void mouseMove(HWND hwnd, WPARAM buttons) {
    POINT now = LastCursor;
    current().getCursorPos(&now);
    const bool turning = (buttons & MK_RBUTTON) != 0;
    const bool moving = !turning && (buttons & MK_CONTROL) != 0;
    if ((turning || moving) && pCamera != nullptr) {
        RECT rc{};
        current().getClientRect(hwnd, &rc);
        const float w = static_cast<float>(rc.right - rc.left);
        const float h = static_cast<float>(rc.bottom - rc.top);
        const float dx = static_cast<float>(now.x - LastCursor.x);
        const float dy = static_cast<float>(now.y - LastCursor.y);
        // An empty client area gives no scale; the drag then only moves
        // the reference point instead of sending infinities to the camera.
        if (w > 0.0f && h > 0.0f) {
            if (turning) {
                pCamera->yaw(dx * kQuarterTurn / w);
                pCamera->pitch(dy * kQuarterTurn / h);
            } else {
                // Crosswise on purpose: vertical by the width, horizontal
                // by the height.
                pCamera->moveDown(dy * kDragDistance / w);
                pCamera->moveRight(dx * kDragDistance / h);
            }
        }
    }
    LastCursor = now;
}

void mouseWheel(WPARAM wParam) {
    const float amount = static_cast<float>(static_cast<std::int16_t>(HIWORD(wParam))) * kWheelNotch;
    pLog->print("delta = %f<br>\n", amount);
    if (pCamera != nullptr) pCamera->moveForward(amount);
}

}  // namespace

LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY: current().postQuitMessage(0); return 0;
    case WM_ACTIVATE: Active = LOWORD(wParam) != WA_INACTIVE; return 0;
    case WM_PAINT:
        if (pRenderer != nullptr) pRenderer->render();
        current().validateRect(hwnd, nullptr);
        return 0;
    case WM_KEYDOWN: keyDown(hwnd, wParam); return 0;
    case WM_KEYUP: keyUp(wParam); return 0;
    case WM_RBUTTONDOWN: startDrag(hwnd); return 0;
    case WM_RBUTTONUP: current().releaseCapture(); return 0;
    case WM_MOUSEMOVE: mouseMove(hwnd, wParam); return 0;
    case WM_MOUSEWHEEL: mouseWheel(wParam); return 0;
    default: return current().defWindowProc(hwnd, msg, wParam, lParam);
    }
}
