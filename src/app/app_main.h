// The viewer's entry and its one thread of control: start-up, the start-up
// dialog, the model assembly, the non-blocking message loop and shutdown.
// The program's real entry (korvane_main.cpp) installs the window system,
// the graphics device and the log, then calls appMain.
#pragma once

#include "platform/wintypes.h"

// The whole program: start-up, dialog, assembly on OK, loop, shutdown.
// Always returns 0.
int appMain(int cmdShow);

// ---- the steps, in the order appMain runs them ----------------------------------
// Registers the window class, creates the main window, the renderer, the
// camera and the grid, sets the start pose, shows and activates the window.
void startViewer(int cmdShow);
// Builds the player scene from the dialog's answers: body, frame 0, scene
// list, body skin, accessories, head skin, head and hat. Only a body that
// cannot be loaded is reported to the user (message box); the rest goes to
// the log.
void assembleModel();
// Dispatches messages while there are any and draws while the window is
// active; returns on WM_QUIT.
void runMessageLoop();
// Empties the scene list and destroys the player scene (head skin, body
// skin, body), grid, camera and renderer, in this order; puts the application state back to its start.
void shutdownViewer();
