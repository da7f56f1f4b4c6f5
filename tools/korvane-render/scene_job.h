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

// Before any drawing: the model file named alone read, and its format
// (told by its first bytes) checked against the options. 0 when it suits
// them or none is named; 1 when it cannot be read or is no model file; 2
// when the options do not suit it (an MDM mesh without --skeleton, an MDX
// file alone, ...); `error` holds one line.
int checkModelFile(const Options& options, std::string& error);

bool renderPosedScene(const Options& options, D3D& renderer, PictureCamera& camera, Backdrop& backdrop,
                      GlSurface& surface, std::string& error);

}  // namespace kr
