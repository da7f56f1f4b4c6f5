// The .char file: `characterDef { KEY VALUE ... }`, read with the game's
// precompiler tokens (script_reader.h).
//
// As the game: the first tokens must be `characterDef` and `{` (letter
// case ignored, as for the keys); each key takes the next token whatever
// it is (a quoted string for a path), cut to 63 characters; a repeated key
// overwrites; an unknown key is an error that ends the reading (the keys
// read before it stay); `}` ends the block and nothing after it is read.
// A file ending before its `}` is read as far as it goes, as the game does,
// with a warning.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "game/script_reader.h"

namespace game {

enum class CharKey : std::uint8_t {
    Mesh,
    AnimationGroup,
    AnimationScript,
    Skin,
    UndressedCorpseModel,
    UndressedCorpseSkin,
    HudHead,
    HudHeadSkin,
    HudHeadAnims,
};
constexpr std::size_t kCharKeys = 9;

// "mesh", "animationGroup", ... as the game's files write them.
const char* keyName(CharKey key);

struct CharacterDef {
    struct Value {
        std::string text;        // empty when the key is not given
        std::uint32_t file = 0;  // where it was last set (ScriptReader::files())
        std::uint32_t line = 0;  // 0 when not given
    };
    std::array<Value, kCharKeys> values;

    const Value& operator[](CharKey key) const { return values[static_cast<std::size_t>(key)]; }
    Value& operator[](CharKey key) { return values[static_cast<std::size_t>(key)]; }
};

// Reads the characterDef block from the reader's text; false after an
// error (reported by the reader), with the keys read until then.
bool readCharacterDef(ScriptReader& reader, CharacterDef& out);

}  // namespace game
