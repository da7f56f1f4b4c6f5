// An animated WebP file built frame by frame with libwebp's animation
// encoder (libwebpmux): lossy frames (quality 80, alpha kept lossless), each
// shown from its timestamp to the next one's, and the file's loop count.
#pragma once

#include <cstdint>
#include <string>

#include "image.h"

struct WebPAnimEncoder;

namespace kr {

class AnimatedWebp {
public:
    // loopCount 0 repeats forever; 1 plays once and stays on the last frame.
    // `background` is the canvas colour, 0xAARRGGBB (0: transparent).
    AnimatedWebp(int width, int height, int loopCount, std::uint32_t background);
    ~AnimatedWebp();
    AnimatedWebp(const AnimatedWebp&) = delete;
    AnimatedWebp& operator=(const AnimatedWebp&) = delete;

    // A width x height picture (RGB, or RGBA kept with its alpha), shown
    // from `timestampMs` on.
    bool add(const Image& picture, int timestampMs, std::string& error);
    // Ends the last frame at `endMs` and writes the file.
    bool finish(int endMs, const std::string& path, std::string& error);

private:
    WebPAnimEncoder* encoder_ = nullptr;
    int width_;
    int height_;
};

}  // namespace kr
