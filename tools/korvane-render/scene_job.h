// Drawing a posed scene (src/scene/posed_scene.h): a model file alone, a
// character, or a player posed with legs and torso apart or at a level of
// detail. The scene is built from the options, its renderables are added
// to the renderer after the backdrop and the grid, and its steps are drawn
// through a Shot (framed whole on every step drawn, without --camera) as
// PNG files or one animated WebP.
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
