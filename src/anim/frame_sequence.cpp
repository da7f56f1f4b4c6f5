#include "anim/frame_sequence.h"

namespace anim {

Playback playbackOf(const Animation& a) {
    return {a.firstFrame, a.numFrames, a.loopFrames, false, a.frameMilliseconds()};
}

std::int64_t frameAtStep(const Playback& a, std::uint64_t step) {
    const std::int64_t first = a.firstFrame;
    const std::int64_t count = a.numFrames;
    std::int64_t into = 0;  // steps into the range, forwards
    if (step < a.numFrames)
        into = static_cast<std::int64_t>(step);
    else if (a.loopFrames == 0)
        into = count - 1;
    else
        into = count - static_cast<std::int64_t>(a.loopFrames) +
               static_cast<std::int64_t>((step - a.numFrames) % a.loopFrames);
    return a.reversed ? first + count - 1 - into : first + into;
}

Span spanOf(const Playback& a) {
    const std::int64_t end = static_cast<std::int64_t>(a.firstFrame) + a.numFrames;
    const std::int64_t loopStart = end - static_cast<std::int64_t>(a.loopFrames);
    const std::int64_t low = loopStart < a.firstFrame ? loopStart : static_cast<std::int64_t>(a.firstFrame);
    // Reversed, a loop longer than the range reaches past its end instead.
    if (a.reversed) return {static_cast<std::int64_t>(a.firstFrame), end - 1 + (a.firstFrame - low)};
    return {low, end - 1};
}

std::vector<std::int64_t> rangeOf(const Playback& a) {
    std::vector<std::int64_t> frames;
    frames.reserve(a.numFrames);
    for (std::uint64_t s = 0; s < a.numFrames; ++s) frames.push_back(frameAtStep(a, s));
    return frames;
}

Clip clipOf(const Playback& a, std::uint32_t minMilliseconds, std::size_t maxFrames) {
    Clip clip;
    // Above 1000 fps the game's count gives 0 ms; a file needs time to pass.
    clip.frameMilliseconds = a.frameMilliseconds > 0 ? a.frameMilliseconds : 1;
    clip.frames = rangeOf(a);
    if (a.numFrames == 0) return clip;
    if (a.loopFrames == 0) {
        clip.loopCount = 1;
        return clip;
    }
    if (a.loopFrames == a.numFrames) return clip;
    // An intro before the loop: play on into the loop part, whole loops only.
    std::uint64_t step = a.numFrames;
    bool first = true;
    while (clip.frames.size() + a.loopFrames <= maxFrames &&
           (first || static_cast<std::uint64_t>(clip.frames.size()) * clip.frameMilliseconds < minMilliseconds)) {
        for (std::uint32_t k = 0; k < a.loopFrames; ++k) clip.frames.push_back(frameAtStep(a, step++));
        first = false;
    }
    return clip;
}

}  // namespace anim
