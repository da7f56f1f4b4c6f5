// Taking the scene options (scene_request.h) from the command line and
// checking them against the rest once every argument is read.
#pragma once

#include <string>

#include "anim_options.h"
#include "options.h"

namespace kr {

// Takes argv[i] (and its value, advancing i) when it is a scene option or
// the model file named on its own.
Taken takeSceneArgument(int argc, char** argv, int& i, Options& options, std::string& error);

// A model file or a character excludes the player's options and needs only
// --out; --legs and --torso come together and exclude --anim; a .webp
// output needs --anim, or --legs and --torso.
bool checkSceneOptions(const Options& options, bool frameGiven, std::string& error);

// The run draws a posed scene (scene_job.h) rather than the viewer's player.
bool drawsPosedScene(const Options& options);
// Neither a model file nor a character: the viewer's player.
inline bool drawsPlayer(const Options& options) {
    return options.scene.file.empty() && options.scene.character.empty();
}

}  // namespace kr
