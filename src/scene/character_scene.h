// A character of the sibling game drawn as the game assembles it
// (game::Character, game::partsOf): the MDM body posed by the MDX files of
// its animation group, textured from its body skin, the head on the body's
// tag_head with its own skin, and every accessory on its tag of the body or
// of the head. Steps are the first skeleton's frames, or an animation of
// the group (by name, on the skeleton of its animfile block), or legs and
// torso apart. Every file comes through the character's search path, so a
// texture inside an archive is drawn as one on disk.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/character.h"
#include "platform/d3d8/d3d8.h"
#include "scene/body_pose.h"
#include "scene/posed_scene.h"

namespace scene {

// The animation rows of the character's group, each on the skeleton of its
// animfile block (counting only the MDX files that were read), by name.
FindRow characterRows(const game::Character& character);

// The scene, or null with one line in `error` (a body that cannot be drawn,
// a pose that cannot be made). What is left out (a part without its tag, a
// texture not found) is one line each in `warnings`.
std::unique_ptr<PosedScene> makeCharacterScene(IDirect3DDevice8* device, const game::Character& character,
                                               const game::SearchPath& search, const PoseRequest& pose,
                                               std::vector<std::string>& warnings, std::string& error);

}  // namespace scene
