// Low-poly mesh building in the rest pose (drawing axes): tubes made of
// elliptic rings (limbs, torso, head, helmet) and boxes (pouches, pack),
// each vertex with texture coordinates and its bone influences.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "mkplayer/math3.h"

namespace mp {

struct Influence {
    int bone = 0;
    float weight = 1.0f;
};
using Influences = std::vector<Influence>;

struct MeshVertex {
    Vec3 pos;
    Vec3 normal;
    float u = 0.0f, v = 0.0f;
    Influences influences;
};

struct Mesh {
    std::string name;
    std::vector<MeshVertex> vertices;
    std::vector<std::array<int, 3>> triangles;
};

// One cross-section of a tube: an ellipse around `center` with radius `side`
// across and `depth` along the tube's depth direction, at texture row v.
struct Ring {
    Vec3 center;
    float side = 1.0f, depth = 1.0f;
    float v = 0.0f;
    Influences influences;
};

struct TubeStyle {
    int segments = 8;
    float u0 = 0.0f, u1 = 1.0f;  // texture columns; the middle one faces `front`
    Vec3 front{0.0f, 0.0f, 1.0f};  // depth direction before it is made square to the tube
    bool capStart = false, capEnd = false;
};

// Rings are joined in order; u runs around each ring (a seam vertex is
// repeated), the middle column facing `front`.
void addTube(Mesh& mesh, const std::vector<Ring>& rings, const TubeStyle& style);

// A box with opposite corners a and b (drawing axes), every face with its
// own four corners.
// uv[face] = {u0, v0, u1, v1} for the faces -x, +x, -y, +y, -z, +z.
void addBox(Mesh& mesh, Vec3 a, Vec3 b, const std::array<std::array<float, 4>, 6>& uv, const Influences& influences);

}  // namespace mp
