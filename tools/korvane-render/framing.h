// Where the camera stands to show a whole model: the named views and the
// eye that frames a box from one of them. Pure functions, no device.
//
// Axes: the box is in the game's axes (x forward, the way the model faces;
// y to the model's left; z up). The eye is in the drawing axes the camera
// and renderer use (the game's (-y, z, x), left-handed), so it can be given
// to the camera as it stands.
#pragma once

#include <optional>
#include <string_view>

#include "scene/drawn_scene.h"

namespace kr {

// Where the eye is, seen from the model:
//   front          on +x, level with the box's middle, the face towards us
//   back           on -x
//   left           on +y, the model's left side (its face to the picture's left)
//   right          on -y, the model's right side (its face to the picture's right)
//   three-quarter  45 degrees from front towards the model's right, 15 degrees up
//   top            on +z looking down, the model's front at the top of the picture
enum class View { front, back, left, right, threeQuarter, top };

std::optional<View> viewNamed(std::string_view name);
const char* nameOf(View view);

// The renderer's vertical field of view (45 degrees).
inline constexpr float kFieldOfViewY = 0.7853982f;
// Each edge keeps this share of the picture's smaller side free.
inline constexpr float kMarginShare = 0.04f;

// A camera in drawing axes: position, unit look and up vectors (at right
// angles), and the projection's near and far distances.
struct Eye {
    float position[3] = {0.0f, 0.0f, 0.0f};
    float look[3] = {0.0f, 0.0f, 1.0f};
    float up[3] = {0.0f, 1.0f, 0.0f};
    float nearZ = 1.0f;
    float farZ = 500.0f;
};

// The eye on `view`'s side of `box` that is as close as it can be with the
// whole box inside a width x height picture (perspective of kFieldOfViewY
// vertically, the picture's own aspect), kMarginShare of the smaller side
// clear at each edge; the box's picture is centred and touches the margin
// on one axis. The near distance is at most 1 (the viewer's) and the far at
// least 500, and both hold the box. An empty box stands for a unit box at
// the origin; a flat one is thickened to 1 % of its largest side.
Eye frameBox(const scene::Box& box, View view, int width, int height);

}  // namespace kr
