#include "modelgen/defects.h"

#include <cmath>
#include <cstddef>
#include <functional>
#include <limits>

#include "formats/mdc_layout.h"
#include "formats/mds_layout.h"
#include "modelgen/samples.h"

namespace mg {

namespace {

MdsModel cleanMdsModel() {
    MdsModel m = sampleMds();
    for (auto& s : m.surfaces) s.vertices[2].weights = {{2, 1.0f, {0.0f, 0.5f, 0.0f}}};
    return m;
}

constexpr std::int64_t kFrameSize = 52 + 12 * 4;  // the sample's 4 bones

// One MDS defect: change the description, write it, optionally damage the
// bytes, and name the expected finding from the written positions.
struct MdsCase {
    const char* name;
    const char* id;
    std::function<void(MdsModel&)> change;
    std::function<void(const MdsImage&, Bytes&)> damage;
    std::function<std::pair<std::string, std::int64_t>(const MdsImage&)> expect;
};

Defect makeMds(const MdsCase& c) {
    MdsModel m = cleanMdsModel();
    if (c.change) c.change(m);
    MdsImage img = writeMds(m);
    if (c.damage) c.damage(img, img.bytes);
    const auto [where, offset] = c.expect(img);
    return {c.name, false, formats::Format::Mds, img.bytes, c.id, where, offset};
}

std::int64_t hdr(std::size_t field) { return static_cast<std::int64_t>(field); }

}  // namespace

Bytes cleanMds() { return writeMds(cleanMdsModel()).bytes; }
namespace {

MdcModel cleanMdcModel() {
    MdcModel m = sampleMdc();
    m.frameRecords = true;
    m.tags = {"tag_mouth"};
    return m;
}

}  // namespace

Bytes cleanMdc() { return writeMdc(cleanMdcModel()).bytes; }

std::vector<Defect> mdsDefects() {
    using P = std::pair<std::string, std::int64_t>;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<MdsCase> cases = {
        {"not-mds", "not-a-model",
         [](MdsModel& m) {
             m.ident = {'M', 'D', 'S', 'X'};
         },
         nullptr,
         [](const MdsImage&) {
             return P{"header .Id", 0};
         }},
        {"too-short", "too-short", nullptr, [](const MdsImage&, Bytes& b) { b.resize(100); },
         [](const MdsImage&) {
             return P{"header", 0};
         }},
        {"version", "version", [](MdsModel& m) { m.version = 3; }, nullptr,
         [](const MdsImage&) {
             return P{"header .Version", 4};
         }},
        // A file cut short is one finding, the cause; the lists it cuts off
        // are not reported one by one.
        {"truncated", "end-offset", nullptr, [](const MdsImage& i, Bytes& b) { b.resize(i.tags + 10); },
         [](const MdsImage&) {
             return P{"header .OffsetEnd", hdr(offsetof(formats::MdsHeader, OffsetEnd))};
         }},
        {"negative-count", "negative-count", nullptr,
         [](const MdsImage&, Bytes& b) { put<std::int32_t>(b, offsetof(formats::MdsHeader, NumTags), -1); },
         [](const MdsImage&) {
             return P{"header .NumTags", hdr(offsetof(formats::MdsHeader, NumTags))};
         }},
        {"end-offset", "end-offset", nullptr,
         [](const MdsImage&, Bytes& b) {
             put<std::int32_t>(b, offsetof(formats::MdsHeader, OffsetEnd), static_cast<std::int32_t>(b.size()) + 100);
         },
         [](const MdsImage&) {
             return P{"header .OffsetEnd", hdr(offsetof(formats::MdsHeader, OffsetEnd))};
         }},
        {"triangles-outside", "record-outside", nullptr,
         [](const MdsImage& i, Bytes& b) {
             put<std::int32_t>(b, i.surfaces[0].header + 156, static_cast<std::int32_t>(b.size()) - 4);
         },
         [](const MdsImage& i) {
             return P{"surface 0 \"body\" .OffsetTriangles", i.surfaces[0].header + 156};
         }},
        {"parent-order", "parent-order", [](MdsModel& m) { m.bones[1].parent = 2; }, nullptr,
         [](const MdsImage& i) {
             return P{"bone 1 \"spine\" .ParentIndex", i.bones + 80 + 64};
         }},
        {"torso-parent", "bone-index", [](MdsModel& m) { m.torsoParent = 4; }, nullptr,
         [](const MdsImage&) {
             return P{"header .TorsoParent", hdr(offsetof(formats::MdsHeader, TorsoParent))};
         }},
        {"tag-bone", "bone-index", [](MdsModel& m) { m.tags[0].boneIndex = 9; }, nullptr,
         [](const MdsImage& i) {
             return P{"tag 0 \"tag_head\" .BoneIndex", i.tags + 68};
         }},
        {"weight-bone", "bone-index", [](MdsModel& m) { m.surfaces[0].vertices[0].weights[0].BoneIndex = 7; }, nullptr,
         [](const MdsImage& i) {
             return P{"surface 0 \"body\" vertex 0 weight 0 .BoneIndex", i.surfaces[0].vertex[0] + 32};
         }},
        {"bone-ref", "bone-index", [](MdsModel& m) { m.surfaces[1].boneRefs[2] = 10; }, nullptr,
         [](const MdsImage& i) {
             return P{"surface 1 \"legs\" bone reference 2", i.surfaces[1].boneRefs + 8};
         }},
        {"triangle-index", "vertex-index", [](MdsModel& m) { m.surfaces[0].triangles[1].Indices[2] = 4; }, nullptr,
         [](const MdsImage& i) {
             return P{"surface 0 \"body\" triangle 1 .Indices[2]", i.surfaces[0].triangles + 20};
         }},
        {"collapse-map", "vertex-index", [](MdsModel& m) { m.surfaces[1].collapseMap[3] = 9; }, nullptr,
         [](const MdsImage& i) {
             return P{"surface 1 \"legs\" collapse-map entry 3", i.surfaces[1].collapseMap + 12};
         }},
        {"weight-sum", "weight-sum", [](MdsModel& m) { m.surfaces[0].vertices[1].weights[1].Weight = 0.4f; }, nullptr,
         [](const MdsImage& i) {
             return P{"surface 0 \"body\" vertex 1 .Weights", i.surfaces[0].vertex[1] + 32};
         }},
        {"no-weights", "no-weights", [](MdsModel& m) { m.surfaces[0].vertices[2].weights.clear(); }, nullptr,
         [](const MdsImage& i) {
             return P{"surface 0 \"body\" vertex 2 .NumWeights", i.surfaces[0].vertex[2] + 20};
         }},
        {"negative-weights", "negative-count", nullptr,
         [](const MdsImage& i, Bytes& b) { put<std::int32_t>(b, i.surfaces[0].vertex[3] + 20, -1); },
         [](const MdsImage& i) {
             return P{"surface 0 \"body\" vertex 3 .NumWeights", i.surfaces[0].vertex[3] + 20};
         }},
        {"unterminated-name", "name-unterminated", [](MdsModel& m) { m.bones[3].name = std::string(64, 'a'); }, nullptr,
         [](const MdsImage& i) {
             return P{"bone 3 .Name", i.bones + 3 * 80};
         }},
        // A value that is not a number is named by the field that holds it.
        {"not-finite", "not-finite", [nan](MdsModel& m) { m.frames[1].radius = nan; }, nullptr,
         [](const MdsImage& i) {
             return P{"frame 1 .Radius", i.frames + kFrameSize + 36};
         }},
        {"not-finite-parent-dist", "not-finite", [nan](MdsModel& m) { m.bones[2].parentDist = nan; }, nullptr,
         [](const MdsImage& i) {
             return P{"bone 2 \"head\" .ParentDist", i.bones + 2 * 80 + 72};
         }},
        {"not-finite-lod-bias", "not-finite", [nan](MdsModel& m) { m.lodBias = nan; }, nullptr,
         [](const MdsImage&) {
             return P{"header .LodBias", hdr(offsetof(formats::MdsHeader, LodBias))};
         }},
        {"not-finite-tex-coords", "not-finite", [nan](MdsModel& m) { m.surfaces[0].vertices[0].texCoords[1] = nan; },
         nullptr,
         [](const MdsImage& i) {
             return P{"surface 0 \"body\" vertex 0 .TexCoords", i.surfaces[0].vertex[0] + 16};
         }},
        {"not-finite-fixed-dist", "not-finite", [nan](MdsModel& m) { m.surfaces[0].vertices[1].fixedDist = nan; },
         nullptr,
         [](const MdsImage& i) {
             return P{"surface 0 \"body\" vertex 1 .FixedDist", i.surfaces[0].vertex[1] + 28};
         }},
        {"not-finite-weight-offset", "not-finite",
         [nan](MdsModel& m) { m.surfaces[0].vertices[0].weights[0].xyz[2] = nan; }, nullptr,
         [](const MdsImage& i) {
             return P{"surface 0 \"body\" vertex 0 weight 0 .xyz", i.surfaces[0].vertex[0] + 32 + 16};
         }},
        {"lists-overlap", "lists-overlap", nullptr,
         [](const MdsImage& i, Bytes& b) {
             put<std::int32_t>(b, i.surfaces[1].header + 168, static_cast<std::int32_t>(i.surfaces[1].triangles -
                                                                                        i.surfaces[1].header));
         },
         [](const MdsImage& i) {
             return P{"surface 1 \"legs\" bone references", i.surfaces[1].triangles};
         }},
        {"declares-too-much", "declares-too-much", nullptr,
         [](const MdsImage& i, Bytes& b) {
             put<std::int32_t>(b, offsetof(formats::MdsHeader, NumSurfaces), 1000000);
             put<std::int32_t>(b, i.surfaces[1].header + 172,
                               static_cast<std::int32_t>(i.surfaces[0].header - i.surfaces[1].header));
         },
         [](const MdsImage&) {
             return P{"file", -1};
         }},
        {"too-many-bones", "game-limit",
         [](MdsModel& m) {
             while (m.bones.size() < 129) m.bones.push_back({"extra", 0, 0.0f, 1.0f, 0});
         },
         nullptr,
         [](const MdsImage&) {
             return P{"header .NumBones", hdr(offsetof(formats::MdsHeader, NumBones))};
         }},
        {"multiplayer-vertices", "multiplayer-limit",
         [](MdsModel& m) {
             auto& s = m.surfaces[0];
             while (s.vertices.size() < 1001) s.vertices.push_back(s.vertices[0]);
         },
         nullptr,
         [](const MdsImage& i) {
             return P{"surface 0 \"body\" .NumVertices", i.surfaces[0].header + 144};
         }},
    };
    std::vector<Defect> out;
    for (const auto& c : cases) out.push_back(makeMds(c));
    return out;
}

std::vector<Defect> mdcDefects() {
    std::vector<Defect> out;
    const auto add = [&](const char* name, const char* id, const std::function<void(MdcModel&)>& change,
                         const std::function<void(const MdcImage&, Bytes&)>& damage,
                         const std::function<std::pair<std::string, std::int64_t>(const MdcImage&)>& expect) {
        MdcModel m = cleanMdcModel();
        if (change) change(m);
        MdcImage img = writeMdc(m);
        if (damage) damage(img, img.bytes);
        const auto [where, offset] = expect(img);
        out.push_back({name, true, formats::Format::Mdc, img.bytes, id, where, offset});
    };
    using P = std::pair<std::string, std::int64_t>;
    add("mdc-version", "version", [](MdcModel& m) { m.version = 7; }, nullptr,
        [](const MdcImage&) { return P{"header .Version", offsetof(formats::MdcHeader, Version)}; });
    add("mdc-triangle-index", "vertex-index", [](MdcModel& m) { m.surfaces[0].triangles[0].Indices[1] = 3; }, nullptr,
        [](const MdcImage& i) { return P{"surface 0 \"h_head\" triangle 0 .Indices[1]", i.surfaces[0].triangles + 4}; });
    add("mdc-base-frame", "frame-index", [](MdcModel& m) { m.surfaces[1].frameBaseFrames[2] = 2; }, nullptr,
        [](const MdcImage& i) {
            return P{"surface 1 \"h_hat\" frame base frame 2", i.surfaces[1].frameBaseFrames + 4};
        });
    add("mdc-shaders-outside", "record-outside", nullptr,
        [](const MdcImage& i, Bytes& b) { put<std::int32_t>(b, i.surfaces[0].header + 96, 1 << 20); },
        [](const MdcImage& i) { return P{"surface 0 \"h_head\" .OffsetShaders", i.surfaces[0].header + 96}; });
    add("mdc-frames-outside", "record-outside", nullptr,
        [](const MdcImage&, Bytes& b) {
            put<std::int32_t>(b, offsetof(formats::MdcHeader, OffsetFrames), static_cast<std::int32_t>(b.size()));
        },
        [](const MdcImage&) { return P{"header .OffsetFrames", 92}; });
    add("mdc-negative-count", "negative-count", nullptr,
        [](const MdcImage&, Bytes& b) { put<std::int32_t>(b, offsetof(formats::MdcHeader, NumSurfaces), -1); },
        [](const MdcImage&) { return P{"header .NumSurfaces", 84}; });
    // The smallest count there is: the report of the triangles' indices
    // once computed the last vertex as NumVertices - 1 and overflowed.
    add("mdc-vertex-count-int-min", "negative-count", nullptr,
        [](const MdcImage& i, Bytes& b) {
            put<std::int32_t>(b, i.surfaces[0].header + offsetof(formats::MdcSurface, NumVertices),
                              std::numeric_limits<std::int32_t>::min());
        },
        [](const MdcImage& i) {
            return P{"surface 0 \"h_head\" .NumVertices", i.surfaces[0].header + offsetof(formats::MdcSurface, NumVertices)};
        });
    add("mdc-unterminated-shader", "name-unterminated", [](MdcModel& m) { m.surfaces[1].shader = std::string(64, 's'); },
        nullptr, [](const MdcImage& i) { return P{"surface 1 \"h_hat\" shader 0 .Name", i.surfaces[1].shaders}; });
    add("mdc-not-finite", "not-finite",
        [](MdcModel& m) { m.surfaces[0].texCoords[1].u = std::numeric_limits<float>::infinity(); }, nullptr,
        [](const MdcImage& i) { return P{"surface 0 \"h_head\" texture coordinate 1 .u", i.surfaces[0].texCoords + 8}; });
    add("mdc-surface-outside", "record-outside", nullptr,
        [](const MdcImage& i, Bytes& b) { put<std::int32_t>(b, i.surfaces[0].header + 120, 1 << 20); },
        [](const MdcImage& i) { return P{"surface 0 \"h_head\" .OffsetEnd", i.surfaces[0].header + 120}; });
    return out;
}

}  // namespace mg
