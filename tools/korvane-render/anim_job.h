// --list-anims and --anim: the model's "wolfanim.cfg" (next to body.mds,
// found like every model file), listed, or one of its animations drawn as
// numbered PNG files or as one animated WebP at the animation's speed.
#pragma once

#include <string>

#include "options.h"
#include "picture.h"

namespace kr {

// Prints one header line and one line per animation (NAME FIRST FRAMES
// LOOP FPS) to stdout, the head rows as comment lines after them. Needs no
// display and writes no log. False with the reader's message otherwise.
bool listAnimations(const Options& options, std::string& error);

// Once the player is loaded from `modelDir`: draws every frame of
// `options.anim` through `shot`.
bool renderAnimation(const Options& options, const std::string& modelDir, const Shot& shot, std::string& error);

}  // namespace kr
