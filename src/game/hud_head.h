// The hud head's animations (the .char's hudheadanims): exactly 16 rows
// of FIRST NUMFRAMES FPS LOOPFRAMES (fps before the loop, the reverse of
// an .anim row), read with the engine's plain tokens (Grammar::Words).
// Fewer rows is an error; tokens after the 16th row are not read. Numbers
// are read as the engine's atoi / atof do: the leading number of a token,
// 0 when there is none (a warning then); fps 0 is read as 1. The game
// holds LOOPFRAMES to 0 ... NUMFRAMES when it uses them; rows keep them as
// written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/script_reader.h"

namespace game {

constexpr std::size_t kHudHeadRows = 16;

struct HudHeadRow {
    std::int32_t first = 0, numFrames = 0;
    double fps = 1.0;
    std::int32_t loopFrames = 0;
    std::uint32_t file = 0, line = 0;  // of its first number
};

// Reads the rows from a Words reader; false (reported) when it ends before
// the 16th row, with the rows read.
bool readHudHeadAnims(ScriptReader& words, std::vector<HudHeadRow>& out);

}  // namespace game
