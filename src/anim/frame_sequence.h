// Which body frames an animation shows, step by step, as the game plays it:
// the frames of its range in order, then the last loopFrames of them over
// and over, or, with no loop, the last frame held. Pure functions, so the
// loop rule is tested without drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "anim/anim_config.h"

namespace anim {

// The frame of `a` shown at step `step` (step 0 is the first frame). Signed:
// a loop longer than the range reaches back before firstFrame, as in the
// game, and the caller's range check reports it. Needs numFrames > 0.
std::int64_t frameAtStep(const Animation& a, std::uint64_t step);

// The animation as a file format with a whole-file loop count can carry it.
struct Clip {
    std::vector<std::int64_t> frames;  // in playing order
    std::uint32_t frameMilliseconds = 0;  // 1000 / fps, at least 1
    int loopCount = 0;                 // 0: the file repeats forever; 1: plays once and stays on its last frame
};

// - every frame loops (loopFrames == numFrames): the range once, repeated forever;
// - no loop (loopFrames == 0): the range once, then the last frame stays;
// - otherwise: the range once, then the loop part again until the whole
//   lasts at least `minMilliseconds`, whole loops only and at most
//   `maxFrames` frames in all, then the file starts over from the first frame.
// Empty when numFrames is 0.
Clip clipOf(const Animation& a, std::uint32_t minMilliseconds = 5000, std::size_t maxFrames = 600);

// The lowest and highest frame any step shows (numFrames > 0): check them
// against the body before building a sequence, which is as long as the range.
struct Span {
    std::int64_t low = 0, high = 0;
};
Span spanOf(const Animation& a);

// The frames of the range in order (steps 0 to numFrames - 1).
std::vector<std::int64_t> rangeOf(const Animation& a);

}  // namespace anim
