#include "scene/pose_steps.h"

#include <algorithm>

namespace scene {

Steps Steps::frames(std::uint32_t count) {
    Steps s;
    s.count_ = s.rangeCount_ = count;
    return s;
}

Steps Steps::clip(const anim::Playback& a) {
    Steps s;
    s.kind_ = Kind::Clip;
    const anim::Clip clip = anim::clipOf(a);
    s.clipFrames_ = clip.frames;
    s.count_ = static_cast<std::uint32_t>(clip.frames.size());
    s.rangeCount_ = std::min(a.numFrames, s.count_);
    s.milliseconds_ = clip.frameMilliseconds;
    s.loopCount_ = clip.loopCount;
    return s;
}

Steps Steps::split(const anim::Playback& legs, const anim::Playback& torso) {
    Steps s;
    s.kind_ = Kind::Split;
    s.legs_ = legs;
    s.torso_ = torso;
    const std::uint64_t legsMs = std::max<std::uint32_t>(legs.frameMilliseconds, 1);
    const std::uint64_t torsoMs = std::max<std::uint32_t>(torso.frameMilliseconds, 1);
    s.milliseconds_ = static_cast<std::uint32_t>(std::min(legsMs, torsoMs));
    const std::uint64_t length = std::max(legs.numFrames * legsMs, torso.numFrames * torsoMs);
    const std::uint64_t steps = (length + s.milliseconds_ - 1) / s.milliseconds_;
    s.count_ = s.rangeCount_ = static_cast<std::uint32_t>(std::clamp<std::uint64_t>(steps, 1, kMaxSplitSteps));
    return s;
}

PartAt Steps::part(const anim::Playback& p, std::uint32_t step) const {
    const std::uint64_t ms = std::max<std::uint32_t>(p.frameMilliseconds, 1);
    const std::uint64_t time = std::uint64_t{step} * milliseconds_;
    const std::uint64_t index = time / ms;
    PartAt at;
    at.frame = static_cast<std::uint32_t>(anim::frameAtStep(p, index));
    at.next = static_cast<std::uint32_t>(anim::frameAtStep(p, index + 1));
    at.lerp = static_cast<float>(time % ms) / static_cast<float>(ms);
    return at;
}

PartAt Steps::legs(std::uint32_t step) const {
    if (kind_ == Kind::Split) return part(legs_, step);
    const auto frame = kind_ == Kind::Clip && step < clipFrames_.size()
                           ? static_cast<std::uint32_t>(clipFrames_[step])
                           : step;
    return {frame, frame, 0.0f};
}

PartAt Steps::torso(std::uint32_t step) const { return kind_ == Kind::Split ? part(torso_, step) : legs(step); }

std::uint32_t Steps::label(std::uint32_t step) const { return kind_ == Kind::Split ? step : legs(step).frame; }

}  // namespace scene
