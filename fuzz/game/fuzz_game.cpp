// The same bytes read as a .char, an .anim, the hud head's rows and a
// skin: every reader must stop cleanly, whatever it is given.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/anim_group.h"
#include "game/char_file.h"
#include "game/game_skin.h"
#include "game/hud_head.h"
#include "game/script_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    game::Messages messages;
    {
        game::ScriptReader r(game::Grammar::Script, nullptr, messages);
        r.openText("x.char", text);
        game::CharacterDef def;
        game::readCharacterDef(r, def);
    }
    {
        game::ScriptReader r(game::Grammar::Script, nullptr, messages);
        r.openText("x.anim", text);
        game::AnimGroup group;
        game::readAnimGroup(r, group);
    }
    {
        game::ScriptReader r(game::Grammar::Words, nullptr, messages);
        r.openText("x.hha", text);
        std::vector<game::HudHeadRow> rows;
        game::readHudHeadAnims(r, rows);
    }
    game::parseGameSkin(data, size, "x.skin", messages);
    return 0;
}
