#include "export/transforms.h"

#include <cmath>

namespace exporter {

namespace {

// glTF axis i is game axis kGame[i].
constexpr int kGame[3] = {1, 2, 0};

void quaternionOf(const double (&m)[3][3], double (&q)[4]) {
    const double trace = m[0][0] + m[1][1] + m[2][2];
    if (trace > 0.0) {
        const double s = 2.0 * std::sqrt(trace + 1.0);
        q[3] = 0.25 * s;
        q[0] = (m[2][1] - m[1][2]) / s;
        q[1] = (m[0][2] - m[2][0]) / s;
        q[2] = (m[1][0] - m[0][1]) / s;
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const double s = 2.0 * std::sqrt(1.0 + m[0][0] - m[1][1] - m[2][2]);
        q[3] = (m[2][1] - m[1][2]) / s;
        q[0] = 0.25 * s;
        q[1] = (m[0][1] + m[1][0]) / s;
        q[2] = (m[0][2] + m[2][0]) / s;
    } else if (m[1][1] > m[2][2]) {
        const double s = 2.0 * std::sqrt(1.0 + m[1][1] - m[0][0] - m[2][2]);
        q[3] = (m[0][2] - m[2][0]) / s;
        q[0] = (m[0][1] + m[1][0]) / s;
        q[1] = 0.25 * s;
        q[2] = (m[1][2] + m[2][1]) / s;
    } else {
        const double s = 2.0 * std::sqrt(1.0 + m[2][2] - m[0][0] - m[1][1]);
        q[3] = (m[1][0] - m[0][1]) / s;
        q[0] = (m[0][2] + m[2][0]) / s;
        q[1] = (m[1][2] + m[2][1]) / s;
        q[2] = 0.25 * s;
    }
    const double n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (double& c : q) c /= n;
}

void gltfTurn(const Xf& x, double (&out)[3][3]) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out[i][j] = x.r[kGame[i]][kGame[j]];
}

}  // namespace

Xf compose(const Xf& a, const Xf& b) {
    Xf out;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) out.r[i][j] = a.r[i][0] * b.r[0][j] + a.r[i][1] * b.r[1][j] + a.r[i][2] * b.r[2][j];
        out.t[i] = a.r[i][0] * b.t[0] + a.r[i][1] * b.t[1] + a.r[i][2] * b.t[2] + a.t[i];
    }
    return out;
}

Xf inverse(const Xf& a) {
    Xf out;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out.r[i][j] = a.r[j][i];
    for (int i = 0; i < 3; ++i) out.t[i] = -(out.r[i][0] * a.t[0] + out.r[i][1] * a.t[1] + out.r[i][2] * a.t[2]);
    return out;
}

Xf poseOf(const formats::BonePose3& pose, bool inverseTurn) {
    Xf out;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) out.r[i][j] = inverseTurn ? pose.turn[j][i] : pose.turn[i][j];
        out.t[i] = pose.origin[i];
    }
    return out;
}

Xf placeOf(const float* origin, const float* axisRows) {
    Xf out;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) out.r[i][j] = axisRows[3 * j + i];
        out.t[i] = origin[i];
    }
    return out;
}

Trs gltfTrs(const Xf& x, double scale) {
    Trs out;
    double m[3][3], q[4];
    gltfTurn(x, m);
    quaternionOf(m, q);
    for (int i = 0; i < 4; ++i) out.q[i] = static_cast<float>(q[i]);
    for (int i = 0; i < 3; ++i) out.t[i] = static_cast<float>(scale * x.t[kGame[i]]);
    return out;
}

void gltfPoint(const double (&p)[3], double scale, float (&out)[3]) {
    for (int i = 0; i < 3; ++i) out[i] = static_cast<float>(scale * p[kGame[i]]);
}

void gltfVector(const double (&v)[3], float (&out)[3]) {
    const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(n > 1e-12) || !std::isfinite(n)) {
        out[0] = 0.0f, out[1] = 1.0f, out[2] = 0.0f;
        return;
    }
    for (int i = 0; i < 3; ++i) out[i] = static_cast<float>(v[kGame[i]] / n);
}

void gltfInverseMatrix(const Xf& x, double scale, float (&out)[16]) {
    double m[3][3];
    gltfTurn(x, m);
    double t[3];
    for (int i = 0; i < 3; ++i) t[i] = scale * x.t[kGame[i]];
    // inverse: rotation m^T, translation -m^T t; column-major.
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row) out[4 * col + row] = static_cast<float>(m[col][row]);
    for (int row = 0; row < 3; ++row)
        out[12 + row] = static_cast<float>(-(m[0][row] * t[0] + m[1][row] * t[1] + m[2][row] * t[2]));
    out[3] = out[7] = out[11] = 0.0f;
    out[15] = 1.0f;
}

}  // namespace exporter
