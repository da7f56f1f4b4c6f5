// --char: a character of the sibling game, found through the search path
// of the --game-dir options (folders and .pk3 files, each over those before
// it; none: the game folder the .char lies in). Its findings go to stderr
// as the game words them; what loads is drawn.
#pragma once

#include <string>

#include "game/character.h"
#include "options.h"

namespace kr {

struct LoadedCharacter {
    game::SearchPath search;
    game::Character character;
};

// False with one line when a --game-dir cannot be used or the .char itself
// cannot be read.
bool loadCharacter(const Options& options, LoadedCharacter& out, std::string& error);

// --standing: the group's first row whose name holds "idle" (on an MDX
// that was read), whose first frame the character stands in; "" when none.
std::string standingAnimation(const game::Character& character);

// --list-anims --char: the group's rows, one a line: NAME FIRST FRAMES
// LOOP FPS REVERSED MDX, after a comment naming the group.
bool listCharacterAnimations(const Options& options, std::string& error);

}  // namespace kr
