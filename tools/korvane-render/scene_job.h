// Drawing a posed scene (src/scene/posed_scene.h): a model file alone, a
// character, or a player posed with legs and torso apart or at a level of
// detail. The scene is built from the options, its renderables are added
// to the renderer, and its steps are drawn as PNG files or one animated
// WebP, framed as every picture is (picture.h).
#pragma once

#include <string>

#include "options.h"

class D3D;
class GlSurface;

namespace kr {

class Backdrop;
class PictureCamera;

bool renderPosedScene(const Options& options, D3D& renderer, PictureCamera& camera, Backdrop& backdrop,
                      GlSurface& surface, std::string& error);

}  // namespace kr
