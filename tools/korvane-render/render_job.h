// The work of korvane-render once the surface and the shell are installed:
// the viewer's own start-up and model assembly from the options, then one
// drawn frame per requested animation frame, each saved as a PNG file.
#pragma once

#include <string>

#include "offscreen_shell.h"
#include "platform/qt/qt_offscreen_surface.h"
#include "options.h"

namespace kr {

using qtshell::OffscreenSurface;

// True when every picture was written; otherwise false with a one-line
// reason in `error`. Leaves the application state as at the start.
bool renderFrames(const Options& options, OffscreenSurface& surface, const OffscreenShell& shell,
                  std::string& error);

}  // namespace kr
