// A .skin file as the sibling game reads it: surfaces with their shaders
// and md3_ accessories with their models, parsed by the project's one skin
// parser under the sibling game's rules (skin::ParsedSkin::sibling, see
// skin/skin_text.h), kept as plain data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/messages.h"

namespace game {

struct SkinSurface {
    std::string name;    // lower-cased
    std::string shader;  // as written
    std::uint32_t line = 0;
};

struct SkinAccessory {
    std::string key;    // as written: a key in other letter case is never found
    std::string model;  // as written, at most 63 characters
    std::uint32_t line = 0;
};

struct GameSkin {
    std::vector<SkinSurface> surfaces;
    std::vector<SkinAccessory> accessories;

    // The game's lookups: the first entry with exactly this key / name.
    const SkinAccessory* accessory(std::string_view key) const;
    const SkinSurface* surface(std::string_view lowerCaseName) const;
};

// Parses the bytes; where the game stops reading (the 8th accessory, the
// 257th surface) is a warning in `messages` under `file`.
GameSkin parseGameSkin(const void* bytes, std::size_t size, const std::string& file, Messages& messages);

}  // namespace game
