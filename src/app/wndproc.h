// The main window's procedure: activation, painting, the key and mouse
// bindings that drive the camera, the frame keys and the mesh toggle, and
// the quit message when the window is destroyed.
#pragma once

#include "platform/wintypes.h"

LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
