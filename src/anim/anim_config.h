// A player model's animation config ("wolfanim.cfg" next to body.mds): the
// optional header, one row per named animation between STARTANIMS and
// ENDANIMS (before version 2: 130 rows without names after the header),
// and the optional HEADFRAMES rows for the head model.
//
// Reading never logs: a failure is one message naming the file and the
// line ("wolfanim.cfg:23: expected a frame count after 'walk'").
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace anim {

// The game refuses larger files and has room for this many animations.
inline constexpr std::size_t kMaxFileBytes = 100000;
inline constexpr std::size_t kMaxAnimations = 512;
inline constexpr std::size_t kMaxHeadFrames = 512;
// A config before version 2 has exactly this many rows, one per animation
// the game knows, by position.
inline constexpr std::size_t kVersion1Rows = 130;

struct Animation {
    std::string name;  // lower case; "anim_N" (N from 0) in a version 1 file
    int line = 0;      // where its row starts
    std::uint32_t firstFrame = 0;
    std::uint32_t numFrames = 0;
    std::uint32_t loopFrames = 0;  // the last loopFrames frames repeat; 0 holds the last frame
    std::uint32_t fps = 1;         // truncated to a whole number, at least 1
    float moveSpeed = 0.0f;
    std::optional<std::int32_t> animBlend;
    std::optional<std::int32_t> priority;

    // How long one frame is shown, as the game counts it.
    std::uint32_t frameMilliseconds() const { return 1000u / fps; }
};

struct HeadAnimation {
    std::string name;  // lower case
    int line = 0;
    std::uint32_t firstFrame = 0;
    std::uint32_t numFrames = 0;
    float moveSpeed = 0.0f;
};

struct Config {
    int version = 0;
    bool skeletal = false;  // frames are frames of body.mds
    std::string footsteps;
    std::string sex;
    std::optional<std::array<float, 3>> headOffset;
    std::vector<Animation> animations;  // in file order
    std::vector<HeadAnimation> headFrames;

    // The first animation of that name (matched without regard to case).
    const Animation* find(std::string_view name) const;
};

// Parses a config's text; `fileName` prefixes every message. False with the
// message in `error` when the text is not a valid config.
bool parseConfig(std::string_view text, const std::string& fileName, Config& config, std::string& error);

// Reads the file at `path` (resolved like every model file: letter case,
// .pk3 archives) and parses it. Messages name the file as `shownName`.
bool loadConfig(const char* path, const std::string& shownName, Config& config, std::string& error);

}  // namespace anim
