// One-defect files of the sibling game's formats (MD3, MDM, MDX) and of the
// LOD rules MDS shares, with the finding each should give: the offsets come
// from where the writers put the records, never from a reader.
#include <cstddef>
#include <functional>

#include "modelgen/defects.h"
#include "modelgen/mdm_writer.h"
#include "modelgen/mds_writer.h"
#include "modelgen/mdx_writer.h"
#include "modelgen/md3_writer.h"
#include "modelgen/samples.h"

namespace mg {

namespace {

using P = std::pair<std::string, std::int64_t>;

// A small skinned body: one surface "body" of four vertices on two bones.
MdmModel cleanMdm() {
    MdmModel m;
    m.name = "small";
    MdmSurfaceDesc s;
    s.name = "body";
    s.shader = "models/players/small/body";
    for (int v = 0; v < 4; ++v) {
        MdmVertexDesc vertex;
        vertex.normal = {0.0f, 0.0f, 1.0f};
        vertex.texCoords = {0.5f * static_cast<float>(v % 2), 0.5f * static_cast<float>(v / 2)};
        vertex.weights = {{0, 0.5f, {1.0f, static_cast<float>(v), 0.0f}}, {1, 0.5f, {0.0f, static_cast<float>(v), 1.0f}}};
        s.vertices.push_back(vertex);
    }
    s.triangles = {{{0, 1, 2}}, {{2, 1, 3}}};
    s.minLod = 2;
    s.boneRefs = {0, 1};
    m.surfaces = {s};
    MdmTagDesc tag;
    tag.name = "tag_head";
    tag.boneIndex = 1;
    tag.offset = {0.0f, 0.0f, 4.0f};
    tag.boneRefs = {0, 1};
    m.tags = {tag};
    return m;
}

// Its skeleton: a root and a child, two frames.
MdxModel cleanMdx() {
    MdxModel m;
    m.name = "small";
    m.bones = {{"root", -1, 0.0f, 0.0f, 0}, {"head", 0, 1.0f, 6.0f, 0}};
    for (int f = 0; f < 2; ++f) {
        MdxFrameDesc frame;
        frame.radius = 8.0f;
        frame.bboxMax = {4.0f, 4.0f, 8.0f};
        frame.parentOffset = {0.0f, 0.0f, static_cast<float>(f)};
        frame.boneFrames.resize(2);
        m.frames.push_back(frame);
    }
    return m;
}

Md3Model cleanMd3() { return sampleMd3(0); }

}  // namespace

std::vector<Defect> familyCleanTwins() {
    return {{"clean-md3", false, formats::Format::Md3, writeMd3(cleanMd3()).bytes, "", "", -1},
            {"clean-mdm", false, formats::Format::Mdm, writeMdm(cleanMdm()).bytes, "", "", -1},
            {"clean-mdx", false, formats::Format::Mdx, writeMdx(cleanMdx()).bytes, "", "", -1}};
}

std::vector<Defect> familyDefects() {
    std::vector<Defect> out;
    const auto add = [&](const char* name, formats::Format format, const char* id, const Bytes& bytes, P where) {
        out.push_back({name, format == formats::Format::Mdc, format, bytes, id, where.first, where.second});
    };
    using F = formats::Format;
    const auto md3 = [&](const char* name, const char* id, std::function<void(Md3Model&)> change,
                         std::function<P(const Md3Image&)> expect) {
        Md3Model m = cleanMd3();
        change(m);
        const Md3Image img = writeMd3(m);
        add(name, F::Md3, id, img.bytes, expect(img));
    };
    const auto mdm = [&](const char* name, const char* id, std::function<void(MdmModel&)> change,
                         std::function<P(const MdmImage&)> expect) {
        MdmModel m = cleanMdm();
        change(m);
        const MdmImage img = writeMdm(m);
        add(name, F::Mdm, id, img.bytes, expect(img));
    };
    const auto mdx = [&](const char* name, const char* id, std::function<void(MdxModel&)> change,
                         std::function<P(const MdxImage&)> expect) {
        MdxModel m = cleanMdx();
        change(m);
        const MdxImage img = writeMdx(m);
        add(name, F::Mdx, id, img.bytes, expect(img));
    };

    md3("md3-version", "version", [](Md3Model& m) { m.version = 14; }, [](const Md3Image&) { return P{"header .Version", 4}; });
    md3("md3-no-frames", "no-frames",
        [](Md3Model& m) {
            m.frames.clear();
            for (auto& s : m.surfaces) s.frames.clear();
        },
        [](const Md3Image&) { return P{"header .NumFrames", offsetof(formats::Md3Header, NumFrames)}; });
    md3("md3-surface-frames", "frame-count", [](Md3Model& m) { m.surfaces[0].frames.pop_back(); },
        [](const Md3Image& i) { return P{"surface 0 \"h_head\" .NumFrames", i.surfaces[0].header + 72}; });
    md3("md3-triangle-index", "vertex-index", [](Md3Model& m) { m.surfaces[1].triangles[2].Indices[1] = 500; },
        [](const Md3Image& i) { return P{"surface 1 \"h_neck\" triangle 2 .Indices[1]", i.surfaces[1].triangles + 28}; });
    md3("md3-rtcw-vertices", "game-limit",
        [](Md3Model& m) {
            auto& s = m.surfaces[0];
            while (s.texCoords.size() < 4097) s.texCoords.push_back(s.texCoords[0]);
            for (auto& f : s.frames) f.resize(4097, f[0]);
        },
        [](const Md3Image& i) { return P{"surface 0 \"h_head\" .NumVertices", i.surfaces[0].header + 80}; });

    mdm("mdm-version", "version", [](MdmModel& m) { m.version = 4; }, [](const MdmImage&) { return P{"header .Version", 4}; });
    mdm("mdm-collapse-order", "collapse-order", [](MdmModel& m) { m.surfaces[0].collapseMap = {0, 0, 3, 1}; },
        [](const MdmImage& i) { return P{"surface 0 \"body\" collapse-map entry 2", i.surfaces[0].collapseMap + 8}; });
    mdm("mdm-min-lod", "min-lod", [](MdmModel& m) { m.surfaces[0].minLod = 5; },
        [](const MdmImage& i) { return P{"surface 0 \"body\" .MinLod", i.surfaces[0].header + 136}; });
    mdm("mdm-weight-count", "weight-count",
        [](MdmModel& m) {
            auto& w = m.surfaces[0].vertices[1].weights;
            w = {{0, 0.2f, {}}, {1, 0.2f, {}}, {0, 0.2f, {}}, {1, 0.2f, {}}, {0, 0.2f, {}}};
        },
        [](const MdmImage& i) { return P{"surface 0 \"body\" vertex 1 .NumWeights", i.surfaces[0].vertex[1] + 20}; });
    mdm("mdm-weight-sum", "weight-sum", [](MdmModel& m) { m.surfaces[0].vertices[3].weights[1].Weight = 0.25f; },
        [](const MdmImage& i) { return P{"surface 0 \"body\" vertex 3 .Weights", i.surfaces[0].vertex[3] + 24}; });
    mdm("mdm-6001-vertices", "game-limit",
        [](MdmModel& m) {
            auto& s = m.surfaces[0];
            while (s.vertices.size() < 6001) s.vertices.push_back(s.vertices[0]);
        },
        [](const MdmImage& i) { return P{"surface 0 \"body\" .NumVertices", i.surfaces[0].header + 144}; });

    mdx("mdx-version", "version", [](MdxModel& m) { m.version = 3; }, [](const MdxImage&) { return P{"header .Version", 4}; });
    mdx("mdx-parent-order", "parent-order", [](MdxModel& m) { m.bones[0].parent = 1; },
        [](const MdxImage& i) { return P{"bone 0 \"root\" .ParentIndex", i.bones + 64}; });
    mdx("mdx-129-bones", "game-limit",
        [](MdxModel& m) {
            while (m.bones.size() < 129) m.bones.push_back({"extra", 0, 0.0f, 1.0f, 0});
            for (auto& f : m.frames) f.boneFrames.resize(m.bones.size());
        },
        [](const MdxImage&) { return P{"header .NumBones", offsetof(formats::MdxHeader, NumBones)}; });

    // The LOD rules MDS shares with MDM.
    const auto mds = [&](const char* name, const char* id, std::function<void(MdsModel&)> change,
                         std::function<P(const MdsImage&)> expect) {
        MdsModel m = sampleMds();
        change(m);
        const MdsImage img = writeMds(m);
        add(name, F::Mds, id, img.bytes, expect(img));
    };
    mds("mds-collapse-order", "collapse-order", [](MdsModel& m) { m.surfaces[1].collapseMap = {0, 3, 1, 2}; },
        [](const MdsImage& i) { return P{"surface 1 \"legs\" collapse-map entry 1", i.surfaces[1].collapseMap + 4}; });
    mds("mds-min-lod", "min-lod", [](MdsModel& m) { m.surfaces[0].minLod = -1; },
        [](const MdsImage& i) { return P{"surface 0 \"body\" .MinLod", i.surfaces[0].header + 136}; });
    return out;
}

}  // namespace mg
