// A player of the first game posed as the game poses it, where the viewer
// shows one frame of one animation: the legs and the torso each playing a
// row of the player's wolfanim.cfg, the torso aimed, the body's level of
// detail. The player is assembled exactly as the viewer assembles it
// (PlayerScene: body, skins, textures, accessories, head, hat); the body is
// then drawn by a SkinnedMesh over the same file with the body's textures,
// and the viewer's models hang on the viewer's bones of the new pose, by
// the viewer's rule. The viewer's own MDS object is not posed or drawn.
#pragma once

#include <memory>
#include <string>

#include "platform/d3d8/d3d8.h"
#include "scene/body_pose.h"
#include "scene/player_scene.h"
#include "scene/posed_scene.h"

namespace scene {

// The scene, or null with one line in `error`; `meshVisible` false draws
// the attached models only (the viewer's N key).
std::unique_ptr<PosedScene> makePlayerPoseScene(IDirect3DDevice8* device, PlayerFiles files,
                                                const PoseRequest& pose, bool meshVisible, std::string& error);

}  // namespace scene
