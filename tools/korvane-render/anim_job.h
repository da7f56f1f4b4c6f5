// --list-anims and --anim: the model's "wolfanim.cfg" (next to body.mds,
// found like every model file), listed, or one of its animations drawn as
// numbered PNG files or as one animated WebP at the animation's speed.
#pragma once

#include <cstdint>
#include <string>

#include "options.h"
#include "picture.h"

namespace kr {

// Prints one header line and one line per animation (NAME FIRST FRAMES
// LOOP FPS) to stdout, the head rows as comment lines after them. Needs no
// display and writes no log. False with the reader's message otherwise.
bool listAnimations(const Options& options, std::string& error);

// Once the player is loaded from `modelDir`: frames `shot` on every frame
// of `options.anim` and draws them.
bool renderAnimation(const Options& options, const std::string& modelDir, Shot& shot, std::string& error);

// The frame a player stands in: the first frame of the first animation of
// its config whose name holds "idle" (names are lower case), when that is
// below `numFrames`; else 0, also without a config or with a broken one.
std::uint32_t standingFrame(const std::string& modelDir, std::uint32_t numFrames);

}  // namespace kr
