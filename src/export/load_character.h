// A character of the sibling game into an asset, assembled as the game
// assembles it (game::partsOf): the MDM body on the skeleton of the first
// MDX of its animation group that can be read, its surfaces textured from
// the body skin, the head on the body's tag_head and each accessory on its
// tag of the body or of the head, each with its own skin. Every file comes
// through the character's search path. Only a body that cannot be read
// fails; a missing skin, texture, tag or part is a warning in the asset.
#pragma once

#include <string>
#include <vector>

#include "export/asset.h"
#include "game/character.h"

namespace exporter {

bool loadCharacter(const game::Character& character, const game::SearchPath& search, Asset& asset,
                   std::string& error);

// The group's rows on the asset's skeleton as clips: every row (`names`
// empty; a row of another MDX file, or past the skeleton's frames, is left
// out with a warning) or the named ones in the order given (such a row is
// then an error, one line with its file and line). With `anySkeleton`, a
// row of another MDX file of the group plays on that file (added to the
// asset as a row skeleton), as the game plays a legs/torso pair.
bool addCharacterClips(const game::Character& character, const std::vector<std::string>& names, Asset& asset,
                       std::string& error, bool anySkeleton = false);

}  // namespace exporter
