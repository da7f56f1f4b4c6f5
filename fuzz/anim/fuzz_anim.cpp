// Arbitrary bytes as an animation config. A text that is read must give
// what the game relies on: lower-case names, at most 512 rows, a speed of
// at least one frame per second, and a message naming the file otherwise;
// the frame sequence of every row stays inside its span.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "anim/anim_config.h"
#include "anim/frame_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > anim::kMaxFileBytes) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    anim::Config config;
    std::string error;
    if (!anim::parseConfig(text, "f.cfg", config, error)) {
        if (error.rfind("f.cfg:", 0) != 0 || !config.animations.empty()) std::abort();
        return 0;
    }
    if (config.animations.size() > anim::kMaxAnimations || config.headFrames.size() > anim::kMaxHeadFrames)
        std::abort();
    for (const anim::Animation& a : config.animations) {
        if (a.fps == 0 || a.line < 1) std::abort();
        for (char c : a.name)
            if (c >= 'A' && c <= 'Z') std::abort();
        // Sequences are as long as their range: the renderer builds them only
        // for ranges inside a body, so only modest ones here.
        if (a.numFrames == 0 || a.numFrames > 4096) continue;
        const anim::Span span = anim::spanOf(a);
        const anim::Clip clip = anim::clipOf(a, 5000, 600);
        if (clip.frames.size() < a.numFrames || clip.frames.size() > a.numFrames + 600) std::abort();
        for (std::int64_t f : clip.frames)
            if (f < span.low || f > span.high) std::abort();
    }
    return 0;
}
