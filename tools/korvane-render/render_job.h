// The work of korvane-render once the surface and the shell are installed:
// the viewer's own start-up and model assembly from the options, then one
// drawn frame per requested animation frame, each saved as a PNG file; with
// several body skins the body stays loaded and only its skin changes.
#pragma once

#include <string>

#include "offscreen_shell.h"
#include "options.h"
#include "platform/d3d8/surface.h"
#include "run_logs.h"

namespace kr {

// True when every picture was written; otherwise false with a one-line
// reason in `error`. Leaves the application state as at the start.
bool renderFrames(const Options& options, GlSurface& surface, const OffscreenShell& shell, RunLogs& logs,
                  std::string& error);

}  // namespace kr
