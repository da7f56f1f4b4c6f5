// The Qt 6 implementation of the shell (windows, messages, dialogs,
// controls) and of the OpenGL surfaces behind its windows.
//
// Input and close requests are posted to the queue; activation, paint and
// destruction are sent straight to the window procedure, so they arrive
// while a modal dialog runs its own loop.
//
// For automated runs:
// - KV_OPEN_FILE_ANSWER=<path> makes getOpenFileName answer with that path
//   without showing a dialog (an empty value answers "cancelled"). The
//   answer goes through the same rules as a picked file: default extension,
//   must exist (else it counts as cancelled), must fit the caller's buffer
//   (else FNERR_BUFFERTOOSMALL).
// - Every dialog control with an identifier carries it as its Qt object
//   name ("1001"), so tests can find it with findChild.
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
