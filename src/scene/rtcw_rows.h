// The first game's animation rows for a posed body: the wolfanim.cfg in
// the body's folder (found like every model file), read once, on the
// first name asked for.
#pragma once

#include <string>

#include "scene/body_pose.h"

namespace scene {

// Rows of "<dir>\wolfanim.cfg", all on the body's own skeleton (0).
FindRow wolfanimRows(const std::string& dir);

}  // namespace scene
