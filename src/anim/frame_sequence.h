// Which body frames an animation shows, step by step, as the game plays it:
// the frames of its range in order, then the last loopFrames of them over
// and over, or, with no loop, the last frame held. Pure functions, so the
// loop rule is tested without drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "anim/anim_config.h"

namespace anim {

// What the sequence rules need of an animation row, from either game's
// files: the first game's wolfanim.cfg rows (playbackOf) or the sibling
// game's .anim rows (LOOPFRAMES -1 is loopFrames = numFrames there).
struct Playback {
    std::uint32_t firstFrame = 0;
    std::uint32_t numFrames = 0;
    std::uint32_t loopFrames = 0;  // the last loopFrames frames repeat; 0 holds the last frame
    bool reversed = false;         // each step shows the mirror frame of the range (last first)
    std::uint32_t frameMilliseconds = 1000;
};
Playback playbackOf(const Animation& a);

// The frame of `a` shown at step `step` (step 0 is the first frame). Signed:
// a loop longer than the range reaches back before firstFrame, as in the
// game, and the caller's range check reports it. Needs numFrames > 0.
std::int64_t frameAtStep(const Playback& a, std::uint64_t step);
inline std::int64_t frameAtStep(const Animation& a, std::uint64_t step) { return frameAtStep(playbackOf(a), step); }

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
Clip clipOf(const Playback& a, std::uint32_t minMilliseconds = 5000, std::size_t maxFrames = 600);
inline Clip clipOf(const Animation& a, std::uint32_t minMilliseconds = 5000, std::size_t maxFrames = 600) {
    return clipOf(playbackOf(a), minMilliseconds, maxFrames);
}

// The lowest and highest frame any step shows (numFrames > 0): check them
// against the body before building a sequence, which is as long as the range.
struct Span {
    std::int64_t low = 0, high = 0;
};
Span spanOf(const Playback& a);
inline Span spanOf(const Animation& a) { return spanOf(playbackOf(a)); }

// The frames of the range in order (steps 0 to numFrames - 1).
std::vector<std::int64_t> rangeOf(const Playback& a);
inline std::vector<std::int64_t> rangeOf(const Animation& a) { return rangeOf(playbackOf(a)); }

}  // namespace anim
