// What each step of a posed scene shows: a model's frames one by one, one
// animation on the whole body (its frames in playing order, as the game
// plays them), or the legs and the torso each playing an animation of its
// own at its own speed, sampled at the faster one's frame time and
// interpolated between frames as the game does.
#pragma once

#include <cstdint>
#include <vector>

#include "anim/frame_sequence.h"

namespace scene {

// One part at a step: `frame`, moved `lerp` of the way to `next`.
struct PartAt {
    std::uint32_t frame = 0, next = 0;
    float lerp = 0.0f;
};

class Steps {
public:
    // Step k shows frame k.
    static Steps frames(std::uint32_t count);
    // The animation's clip (anim::clipOf): its frames in playing order, its
    // frame time and the loop count of a file that repeats whole. Its
    // frames must lie inside the skeleton (anim::spanOf).
    static Steps clip(const anim::Playback& animation);
    // Legs and torso together, for one play of the longer of the two (at
    // most kMaxSplitSteps steps); the file repeats forever.
    static Steps split(const anim::Playback& legs, const anim::Playback& torso);
    static constexpr std::uint32_t kMaxSplitSteps = 600;

    std::uint32_t count() const { return count_; }
    // The steps of one play through the range: an animation's frames once,
    // before any loop; count() otherwise.
    std::uint32_t rangeCount() const { return rangeCount_; }
    std::uint32_t milliseconds() const { return milliseconds_; }
    int loopCount() const { return loopCount_; }
    PartAt legs(std::uint32_t step) const;
    PartAt torso(std::uint32_t step) const;
    // The number a picture of the step is named by: the frame shown (frames
    // and whole-body animations), or the step (legs and torso).
    std::uint32_t label(std::uint32_t step) const;
    bool isSplit() const { return kind_ == Kind::Split; }
    // Steps that follow time (an animation, or legs and torso), each
    // milliseconds() after the one before; a model's frames one by one
    // otherwise.
    bool timed() const { return kind_ != Kind::Frames; }

private:
    enum class Kind { Frames, Clip, Split };
    PartAt part(const anim::Playback& p, std::uint32_t step) const;

    Kind kind_ = Kind::Frames;
    std::uint32_t count_ = 0;
    std::uint32_t rangeCount_ = 0;
    std::uint32_t milliseconds_ = 1000;
    int loopCount_ = 0;
    std::vector<std::int64_t> clipFrames_;
    anim::Playback legs_, torso_;
};

}  // namespace scene
