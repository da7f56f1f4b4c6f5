#include "modelgen/samples.h"

#include <cstddef>
#include <string>

namespace mg {

namespace {

formats::MdsWeight weight(std::int32_t bone, float w, float x, float y, float z) { return {bone, w, {x, y, z}}; }

MdsVertexDesc vertex(float u, float v, std::vector<formats::MdsWeight> weights) {
    MdsVertexDesc d;
    d.texCoords = {u, v};
    d.weights = std::move(weights);
    return d;
}

}  // namespace

MdsModel sampleMds() {
    MdsModel m;
    m.name = "sample";
    m.lodScale = 1.0f;
    m.lodBias = 0.5f;
    m.torsoParent = 1;
    m.bones = {{"root", -1, 0.0f, 0.0f, 0},
               {"spine", 0, 0.5f, 12.5f, 1},
               {"head", 1, 1.0f, 8.0f, 0},
               {"arm", 1, 0.25f, 6.0f, 0x80000000u}};
    for (int k = 0; k < 3; ++k) {
        MdsFrameDesc f;
        f.bboxMin = {-10.0f, -10.0f, 0.0f};
        f.bboxMax = {10.0f, 10.0f, 60.0f};
        f.localOrigin = {0.0f, 0.0f, 0.0f};
        f.radius = 40.0f;
        f.parentOffset = {0.0f, 0.0f, 24.0f + static_cast<float>(k)};
        for (int j = 0; j < 4; ++j) {
            const auto a = static_cast<std::int16_t>(1024 * (k + 1) * (j + 1));
            f.boneFrames.push_back({a, static_cast<std::int16_t>(-a), 0, 0, 16384, static_cast<std::int16_t>(-16384)});
        }
        m.frames.push_back(f);
    }
    m.tags = {{"tag_head", 1.0f, 2}, {"tag_weapon", 0.0f, 3}};
    for (int s = 0; s < 2; ++s) {
        MdsSurfaceDesc d;
        d.id = 7;
        d.name = s == 0 ? "body" : "legs";
        d.shader = s == 0 ? "models/players/sample/body" : "models/players/sample/legs";
        d.shaderIndex = s;
        d.vertices = {vertex(0.0f, 0.0f, {weight(0, 1.0f, 1.0f, 2.0f, 3.0f)}),
                      vertex(1.0f, 0.0f, {weight(1, 0.5f, 0.0f, 1.0f, 0.0f), weight(2, 0.5f, 0.0f, -1.0f, 0.0f)}),
                      vertex(1.0f, 1.0f, {}),
                      vertex(0.0f, 1.0f, {weight(3, 1.0f, -2.0f, 0.0f, 4.5f)})};
        d.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
        d.collapseMap = {0, 0, 1, 2};
        d.boneRefs = {0, 1, 2, 3};
        m.surfaces.push_back(d);
    }
    return m;
}

Bytes damagedMds(MdsDamage damage) {
    MdsModel m = sampleMds();
    switch (damage) {
        case MdsDamage::WrongIdent: m.ident = {'M', 'D', 'S', 'X'}; break;
        case MdsDamage::Version3: m.version = 3; break;
        case MdsDamage::Truncated: {
            Bytes b = writeMds(m).bytes;
            b.resize(100);
            return b;
        }
        case MdsDamage::SurfaceEndOutside: m.surfaces[0].offsetEnd = 1 << 20; break;
        case MdsDamage::WeightsPastEnd:
            m.order = {MdsSection::Frames, MdsSection::Bones, MdsSection::Tags, MdsSection::Surfaces};
            m.surfaces.back().boneRefs.clear();
            m.surfaces.back().vertices.back().numWeights = 1000;
            break;
        case MdsDamage::BadBoneIndices:
            m.torsoParent = 4;
            m.tags[0].boneIndex = -5;
            m.bones[2].parent = 99;
            m.surfaces[0].vertices[0].weights[0].BoneIndex = 4;
            m.surfaces[0].boneRefs[1] = -1;
            break;
        case MdsDamage::NegativeCount: {
            Bytes b = writeMds(m).bytes;
            put<std::int32_t>(b, offsetof(formats::MdsHeader, NumTags), -1);
            return b;
        }
        case MdsDamage::UnterminatedNames: {
            const std::string n64(64, 'N');
            m.name = n64;
            for (auto& b : m.bones) b.name = n64;
            for (auto& t : m.tags) t.name = n64;
            for (auto& s : m.surfaces) s.name = s.shader = n64;
            break;
        }
    }
    return writeMds(m).bytes;
}

MdsModel syntheticMds(int surfaces, int vertices, int weights, int bones, int frames) {
    MdsModel m;
    m.name = "synthetic";
    for (int b = 0; b < bones; ++b) m.bones.push_back({"bone" + std::to_string(b), b - 1, 0.5f, 3.0f, 0});
    for (int k = 0; k < frames; ++k) {
        MdsFrameDesc f;
        f.radius = 50.0f;
        f.parentOffset = {0.0f, 0.0f, static_cast<float>(k) * 0.25f};
        for (int j = 0; j < bones; ++j) {
            const auto a = static_cast<std::int16_t>(k * 97 + j * 31);
            f.boneFrames.push_back({a, static_cast<std::int16_t>(a / 2), static_cast<std::int16_t>(-a), 0, a, a});
        }
        m.frames.push_back(f);
    }
    m.tags = {{"tag_head", 1.0f, 0}, {"tag_weapon", 0.5f, bones > 1 ? 1 : 0}};
    for (int s = 0; s < surfaces; ++s) {
        MdsSurfaceDesc d;
        d.name = "surface" + std::to_string(s);
        d.shader = "models/synthetic/" + d.name;
        for (int v = 0; v < vertices; ++v) {
            MdsVertexDesc vd;
            vd.texCoords = {static_cast<float>(v) / static_cast<float>(vertices), 0.5f};
            for (int w = 0; w < weights; ++w)
                vd.weights.push_back(weight((v + w) % (bones > 0 ? bones : 1), 1.0f / static_cast<float>(weights),
                                            static_cast<float>(v), static_cast<float>(w), 1.5f));
            d.vertices.push_back(vd);
        }
        for (int t = 0; t + 2 < vertices; t += 3) d.triangles.push_back({{t, t + 1, t + 2}});
        for (int b = 0; b < bones; ++b) d.boneRefs.push_back(b);
        m.surfaces.push_back(d);
    }
    return m;
}

Bytes largeBody() {
    MdsModel m = syntheticMds(16, 250, 2, 70, 5400);
    for (auto& s : m.surfaces) {
        s.triangles.clear();
        for (int t = 0; t < 400; ++t) s.triangles.push_back({{t % 248, t % 248 + 1, t % 248 + 2}});
    }
    return writeMds(m).bytes;
}

MdcModel sampleMdc() {
    MdcModel m;
    m.name = "sample_head";
    m.numFrames = 3;
    for (int s = 0; s < 2; ++s) {
        MdcSurfaceDesc d;
        d.name = s == 0 ? "h_head" : "h_hat";
        d.shader = s == 0 ? "models/players/sample/head.tga" : "models/players/sample/hat.jpg";
        d.triangles = {{{0, 1, 2}}};
        d.texCoords = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}};
        d.baseFrames = {{baseVertex(0, 0, 0), baseVertex(64, 0, 0), baseVertex(0, 64, 0)},
                        {baseVertex(0, 0, 64), baseVertex(64, -128, 32), baseVertex(-32768, 0, 0)}};
        d.frameBaseFrames = {0, 1, 1};
        m.surfaces.push_back(d);
    }
    return m;
}

}  // namespace mg
