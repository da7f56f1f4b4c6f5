#include "mkplayer/body.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "mkplayer/animation.h"
#include "mkplayer/body_mesh.h"
#include "mkplayer/encode.h"
#include "mkplayer/progressive.h"
#include "mkplayer/skeleton.h"

namespace mp {

namespace {

// A vertex in a decoded frame, skinned as the viewer skins it.
Vec3 skin(const std::vector<formats::MdsWeight>& weights, const DecodedFrame& f) {
    Vec3 sum;
    for (const auto& w : weights) {
        const Vec3 q{-w.xyz[1], w.xyz[2], w.xyz[0]};
        sum = sum + (f.position[w.BoneIndex] + q * f.rotation[w.BoneIndex]) * w.Weight;
    }
    return sum;
}

// Each weight holds the vertex's offset from its bone in the decoded rest
// pose, in the bone's own axes, so that every bone alone would put the
// vertex at its rest place and the weighted sum does too.
mg::MdsSurfaceDesc surfaceOf(const Mesh& mesh, const DecodedFrame& rest, std::int32_t id) {
    mg::MdsSurfaceDesc s;
    s.id = id;
    s.name = mesh.name;
    s.shader = bodyShader(mesh.name);
    std::set<std::int32_t> used;
    for (const auto& v : mesh.vertices) {
        mg::MdsVertexDesc d;
        // The game turns a normal with the vertex's first bone.
        d.normal = toFile(v.normal * transposed(rest.rotation[v.influences.front().bone]));
        d.texCoords = {v.u, v.v};
        d.fixedParent = v.influences.front().bone;
        for (const auto& inf : v.influences) {
            const Vec3 q = (v.pos - rest.position[inf.bone]) * transposed(rest.rotation[inf.bone]);
            const auto xyz = toFile(q);
            d.weights.push_back({inf.bone, inf.weight, {xyz[0], xyz[1], xyz[2]}});
            used.insert(inf.bone);
        }
        d.fixedDist = length(v.pos - rest.position[d.fixedParent]);
        s.vertices.push_back(std::move(d));
    }
    // Built in drawing axes, which mirror the file's: the game's fronts are
    // clockwise in the file's axes.
    for (const auto& t : mesh.triangles) s.triangles.push_back({{t[0], t[2], t[1]}});
    s.boneRefs.assign(used.begin(), used.end());
    return s;
}

// Lowest skinned point of the frame, in drawing y.
float lowest(const mg::MdsModel& m, const EncodedFrame& e) {
    const DecodedFrame f = decodeFrame(e);
    float low = std::numeric_limits<float>::max();
    for (const auto& s : m.surfaces)
        for (const auto& v : s.vertices) low = std::min(low, skin(v.weights, f).y);
    return low;
}

mg::MdsFrameDesc frameOf(const mg::MdsModel& m, EncodedFrame e) {
    // Stand on the ground: the lowest point of every frame at height 0.
    raise(e, -lowest(m, e));
    const DecodedFrame f = decodeFrame(e);
    mg::MdsFrameDesc out;
    out.parentOffset = e.parentOffset;
    out.boneFrames = e.bones;
    std::array<float, 3> lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    float radius = 0.0f;
    for (const auto& s : m.surfaces)
        for (const auto& v : s.vertices) {
            const auto p = toFile(skin(v.weights, f));
            for (int c = 0; c < 3; ++c) lo[c] = std::min(lo[c], p[c]), hi[c] = std::max(hi[c], p[c]);
            radius = std::max(radius, std::hypot(p[0], p[1], p[2]));
        }
    out.bboxMin = lo;
    out.bboxMax = hi;
    out.radius = radius;
    return out;
}

mg::MdsModel buildBodyModel() {
    mg::MdsModel m;
    m.name = "infantryss";
    m.torsoParent = bone::SpineLower;
    for (const Bone& b : skeleton())
        m.bones.push_back({b.name, b.parent, b.torsoWeight, restLength(static_cast<int>(&b - skeleton().data())), 0});

    const DecodedFrame rest = decodeFrame(encodeFrame(restPose()));
    std::int32_t id = 0;
    for (Mesh mesh : bodyMeshes()) {
        std::vector<std::int32_t> collapse = progressiveOrder(mesh);
        m.surfaces.push_back(surfaceOf(mesh, rest, id++));
        m.surfaces.back().collapseMap = std::move(collapse);
    }

    for (int k = 0; k < kFrameCount; ++k) m.frames.push_back(frameOf(m, encodeFrame(framePose(k))));

    m.tags = {{"tag_head", 1.0f, bone::TagHead},      {"tag_armright", 1.0f, bone::HandR},
              {"tag_weapon", 1.0f, bone::TagWeapon},  {"tag_chest", 1.0f, bone::TagChest},
              {"tag_back", 0.9f, bone::TagBack},      {"tag_belt_left", 0.0f, bone::TagBeltL},
              {"tag_belt_right", 0.0f, bone::TagBeltR}, {"tag_leg_left", 0.0f, bone::TagLegL},
              {"tag_leg_right", 0.0f, bone::TagLegR}};
    return m;
}

}  // namespace

std::string bodyShader(const std::string& surface) { return "models/players/infantryss/" + surface; }

// Built once: the progressive order costs more than the rest of the body,
// and the split formats and the character ask for the body many times.
mg::MdsModel bodyModel() {
    static const mg::MdsModel model = buildBodyModel();
    return model;
}

}  // namespace mp
