// The options of korvane-render that draw what the viewer cannot: a model
// file alone (any format), a character of the sibling game, a player posed
// with legs and torso apart, level of detail. Kept apart from options.h,
// which holds one of these.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kr {

struct SceneOptions {
    std::string file;                    // a model file named on its own
    std::string skin;                    // --skin: a .skin for the file's surfaces
    std::vector<std::string> skeletons;  // --skeleton: MDX files for an MDM mesh
    std::string character;               // --char: a .char file below --game-dir
    std::string legs, torso;             // --legs, --torso: animation rows
    bool aim = false;                    // --torso-aim PITCH,YAW
    float aimPitch = 0.0f, aimYaw = 0.0f;
    std::optional<float> lod;            // --lod F, 0 to 1
    std::optional<float> lodDistance;    // --lod-distance D
    std::optional<int> headAnim;         // --head-anim N: a row of the character's hudheadanims
    bool verbose = false;                // --verbose

    // A player of the first game drawn through a posed scene rather than as
    // the viewer draws it.
    bool posesPlayer() const { return !legs.empty() || aim || lod || lodDistance; }
};

}  // namespace kr
