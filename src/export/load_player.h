// A player folder into an asset, assembled as the viewer assembles it
// after OK in its start-up dialog: "<modelDir>\body.mds", the body skin's
// surface textures and its belt and back accessories, the head skin's head
// and hat, each attachment on the viewer's fixed bone. Only a body that
// cannot be read fails; a missing skin, texture or attachment is a warning
// in the asset, as it is a log line in the viewer.
#pragma once

#include <string>

#include "anim/anim_config.h"
#include "export/asset.h"

namespace exporter {

struct PlayerInput {
    std::string modelDir;  // BaseDir, a backslash and the model name, lower-cased
    std::string modelName;
    std::string bodySkin = "body_default.skin";
    std::string headSkin = "head_default.skin";
};

// The bones the viewer hangs its attachments on: belt left, belt right,
// back, head, hat.
inline constexpr std::int32_t kBeltLeftBone = 55, kBeltRightBone = 54, kBackBone = 51, kHeadBone = 7, kHatBone = 8;

bool loadPlayer(const PlayerInput& input, Asset& asset, std::string& error);

// The animation rows of "<modelDir>\wolfanim.cfg" as clips: every row
// (`names` empty) or the named ones, in the order given. False with one
// line (file and line) when the config is missing or broken, a name is
// unknown, or a named row's frames lie past the body's; with every row
// asked for, such a row is left out with a warning instead.
bool addConfigClips(const PlayerInput& input, const std::vector<std::string>& names, Asset& asset,
                    std::string& error);

}  // namespace exporter
