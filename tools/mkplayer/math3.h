// Small float32 vector and 3 x 3 rotation helpers in the viewer's drawing
// axes (x right, y up, z forward; row vectors: a point p is turned as p · M).
// File positions (x forward, y left, z up) become drawing positions
// (-y, z, x) and back.
#pragma once

#include <array>
#include <cmath>

namespace mp {

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalized(Vec3 a) {
    const float l = length(a);
    return l > 0.0f ? a * (1.0f / l) : Vec3{};
}

// A file-space point (x forward, y left, z up) in drawing axes, and back.
inline Vec3 fromFile(float x, float y, float z) { return {-y, z, x}; }
inline std::array<float, 3> toFile(Vec3 d) { return {d.z, -d.x, d.y}; }

// Row-vector rotation: p · m.
struct Mat3 {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

inline Mat3 operator*(const Mat3& a, const Mat3& b) {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    return r;
}
inline Vec3 operator*(Vec3 p, const Mat3& a) {
    return {p.x * a.m[0][0] + p.y * a.m[1][0] + p.z * a.m[2][0], p.x * a.m[0][1] + p.y * a.m[1][1] + p.z * a.m[2][1],
            p.x * a.m[0][2] + p.y * a.m[1][2] + p.z * a.m[2][2]};
}
inline Mat3 transposed(const Mat3& a) {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = a.m[j][i];
    return r;
}

// The viewer's elementary turns (the D3DX matrices' upper 3 x 3 parts).
inline Mat3 rotX(float a) {
    const float c = std::cos(a), s = std::sin(a);
    Mat3 r;
    r.m[1][1] = c, r.m[1][2] = s, r.m[2][1] = -s, r.m[2][2] = c;
    return r;
}
inline Mat3 rotY(float a) {
    const float c = std::cos(a), s = std::sin(a);
    Mat3 r;
    r.m[0][0] = c, r.m[0][2] = -s, r.m[2][0] = s, r.m[2][2] = c;
    return r;
}
inline Mat3 rotZ(float a) {
    const float c = std::cos(a), s = std::sin(a);
    Mat3 r;
    r.m[0][0] = c, r.m[0][1] = s, r.m[1][0] = -s, r.m[1][1] = c;
    return r;
}

constexpr float kPi = 3.14159265358979f;
inline float deg(float d) { return d * kPi / 180.0f; }

}  // namespace mp
