// The demo character of the sibling game, made of the demo player's own
// data, laid out as the game's folders are:
//
//   characters/demo/soldier.char              the characterDef
//   animations/human/demo/body.anim           the group: walk.mdx and idle.mdx with their rows
//   animations/human/demo/walk.aninc          more rows of walk.mdx, pulled in by #include
//   animations/human/demo/walk.mdx, idle.mdx  the skeleton with the walk and the idle turn
//   animations/human/heads/demo.hha           the hud head's 16 rows
//   animations/scripts/demo.script            the animation script (named, not read by us)
//   models/players/demo/body.mdm              the body: surfaces and tags (tag_head, tag_back, ...)
//   models/players/demo/body_soldier.skin     surfaces, belt pouches, back pack and helmet
//   models/players/demo/body_corpse.skin      the corpse's skin (the same body)
//   models/players/demo/head.md3, head.skin   the head (4 frames of a nod, tag_mouth) and its skin
//   models/players/demo/acc/{pouchl,pouchr,backpack,helmet}.md3 and their _soldier.skin
//   textures: legs.jpg torso.jpg arms.tga hands.tga face.tga, acc/belt.jpg acc/pack.tga acc/helmet.jpg
//
// The .anim mixes rows of 8 columns (integer fps) and 9 (a fraction, a
// priority), a negative move speed (measured from the foot tags), every
// LOOPFRAMES form and a reversed row. Everything is the same on every run.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "mkplayer/player.h"

namespace mp {

inline constexpr const char* kCharacterFile = "characters/demo/soldier.char";

// Game path -> bytes.
using GameFiles = std::map<std::string, std::string>;

GameFiles characterFiles();

// Writes the files below gameDir (making folders).
WriteResult writeGameFiles(const std::string& gameDir, const GameFiles& files);
WriteResult writeCharacter(const std::string& gameDir);

// The character with one defect: what changed, and the one finding it
// gives (id short name, file as the game names it, line).
struct CharacterDefect {
    std::string name;
    std::string what;
    std::function<void(GameFiles&)> change;
    std::string id;
    std::string file;
    std::uint32_t line = 0;
};

std::vector<CharacterDefect> characterDefects();

// The 1-based line of `text` holding `needle` first; 0 when none does.
std::uint32_t lineOf(const std::string& text, const std::string& needle);

}  // namespace mp
