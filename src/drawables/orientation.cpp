#include "drawables/orientation.h"

namespace drawables {

void Orientation::place(const float (&p)[3], float (&out)[3]) const {
    for (int c = 0; c < 3; ++c) out[c] = origin[c] + p[0] * axis[0][c] + p[1] * axis[1][c] + p[2] * axis[2][c];
}

Orientation attach(const Orientation& parent, const Orientation& tag) {
    Orientation o;
    parent.place(tag.origin, o.origin);
    for (int i = 0; i < 3; ++i)
        for (int c = 0; c < 3; ++c)
            o.axis[i][c] = tag.axis[i][0] * parent.axis[0][c] + tag.axis[i][1] * parent.axis[1][c] +
                           tag.axis[i][2] * parent.axis[2][c];
    return o;
}

Orientation onBone(const formats::BonePose3& bone, const float (&tagAxis)[3][3], const float (&offset)[3]) {
    Orientation o;
    const auto& m = bone.turn;
    for (int i = 0; i < 3; ++i) {
        o.origin[i] = m[i][0] * offset[0] + m[i][1] * offset[1] + m[i][2] * offset[2] + bone.origin[i];
        for (int j = 0; j < 3; ++j)
            o.axis[j][i] = m[i][0] * tagAxis[j][0] + m[i][1] * tagAxis[j][1] + m[i][2] * tagAxis[j][2];
    }
    return o;
}

void toDrawing(const float (&p)[3], float (&out)[3]) {
    const float x = p[0], y = p[1], z = p[2];
    out[0] = -y;
    out[1] = z;
    out[2] = x;
}

D3DXMATRIX worldMatrix(const Orientation& o) {
    D3DXMATRIX w;
    D3DXMatrixIdentity(&w);
    // Drawing axis a is the game's vector (d.z, -d.x, d.y) of its unit d.
    const float fromDrawing[3][3] = {{0, -1, 0}, {0, 0, 1}, {1, 0, 0}};
    for (int a = 0; a < 3; ++a) {
        float image[3];
        for (int c = 0; c < 3; ++c)
            image[c] = fromDrawing[a][0] * o.axis[0][c] + fromDrawing[a][1] * o.axis[1][c] +
                       fromDrawing[a][2] * o.axis[2][c];
        float row[3];
        toDrawing(image, row);
        for (int c = 0; c < 3; ++c) w(a, c) = row[c];
    }
    float t[3];
    toDrawing(o.origin, t);
    for (int c = 0; c < 3; ++c) w(3, c) = t[c];
    return w;
}

}  // namespace drawables
