// The work of korvane-render once the surface and the shell are installed:
// the viewer's renderer, camera and grid as its start-up makes them, the
// player scene built from the options and drawn as a scene::DrawnScene,
// framed on every frame requested, then one picture per frame, each saved
// as a PNG file; with several body skins the body stays loaded and only its
// skin changes.
#pragma once

#include <string>

#include "options.h"
#include "platform/d3d8/surface.h"
#include "run_logs.h"

namespace kr {

// True when every picture was written; otherwise false with a one-line
// reason in `error`. `window` is the handle the surface is installed for;
// everything made is destroyed and the logs are closed on return.
bool renderFrames(const Options& options, GlSurface& surface, HWND window, RunLogs& logs, std::string& error);

}  // namespace kr
