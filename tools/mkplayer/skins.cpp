#include "mkplayer/skins.h"

#include "mkplayer/attachments.h"
#include "modelgen/skin_writer.h"

namespace mp {

namespace {

std::string game(const std::string& relative) { return "models/players/infantryss/" + relative; }

}  // namespace

std::string bodySkin() {
    return mg::skinText({{"legs", game("legs.tga")},
                         {"torso", game("torso.tga")},
                         {"arms", game("arms.tga")},
                         {"hands", game("hands.tga")},
                         {"md3_beltl", game("acc/beltl.mdc")},
                         {"md3_beltr", game("acc/beltr.mdc")},
                         {"md3_back", game("acc/pack.mdc")}});
}

std::string headSkin() {
    return mg::skinText({{kHeadSurface, game("face.tga")},
                         {"md3_part", game("head.mdc")},
                         {"md3_hat", game("acc/hat.mdc")}});
}

// The hat model is looked for in the acc folder under this skin's
// "md3_part" name, so that value is the bare file name.
std::string hatSkin() { return mg::skinText({{kHatSurface, game("acc/hat.jpg")}, {"md3_part", "hat.mdc"}}); }

}  // namespace mp
