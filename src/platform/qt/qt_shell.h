// The Qt 6 implementation of the shell (windows, messages, dialogs,
// controls) and of the OpenGL surfaces behind its windows.
#pragma once

#include <memory>

#include "platform/d3d8/surface.h"
#include "platform/shell/shell.h"

namespace qtshell {

// Creates the QApplication (from the program's arguments) and the shell on
// it. One per process; destroy it before the process ends.
std::unique_ptr<shell::Shell> createQtShell(int& argc, char** argv);

// The OpenGL surface of a window made by the Qt shell (null for other
// handles); install it with setSurfaceProvider.
GlSurface* surfaceForQtWindow(HWND hwnd);

}  // namespace qtshell
