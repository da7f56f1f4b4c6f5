#include "modelgen/mds_writer.h"

#include <cstddef>

namespace mg {

namespace {

void writeFrames(const MdsModel& m, Bytes& out) {
    for (const auto& f : m.frames) {
        formats::MdsFrame fr{};
        for (int c = 0; c < 3; ++c) {
            fr.bboxMin[c] = f.bboxMin[c];
            fr.bboxMax[c] = f.bboxMax[c];
            fr.LocalOrigin[c] = f.localOrigin[c];
            fr.ParentOffset[c] = f.parentOffset[c];
        }
        fr.Radius = f.radius;
        append(out, fr);
        for (std::size_t j = 0; j < m.bones.size(); ++j)
            append(out, j < f.boneFrames.size() ? f.boneFrames[j] : formats::CompressedBoneFrame{});
    }
}

void writeBones(const MdsModel& m, Bytes& out) {
    for (const auto& b : m.bones) {
        formats::MdsBone r{};
        writeName(r.Name, b.name);
        r.ParentIndex = b.parent;
        r.TorsoWeight = b.torsoWeight;
        r.ParentDist = b.parentDist;
        r.Flags = b.flags;
        append(out, r);
    }
}

void writeTags(const MdsModel& m, Bytes& out) {
    for (const auto& t : m.tags) {
        formats::MdsTag r{};
        writeName(r.Name, t.name);
        r.TorsoWeight = t.torsoWeight;
        r.BoneIndex = t.boneIndex;
        append(out, r);
    }
}

MdsImage::Surface writeSurface(const MdsSurfaceDesc& s, Bytes& out) {
    MdsImage::Surface at;
    at.header = static_cast<std::int64_t>(out.size());
    out.resize(out.size() + sizeof(formats::MdsSurface));
    appendGap(out, s.gapAfterHeader);

    at.vertices = static_cast<std::int64_t>(out.size());
    for (const auto& v : s.vertices) {
        at.vertex.push_back(static_cast<std::int64_t>(out.size()));
        formats::MdsVertex r{};
        for (int c = 0; c < 3; ++c) r.Normal[c] = v.normal[c];
        r.TexCoords[0] = v.texCoords[0];
        r.TexCoords[1] = v.texCoords[1];
        r.NumWeights = v.numWeights.value_or(static_cast<std::int32_t>(v.weights.size()));
        r.FixedParent = v.fixedParent;
        r.FixedDist = v.fixedDist;
        append(out, r);
        for (const auto& w : v.weights) append(out, w);
    }
    at.triangles = static_cast<std::int64_t>(out.size());
    for (const auto& t : s.triangles) append(out, t);
    at.collapseMap = static_cast<std::int64_t>(out.size());
    for (std::size_t v = 0; v < s.vertices.size(); ++v)
        append(out, v < s.collapseMap.size() ? s.collapseMap[v] : defaultCollapse(v));
    at.boneRefs = static_cast<std::int64_t>(out.size());
    for (auto r : s.boneRefs) append(out, r);
    appendGap(out, s.gapAfter);
    at.end = static_cast<std::int64_t>(out.size());

    formats::MdsSurface h{};
    h.Id = s.id;
    writeName(h.Name, s.name);
    writeName(h.Shader, s.shader);
    h.ShaderIndex = s.shaderIndex;
    h.MinLod = s.minLod;
    h.OffsetHeader = static_cast<std::int32_t>(-at.header);
    h.NumVertices = static_cast<std::int32_t>(s.vertices.size());
    h.OffsetVertices = static_cast<std::int32_t>(at.vertices - at.header);
    h.NumTriangles = static_cast<std::int32_t>(s.triangles.size());
    h.OffsetTriangles = static_cast<std::int32_t>(at.triangles - at.header);
    h.OffsetCollapseMap = static_cast<std::int32_t>(at.collapseMap - at.header);
    h.NumBoneRefs = static_cast<std::int32_t>(s.boneRefs.size());
    h.OffsetBoneRefs = static_cast<std::int32_t>(at.boneRefs - at.header);
    h.OffsetEnd = s.offsetEnd.value_or(static_cast<std::int32_t>(at.end - at.header));
    put(out, at.header, h);
    return at;
}

}  // namespace

MdsImage writeMds(const MdsModel& m) {
    MdsImage img;
    Bytes& out = img.bytes;
    out.resize(sizeof(formats::MdsHeader));
    for (MdsSection section : m.order) {
        appendGap(out, m.gapBefore[static_cast<int>(section)]);
        const auto here = static_cast<std::int64_t>(out.size());
        switch (section) {
            case MdsSection::Frames: img.frames = here; writeFrames(m, out); break;
            case MdsSection::Bones: img.bones = here; writeBones(m, out); break;
            case MdsSection::Tags: img.tags = here; writeTags(m, out); break;
            case MdsSection::Surfaces:
                img.surfacesStart = here;
                for (const auto& s : m.surfaces) img.surfaces.push_back(writeSurface(s, out));
                break;
        }
    }
    appendGap(out, m.gapAtEnd);

    formats::MdsHeader h{};
    for (int c = 0; c < 4; ++c) h.Id[c] = m.ident[c];
    h.Version = m.version;
    writeName(h.Name, m.name);
    h.LodScale = m.lodScale;
    h.LodBias = m.lodBias;
    h.NumFrames = static_cast<std::int32_t>(m.frames.size());
    h.NumBones = static_cast<std::int32_t>(m.bones.size());
    h.OffsetFrames = static_cast<std::int32_t>(img.frames);
    h.OffsetBones = static_cast<std::int32_t>(img.bones);
    h.TorsoParent = m.torsoParent;
    h.NumSurfaces = static_cast<std::int32_t>(m.surfaces.size());
    h.OffsetSurfaces = static_cast<std::int32_t>(img.surfacesStart);
    h.NumTags = static_cast<std::int32_t>(m.tags.size());
    h.OffsetTags = static_cast<std::int32_t>(img.tags);
    h.OffsetEnd = static_cast<std::int32_t>(out.size());
    put(out, 0, h);
    return img;
}

}  // namespace mg
