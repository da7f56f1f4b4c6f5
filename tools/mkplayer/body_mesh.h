// The body's surfaces in the rest pose: "legs" (trousers, boots), "torso"
// (tunic from the hips to the neck), "arms" (sleeves) and "hands".
#pragma once

#include <vector>

#include "mkplayer/mesh.h"

namespace mp {

std::vector<Mesh> bodyMeshes();

}  // namespace mp
