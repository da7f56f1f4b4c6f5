// Rigid transforms in the game's axes and their glTF form.
#pragma once

#include "formats/families/skeleton.h"

namespace exporter {

// p -> r p + t, in double.
struct Xf {
    double r[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double t[3] = {0, 0, 0};
};

Xf compose(const Xf& a, const Xf& b);  // a after b
Xf inverse(const Xf& a);               // of a rigid transform
Xf poseOf(const formats::BonePose3& pose, bool inverseTurn = false);
// A place given by axis rows: p -> origin + sum_i p_i axis[i].
Xf placeOf(const float* origin, const float* axisRows);

// glTF translation and rotation (x, y, z, w) of `x` after the change of
// axes (x, y, z)_glTF = scale (y, z, x)_game.
struct Trs {
    float t[3];
    float q[4];
};
Trs gltfTrs(const Xf& x, double scale);
void gltfPoint(const double (&p)[3], double scale, float (&out)[3]);
void gltfVector(const double (&v)[3], float (&out)[3]);  // unit length; (0, 1, 0) for a null vector
// The inverse of `x` in glTF axes as a column-major 4 x 4 matrix.
void gltfInverseMatrix(const Xf& x, double scale, float (&out)[16]);

}  // namespace exporter
