// The game's limits that decide whether it loads a model: its renderer
// refuses a surface with more vertices or triangles than it draws (fewer in
// multiplayer) and throws the whole model away.
#pragma once

#include <cstdint>

namespace check {

struct GameLimits {
    const char* name;  // "single player" / "multiplayer"
    std::int64_t vertices, triangles;
};

constexpr GameLimits kSinglePlayer{"single player", 4000, 8000};
constexpr GameLimits kMultiplayer{"multiplayer", 1000, 2000};
constexpr std::int64_t kMaxBones = 128;
constexpr std::int64_t kMaxSurfaces = 32;
constexpr std::int64_t kMaxTags = 128;

// Which games a model is checked for.
enum class Game { Both, SinglePlayer, Multiplayer };

struct Limits {
    Game game = Game::Both;
};

}  // namespace check
