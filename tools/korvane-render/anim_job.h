// --list-anims and --anim: the model's "wolfanim.cfg" (next to body.mds,
// found like every model file), listed, or one of its animations drawn as
// numbered PNG files or as one animated WebP at the animation's speed.
#pragma once

#include <string>

#include "options.h"
#include "platform/d3d8/surface.h"

namespace kr {

// Prints one header line and one line per animation (NAME FIRST FRAMES
// LOOP FPS) to stdout, the head rows as comment lines after them. Needs no
// display and writes no log. False with the reader's message otherwise.
bool listAnimations(const Options& options, std::string& error);

// Once the body is loaded (the application state holds it): draws every
// frame of `options.anim` with the same device and model.
bool renderAnimation(const Options& options, GlSurface& surface, std::string& error);

}  // namespace kr
