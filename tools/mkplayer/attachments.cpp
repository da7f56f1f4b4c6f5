#include "mkplayer/attachments.h"

#include <algorithm>
#include <cmath>

#include "mkplayer/mesh.h"
#include "modelgen/md3_writer.h"

namespace mp {

namespace {

Vec3 file(float x, float y, float z) { return fromFile(x, y, z); }

std::int16_t units(float v) { return static_cast<std::int16_t>(std::lround(v * 64.0f)); }

mg::MdcSurfaceDesc surfaceOf(const Mesh& mesh, const std::string& shader) {
    mg::MdcSurfaceDesc s;
    s.name = mesh.name;
    s.shader = shader;
    std::vector<formats::MdcBaseVertex> base;
    for (const auto& v : mesh.vertices) {
        const auto p = toFile(v.pos);
        formats::MdcBaseVertex b = mg::baseVertex(units(p[0]), units(p[1]), units(p[2]));
        b.Normal = mg::md3Normal(toFile(v.normal));
        base.push_back(b);
        s.texCoords.push_back({v.u, v.v});
    }
    // The meshes are built in drawing axes, which mirror the file's: the
    // game's fronts are clockwise in the file's axes.
    for (const auto& t : mesh.triangles) s.triangles.push_back({{t[0], t[2], t[1]}});
    s.baseFrames = {base};
    s.frameBaseFrames = {0};
    return s;
}

mg::MdcModel modelOf(const std::string& name, const Mesh& mesh, const std::string& shader) {
    mg::MdcModel m;
    m.name = name;
    m.numFrames = 1;
    m.frameRecords = true;  // a whole file, as the game expects
    m.surfaces = {surfaceOf(mesh, shader)};
    return m;
}

// A body of revolution around the file z axis: {z, forward shift, half
// width, half depth} per ring; v from the top (0) down.
struct Profile {
    float z, x, side, depth;
};

Mesh lathe(const char* name, const std::vector<Profile>& profile, float top, float height, int segments) {
    std::vector<Ring> rings;
    for (const auto& p : profile)
        rings.push_back({file(p.x, 0.0f, p.z), p.side, p.depth, std::clamp((top - p.z) / height, 0.0f, 1.0f), {}});
    Mesh mesh{name, {}, {}};
    addTube(mesh, rings, {segments, 0.0f, 1.0f, {0, 0, 1}, true, true});
    return mesh;
}

}  // namespace

Mesh headMesh() {
    // From the neck (z 0 at the bone) to the crown.
    Mesh mesh = lathe(kHeadSurface,
                      {{-1.5f, 0.0f, 2.1f, 2.2f},
                       {0.8f, 0.2f, 2.3f, 2.5f},
                       {1.4f, 0.8f, 2.9f, 3.4f},
                       {3.0f, 0.6f, 3.3f, 3.9f},
                       {5.0f, 0.5f, 3.5f, 4.1f},
                       {6.8f, 0.4f, 3.6f, 4.2f},
                       {8.6f, 0.3f, 3.4f, 4.0f},
                       {10.0f, 0.2f, 2.7f, 3.3f},
                       {11.0f, 0.1f, 1.4f, 1.8f}},
                      11.4f, 13.0f, 12);
    // The nose: the front column of the ring at eye level and below.
    const int stride = 13, front = 6;
    mesh.vertices[4 * stride + front].pos = mesh.vertices[4 * stride + front].pos + file(0.8f, 0.0f, 0.0f);
    return mesh;
}

Mesh hatMesh() {
    // Around the head's top; the rim flares out at the bottom.
    Mesh mesh = lathe(kHatSurface,
                      {{-0.8f, -0.3f, 5.0f, 5.6f},
                       {-0.3f, -0.1f, 4.3f, 4.9f},
                       {1.6f, 0.1f, 3.8f, 4.4f},
                       {3.0f, 0.2f, 3.0f, 3.5f},
                       {4.0f, 0.2f, 1.7f, 2.0f}},
                      4.4f, 5.2f, 12);
    return mesh;
}

Mesh beltMesh(bool left) {
    // A pouch in front of the bone (which sits on the belt), its buckle
    // facing forward; the other faces show plain leather.
    Mesh mesh{"pouch", {}, {}};
    const std::array<float, 4> plain{0.0f, 0.0f, 0.2f, 0.2f}, buckle{0.0f, 0.0f, 1.0f, 1.0f};
    const float out = left ? 0.3f : -0.3f;  // slightly away from the belly
    addBox(mesh, file(0.0f, -1.6f + out, -1.8f), file(2.4f, 1.6f + out, 1.8f),
           {plain, plain, plain, plain, plain, buckle}, {});
    return mesh;
}

Mesh packMesh() {
    // A box behind the bone (which sits on the back) with a blanket rolled
    // on top of it.
    Mesh mesh{"pack", {}, {}};
    const std::array<float, 4> flap{0.0f, 0.0f, 0.5f, 1.0f}, canvas{0.5f, 0.0f, 1.0f, 0.5f};
    addBox(mesh, file(-3.6f, -4.4f, -5.0f), file(0.0f, 4.4f, 3.5f), {canvas, canvas, canvas, canvas, flap, canvas}, {});
    std::vector<Ring> roll = {{file(-1.8f, -4.8f, 4.9f), 1.5f, 1.5f, 0.5f, {}},
                              {file(-1.8f, 4.8f, 4.9f), 1.5f, 1.5f, 1.0f, {}}};
    addTube(mesh, roll, {8, 0.5f, 1.0f, {0, 1, 0}, true, true});
    return mesh;
}

mg::MdcModel headModel() { return modelOf("head", headMesh(), "models/players/infantryss/face.tga"); }
mg::MdcModel hatModel() { return modelOf("hat", hatMesh(), "models/players/infantryss/acc/hat.tga"); }
mg::MdcModel beltModel(bool left) {
    return modelOf(left ? "beltl" : "beltr", beltMesh(left), "models/players/infantryss/acc/belt.tga");
}
mg::MdcModel packModel() { return modelOf("pack", packMesh(), "models/players/infantryss/acc/pack.tga"); }

}  // namespace mp
