// The products a skeleton pose is made of, shared by the one-frame and the
// legs/torso evaluation so that both round alike. Rotations are built for
// row vectors in the axes (-y, z, x) of the file, each entry summed in one
// fixed order; toFile re-expresses a turn in the file's axes, moving and
// negating entries only.
#pragma once

#include <cmath>

namespace formats::skeleton_math {

using Mat = float[3][3];

inline void rotX(float a, Mat& m) {
    const float c = std::cos(a), s = std::sin(a);
    m[0][0] = 1, m[0][1] = 0, m[0][2] = 0;
    m[1][0] = 0, m[1][1] = c, m[1][2] = s;
    m[2][0] = 0, m[2][1] = -s, m[2][2] = c;
}
inline void rotY(float a, Mat& m) {
    const float c = std::cos(a), s = std::sin(a);
    m[0][0] = c, m[0][1] = 0, m[0][2] = -s;
    m[1][0] = 0, m[1][1] = 1, m[1][2] = 0;
    m[2][0] = s, m[2][1] = 0, m[2][2] = c;
}
inline void rotZ(float a, Mat& m) {
    const float c = std::cos(a), s = std::sin(a);
    m[0][0] = c, m[0][1] = s, m[0][2] = 0;
    m[1][0] = -s, m[1][1] = c, m[1][2] = 0;
    m[2][0] = 0, m[2][1] = 0, m[2][2] = 1;
}

// out = a · b, each entry summed as the 4 x 4 product of two rotations
// would (its fourth term is 0 · 0).
inline void multiply(const Mat& a, const Mat& b, Mat& out) {
    Mat r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + 0.0f * 0.0f;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out[i][j] = r[i][j];
}

// File axis i is the row-vector axis kAxis[i], with sign kSign[i]:
// (x, y, z) of the file is (-y, z, x) of the row-vector axes.
constexpr int kAxis[3] = {2, 0, 1};
constexpr float kSign[3] = {1.0f, -1.0f, 1.0f};

// The row-vector turn r as a column turn in file axes.
inline void toFile(const Mat& r, float (&out)[3][3]) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out[i][j] = kSign[i] * kSign[j] * r[kAxis[j]][kAxis[i]];
}

// A bone's orientation RotY(yaw) · RotX(-pitch) · RotZ(roll), in radians.
inline void boneTurn(float pitch, float yaw, float roll, Mat& turn) {
    Mat a, b;
    rotY(yaw, a);
    rotX(-pitch, b);
    multiply(a, b, turn);
    rotZ(roll, b);
    multiply(turn, b, turn);
}

// The turn RotX(offsetPitch) · RotY(-offsetYaw) carrying the direction from
// the parent, in radians.
inline void offsetTurn(float offsetPitch, float offsetYaw, Mat& offset) {
    Mat a, b;
    rotX(offsetPitch, a);
    rotY(-offsetYaw, b);
    multiply(a, b, offset);
}

// (0, 0, dist, 1) · offset, divided by its fourth component (1): the step
// from the parent, in row-vector axes.
inline void offsetStep(const Mat& offset, float dist, float (&d)[3]) {
    const float w = 0.0f * 0.0f + 0.0f * 0.0f + dist * 0.0f + 1.0f;
    for (int c = 0; c < 3; ++c) d[c] = (0.0f * offset[0][c] + 0.0f * offset[1][c] + dist * offset[2][c] + 0.0f) / w;
}

}  // namespace formats::skeleton_math
