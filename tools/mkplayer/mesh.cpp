#include "mkplayer/mesh.h"

#include <algorithm>
#include <cmath>

namespace mp {

namespace {

// Axis of the tube at ring i: from the previous ring to the next.
Vec3 axisAt(const std::vector<Ring>& rings, std::size_t i) {
    const Vec3 a = rings[i == 0 ? 0 : i - 1].center;
    const Vec3 b = rings[i + 1 < rings.size() ? i + 1 : i].center;
    return normalized(b - a);
}

int addVertex(Mesh& mesh, Vec3 pos, Vec3 normal, float u, float v, const Influences& influences) {
    mesh.vertices.push_back({pos, normalized(normal), u, v, influences});
    return static_cast<int>(mesh.vertices.size()) - 1;
}

void addCap(Mesh& mesh, const Ring& ring, int first, int segments, Vec3 outward, float u) {
    const int centre = addVertex(mesh, ring.center, outward, u, ring.v, ring.influences);
    for (int k = 0; k < segments; ++k) mesh.triangles.push_back({centre, first + k, first + k + 1});
}

}  // namespace

void addTube(Mesh& mesh, const std::vector<Ring>& rings, const TubeStyle& style) {
    const int n = style.segments;
    const int first = static_cast<int>(mesh.vertices.size());
    for (std::size_t i = 0; i < rings.size(); ++i) {
        const Ring& r = rings[i];
        const Vec3 axis = axisAt(rings, i);
        const Vec3 depth = normalized(style.front - axis * dot(style.front, axis));
        const Vec3 side = cross(depth, axis);
        for (int k = 0; k <= n; ++k) {
            // Column 0 is at the back, column n / 2 faces the front.
            const float t = 2.0f * kPi * static_cast<float>(k) / static_cast<float>(n) - 0.5f * kPi;
            const Vec3 radial = side * (r.side * std::cos(t)) + depth * (r.depth * std::sin(t));
            const float u = style.u0 + (style.u1 - style.u0) * static_cast<float>(k) / static_cast<float>(n);
            addVertex(mesh, r.center + radial, radial, u, r.v, r.influences);
        }
    }
    const int stride = n + 1;
    for (std::size_t i = 0; i + 1 < rings.size(); ++i) {
        const int a = first + static_cast<int>(i) * stride, b = a + stride;
        for (int k = 0; k < n; ++k) {
            mesh.triangles.push_back({a + k, b + k, b + k + 1});
            mesh.triangles.push_back({a + k, b + k + 1, a + k + 1});
        }
    }
    const float uMid = 0.5f * (style.u0 + style.u1);
    if (style.capStart) addCap(mesh, rings.front(), first, n, axisAt(rings, 0) * -1.0f, uMid);
    if (style.capEnd)
        addCap(mesh, rings.back(), first + static_cast<int>(rings.size() - 1) * stride, n,
               axisAt(rings, rings.size() - 1), uMid);
}

void addBox(Mesh& mesh, Vec3 a, Vec3 b, const std::array<std::array<float, 4>, 6>& uv, const Influences& influences) {
    const Vec3 lo{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
    const Vec3 hi{std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
    // Per face: the normal axis and sign, then the two axes that u and v run along.
    struct Face {
        int axis;
        float sign;
        int uAxis, vAxis;
    };
    static const Face faces[6] = {{0, -1, 2, 1}, {0, 1, 2, 1}, {1, -1, 0, 2}, {1, 1, 0, 2}, {2, -1, 0, 1}, {2, 1, 0, 1}};
    const float lohi[2][3] = {{lo.x, lo.y, lo.z}, {hi.x, hi.y, hi.z}};
    for (int f = 0; f < 6; ++f) {
        const Face& face = faces[f];
        const int first = static_cast<int>(mesh.vertices.size());
        for (int corner = 0; corner < 4; ++corner) {
            const int cu = corner & 1, cv = corner >> 1;
            float p[3];
            p[face.axis] = lohi[face.sign > 0 ? 1 : 0][face.axis];
            p[face.uAxis] = lohi[cu][face.uAxis];
            // v grows downwards in the image: the top of a face is row v0.
            p[face.vAxis] = lohi[face.vAxis == 1 ? 1 - cv : cv][face.vAxis];
            float n[3] = {0, 0, 0};
            n[face.axis] = face.sign;
            addVertex(mesh, {p[0], p[1], p[2]}, {n[0], n[1], n[2]}, cu ? uv[f][2] : uv[f][0], cv ? uv[f][3] : uv[f][1],
                      influences);
        }
        mesh.triangles.push_back({first, first + 1, first + 3});
        mesh.triangles.push_back({first, first + 3, first + 2});
    }
}

}  // namespace mp
