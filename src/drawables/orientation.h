// Where a model hangs, in the game's axes (x forward, y left, z up): an
// origin and three axis rows. A point p of the model lies at
// origin + p.x axis[0] + p.y axis[1] + p.z axis[2].
//
// The game's rules for tags: a tag of a skeletal mesh hangs on one bone
// (onBone); a model attached at a tag of its parent is placed by attach.
// The viewer's rule for its models hung on bones is onBone with no offset
// and the identity axis.
#pragma once

#include "formats/families/skeleton.h"
#include "platform/d3d8/d3dx8.h"

namespace drawables {

struct Orientation {
    float origin[3] = {0, 0, 0};
    float axis[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    // The point p of the model, placed.
    void place(const float (&p)[3], float (&out)[3]) const;
};

// A tag (origin and axis) of a model placed at `parent`: origin =
// parent.origin + sum_i tag.origin_i parent.axis_i, axis = tag.axis x
// parent.axis.
Orientation attach(const Orientation& parent, const Orientation& tag);

// A tag hanging on a bone: origin = M offset + t, axis_j = M tag.axis_j
// (M the bone's turn applied to column vectors, t its origin).
Orientation onBone(const formats::BonePose3& bone, const float (&tagAxis)[3][3], const float (&offset)[3]);

// The device's world matrix (drawing axes (-y, z, x), row vectors) that
// draws a model's file-axes vertices at `o`.
D3DXMATRIX worldMatrix(const Orientation& o);

// A point of the game's axes in drawing axes, and back.
void toDrawing(const float (&p)[3], float (&out)[3]);

}  // namespace drawables
