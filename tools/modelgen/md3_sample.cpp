// The sample MD3: a head nodding over four frames (a capped cylinder on a
// narrower neck), with a mouth tag and an eyes tag that turn with the head.
// Its LOD files use fewer segments around each cylinder.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "modelgen/samples.h"

namespace mg {

namespace {

using Vec = std::array<float, 3>;

struct Solid {
    std::vector<Vec> positions, normals;
    std::vector<formats::Md3TexCoord> texCoords;
    std::vector<formats::Md3Triangle> triangles;
};

float dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec sub(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// A cylinder of `segments` sides around the z axis from z0 to z1, closed at
// both ends by a centre vertex. Triangles are wound clockwise seen from
// outside, as the game draws them.
Solid cylinder(int segments, float radius, float z0, float z1) {
    Solid s;
    const auto n = static_cast<std::size_t>(segments);
    for (int ring = 0; ring < 2; ++ring)
        for (int i = 0; i < segments; ++i) {
            const float a = 6.2831853f * static_cast<float>(i) / static_cast<float>(segments);
            s.positions.push_back({radius * std::cos(a), radius * std::sin(a), ring == 0 ? z0 : z1});
            s.normals.push_back({std::cos(a), std::sin(a), 0.0f});
            s.texCoords.push_back({static_cast<float>(i) / static_cast<float>(segments), ring == 0 ? 1.0f : 0.0f});
        }
    s.positions.push_back({0.0f, 0.0f, z0});
    s.normals.push_back({0.0f, 0.0f, -1.0f});
    s.texCoords.push_back({0.5f, 1.0f});
    s.positions.push_back({0.0f, 0.0f, z1});
    s.normals.push_back({0.0f, 0.0f, 1.0f});
    s.texCoords.push_back({0.5f, 0.0f});
    const auto bottom = static_cast<std::int32_t>(2 * n), top = bottom + 1;
    for (std::size_t i = 0; i < n; ++i) {
        const auto a = static_cast<std::int32_t>(i), b = static_cast<std::int32_t>((i + 1) % n);
        const auto up = static_cast<std::int32_t>(n);
        s.triangles.push_back({{a, b, b + up}});
        s.triangles.push_back({{a, b + up, a + up}});
        s.triangles.push_back({{bottom, a, b}});
        s.triangles.push_back({{top, a + up, b + up}});
    }
    for (auto& t : s.triangles) {
        const Vec& p = s.positions[static_cast<std::size_t>(t.Indices[0])];
        const Vec face = cross(sub(s.positions[static_cast<std::size_t>(t.Indices[1])], p),
                               sub(s.positions[static_cast<std::size_t>(t.Indices[2])], p));
        Vec outward{};
        for (auto k : t.Indices)
            for (std::size_t c = 0; c < 3; ++c) outward[c] += s.normals[static_cast<std::size_t>(k)][c];
        if (dot(face, outward) > 0.0f) std::swap(t.Indices[1], t.Indices[2]);
    }
    return s;
}

// The head's turn in frame f: a nod about the y axis through the neck.
constexpr float kNodDegrees[] = {0.0f, 10.0f, 20.0f, 10.0f};

Vec nod(const Vec& p, float degrees) {
    const float a = degrees * 3.14159265f / 180.0f, c = std::cos(a), s = std::sin(a);
    return {c * p[0] + s * p[2], p[1], -s * p[0] + c * p[2]};
}

Md3SurfaceDesc surfaceOf(const Solid& solid, const std::string& name, const std::string& shader, bool nods) {
    Md3SurfaceDesc d;
    d.name = name;
    d.shaders = {{shader, 0}};
    d.triangles = solid.triangles;
    d.texCoords = solid.texCoords;
    for (float degrees : kNodDegrees) {
        std::vector<formats::Md3XyzNormal> frame;
        for (std::size_t v = 0; v < solid.positions.size(); ++v)
            frame.push_back(nods ? md3Vertex(nod(solid.positions[v], degrees), nod(solid.normals[v], degrees))
                                 : md3Vertex(solid.positions[v], solid.normals[v]));
        d.frames.push_back(std::move(frame));
    }
    return d;
}

Md3TagDesc tagOf(const std::string& name, const Vec& origin, float degrees) {
    Md3TagDesc t;
    t.name = name;
    t.origin = nod(origin, degrees);
    for (std::size_t row = 0; row < 3; ++row) {
        Vec unit{};
        unit[row] = 1.0f;
        const Vec turned = nod(unit, degrees);
        std::copy(turned.begin(), turned.end(), t.axis.begin() + static_cast<std::ptrdiff_t>(3 * row));
    }
    return t;
}

// Bounds and radius of frame f from the positions as stored.
void bound(Md3FrameDesc& frame, const std::vector<Md3SurfaceDesc>& surfaces, std::size_t f) {
    frame.bboxMin = {1e9f, 1e9f, 1e9f};
    frame.bboxMax = {-1e9f, -1e9f, -1e9f};
    for (const auto& s : surfaces)
        for (const auto& v : s.frames[f]) {
            Vec p{};
            for (std::size_t c = 0; c < 3; ++c) {
                p[c] = static_cast<float>(v.xyz[c]) * formats::kMd3VertexScale;
                frame.bboxMin[c] = std::min(frame.bboxMin[c], p[c]);
                frame.bboxMax[c] = std::max(frame.bboxMax[c], p[c]);
            }
            frame.radius = std::max(frame.radius, std::sqrt(dot(p, p)));
        }
}

}  // namespace

Md3Model sampleMd3(int lod) {
    constexpr int kSegments[] = {12, 8, 6, 4};
    const int segments = kSegments[std::clamp(lod, 0, 3)];
    Md3Model m;
    m.name = "models/players/sample/head" + (lod > 0 ? "_" + std::to_string(lod) : std::string()) + ".md3";
    m.surfaces.push_back(surfaceOf(cylinder(segments, 5.0f, 0.0f, 10.0f), "h_head", "models/players/sample/head.tga",
                                   true));
    m.surfaces.push_back(surfaceOf(cylinder(segments, 2.5f, -4.0f, 1.0f), "h_neck", "models/players/sample/neck.tga",
                                   false));
    for (std::size_t f = 0; f < std::size(kNodDegrees); ++f) {
        Md3FrameDesc frame;
        frame.name = "nod" + std::to_string(f);
        bound(frame, m.surfaces, f);
        frame.tags = {tagOf("tag_mouth", {5.0f, 0.0f, 3.0f}, kNodDegrees[f]),
                      tagOf("tag_eyes", {4.5f, 0.0f, 6.5f}, kNodDegrees[f])};
        m.frames.push_back(std::move(frame));
    }
    return m;
}

}  // namespace mg
