// The animation group (.anim): the MDX files of a character and the rows
// of animations each holds, read with the game's precompiler tokens
// (script_reader.h), so `.aninc` files come in through `#include` inside an
// animfile block.
//
//   animgroup {
//       animfile "animations/human/base/body.mdx" {
//           NAME FIRST NUMFRAMES LOOPFRAMES FPS MOVESPEED TRANSITION REVERSED [PRIORITY]
//       }
//   }
//
// Tokens are not bound to lines: a row is its name and the next eight
// numbers; a ninth number before the next name (or '}') is its priority
// (the newer releases' rows, whose fps may have a fraction). Integers may
// be negative ('-' then the number). As the game: keywords in any letter
// case, names lower-cased and cut to 63 characters, fps 0 read as 1, only
// REVERSED 1 plays backwards; an error ends the reading (the rows read
// before it stay).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/script_reader.h"

namespace game {

// The game keeps this many animations per character (it does not check).
constexpr std::size_t kMaxAnimations = 512;

struct AnimRow {
    std::string name;  // lower-cased, at most 63 characters
    std::int32_t first = 0, numFrames = 0;
    std::int32_t loopFrames = 0;  // -1 the whole range, 0 hold the last frame, n loop the last n
    double fps = 1.0;             // as written; 0 read as 1; a frame lasts 1000 / fps ms
    std::int32_t moveSpeed = 0;   // negative: measured from tag_footleft / tag_footright
    std::int32_t transition = 0;  // ms
    bool reversed = false;
    std::optional<std::int32_t> priority;  // the ninth column
    std::uint32_t file = 0, line = 0;      // of its name (ScriptReader::files())

    // The flags the game gives by name.
    bool climbs() const { return name.starts_with("climb"); }
    bool fires() const { return name.find("firing") != std::string::npos; }
    bool reloads() const { return name.find("reload") != std::string::npos; }
};

struct AnimFile {
    std::string mdx;                   // the path as written
    std::uint32_t file = 0, line = 0;  // of `animfile`
    std::vector<AnimRow> rows;
};

struct AnimGroup {
    std::vector<AnimFile> files;
    std::size_t rowCount() const;
};

// Reads the animgroup block from the reader's text; false after an error
// (reported by the reader), with what was read until then. More than
// kMaxAnimations rows is a warning; all are kept.
bool readAnimGroup(ScriptReader& reader, AnimGroup& out);

}  // namespace game
