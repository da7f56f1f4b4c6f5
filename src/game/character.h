// A character of the sibling game as data: every file the game would load
// for a .char, found through the search path, each with where it came
// from, and the contents a renderer or exporter walks (keys, skins, rows).
// No drawing, no poses.
//
// What the game loads (and what this resolves):
//   - the .char (characterDef keys);
//   - mesh: the body, an MDM;
//   - the body skin: mesh path without extension + "_" + skin + ".skin";
//   - each md3_ accessory the body skin names (kAccessorySlots: the key,
//     the model it hangs on and the tag), its model (an MD3; the game reads
//     an .mdc of the same name first when there is one) and its own skin:
//     accessory path without extension + "_" + skin + ".skin";
//   - hudhead: the head (MD3) on the body's tag_head, which is also the
//     head drawn in the world, with hudheadskin (a whole skin path); the
//     hats and the rank hang on the head's tag_mouth;
//   - hudheadanims: 16 rows of the head's animations;
//   - animationGroup: the .anim with the MDX files it names and their
//     rows; animationScript: found, not read;
//   - undressedCorpseModel with its skin (model without extension + "_" +
//     undressedCorpseSkin + ".skin").
// "Without extension" is up to the path's first '.', as the game cuts it.
//
// Every missing or broken file is one message (the file and line that
// name it, what was expected) and the rest still loads. Budgets: text
// files as script_reader.h says, models kMaxModelBytes each (refused by
// their stated size before reading, also inside archives), each MDX read
// once however many animfile blocks name it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/anim_group.h"
#include "game/char_file.h"
#include "game/game_skin.h"
#include "game/hud_head.h"
#include "game/messages.h"
#include "game/model_info.h"
#include "game/script_reader.h"
#include "game/search_path.h"

namespace game {

// A file the character names, and where the game finds it.
struct FileRef {
    std::string named;       // the game path as named or composed (or the path given, for the .char)
    std::string namedBy;     // the file naming it, as messages name it; empty for the .char
    std::uint32_t line = 0;  // the line there
    Located at;              // found? the path to read, its source and the sources it hides

    bool found() const { return at.found(); }
};

struct ModelRef : FileRef {
    bool read = false;  // found, read and indexed
    ModelInfo info;
};

struct SkinRef : FileRef {
    bool read = false;
    GameSkin skin;
};

enum class Parent : std::uint8_t { Body, Head };

struct AccessorySlot {
    const char* key;
    Parent on;
    const char* tag;
    bool onlyWithRank;
};

// The accessories the game looks for in the body skin, in its order.
inline constexpr AccessorySlot kAccessorySlots[] = {
    {"md3_beltr", Parent::Body, "tag_bright", false},  {"md3_beltl", Parent::Body, "tag_bleft", false},
    {"md3_belt", Parent::Body, "tag_ubelt", false},    {"md3_back", Parent::Body, "tag_back", false},
    {"md3_weapon", Parent::Body, "tag_weapon", false}, {"md3_weapon2", Parent::Body, "tag_weapon2", false},
    {"md3_hat", Parent::Head, "tag_mouth", false},     {"md3_rank", Parent::Head, "tag_mouth", true},
    {"md3_hat2", Parent::Head, "tag_mouth", false},    {"md3_hat3", Parent::Head, "tag_mouth", false},
};

struct Accessory {
    const AccessorySlot* slot = nullptr;
    ModelRef model;
    SkinRef skin;
};

struct Animations {
    FileRef group;                            // the .anim
    std::vector<ScriptReader::File> files;    // the .anim and the files it includes (AnimRow::file)
    struct Mdx {
        ModelRef mdx;
        std::vector<AnimRow> rows;
    };
    std::vector<Mdx> mdx;                     // one per animfile block, in order
    std::size_t rowCount() const;
};

struct Character {
    FileRef file;                                  // the .char
    std::vector<ScriptReader::File> charFiles;     // it and what it includes (CharacterDef::Value::file)
    CharacterDef def;
    ModelRef mesh;
    SkinRef bodySkin;
    std::vector<Accessory> accessories;            // those the body skin names, in kAccessorySlots order
    Animations animations;
    FileRef animationScript;
    ModelRef head;
    SkinRef headSkin;
    FileRef hudHeadAnims;
    std::vector<HudHeadRow> hudHeadRows;
    ModelRef corpse;
    SkinRef corpseSkin;
    Messages messages;

    bool hasErrors() const;
    // Every file named, found or not, in the order above (includes are in
    // charFiles and animations.files).
    std::vector<const FileRef*> files() const;
};

// A model of the character hung on a tag: the head on the body's tag_head,
// then each accessory on its slot's tag of the body or of the head. What
// a renderer and an exporter both assemble, in the game's order.
struct Part {
    const char* key;          // "hudhead" or the accessory's md3_ key
    const ModelRef* model;    // read or not: a part whose model was not read is not drawn
    const SkinRef* skin;      // its skin (read or not)
    Parent on;
    const char* tag;          // on the parent
};

// Where each file of the character came from, one line a file named:
// "NAMED: archive PAK.pk3 (hides folder DIR)", "NAMED: folder DIR",
// "NAMED: PATH (outside the game folders)" or "NAMED: not found" — the
// usual answer to "my custom skin is not used".
std::vector<std::string> provenance(const Character& c, const SearchPath& search);

// The parts whose models were read; the rank only `withRank` (a player
// without a rank shows none), the head's accessories only with a head.
std::vector<Part> partsOf(const Character& c, bool withRank = false);

// The image the game takes for a shader name: the name itself, else the
// same name with the other image extension (.tga for .jpg and the other
// way round), as the renderer retries it.
Located findTexture(const SearchPath& search, const std::string& shader);

// The game folder a file on disk lies in: the folder holding the nearest
// "characters" folder above it; empty when there is none.
std::string gameFolderOf(const std::string& path);

// The search path a program draws or exports a character with: the
// folders and .pk3 files given, each over those before it; none given, the
// game folder the .char lies in (gameFolderOf). False with one line naming
// the one that cannot be used.
bool searchPathFor(const std::vector<std::string>& gameDirs, const std::string& charPath, SearchPath& out,
                   std::string& error);

// Resolves the character of `charPath` (a game path, or a disk path; see
// SearchPath::locate). With an empty search path, a .char on disk is read
// in the game folder it lies in (gameFolderOf), when there is one.
Character loadCharacter(const std::string& charPath, const SearchPath& search);

}  // namespace game
