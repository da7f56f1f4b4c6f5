#include "modelgen/skeletal.h"

#include <cstddef>

#include "formats/mdm_layout.h"

namespace mg {

namespace {

// The fixed part of a vertex: MdmVertex, or MdsVertex with its two
// unread fields.
template <class Record>
Record fixedPart(const WeightedVertexDesc& v) {
    Record r{};
    for (std::size_t c = 0; c < 3; ++c) r.Normal[c] = v.normal[c];
    r.TexCoords[0] = v.texCoords[0];
    r.TexCoords[1] = v.texCoords[1];
    r.NumWeights = v.numWeights.value_or(static_cast<std::int32_t>(v.weights.size()));
    return r;
}

formats::MdmVertex vertexRecord(const MdmVertexDesc& v) { return fixedPart<formats::MdmVertex>(v); }
formats::MdsVertex vertexRecord(const MdsVertexDesc& v) {
    auto r = fixedPart<formats::MdsVertex>(v);
    r.FixedParent = v.fixedParent;
    r.FixedDist = v.fixedDist;
    return r;
}

// Missing collapse map entries: each vertex onto the one before it (vertex
// 0 onto itself), so that reducing a surface folds every vertex into one
// already reduced, as LOD needs.
std::int32_t defaultCollapse(std::size_t v) { return v == 0 ? 0 : static_cast<std::int32_t>(v - 1); }

template <class Surface>
WeightedSurfaceImage writeWeighted(const Surface& s, Bytes& out) {
    WeightedSurfaceImage at;
    at.header = static_cast<std::int64_t>(out.size());
    out.resize(out.size() + sizeof(formats::MdsSurface));
    appendGap(out, s.gapAfterHeader);

    at.vertices = static_cast<std::int64_t>(out.size());
    for (const auto& v : s.vertices) {
        at.vertex.push_back(static_cast<std::int64_t>(out.size()));
        append(out, vertexRecord(v));
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
    h.OffsetVertices = rel(at.vertices, at.header);
    h.NumTriangles = static_cast<std::int32_t>(s.triangles.size());
    h.OffsetTriangles = rel(at.triangles, at.header);
    h.OffsetCollapseMap = rel(at.collapseMap, at.header);
    h.NumBoneRefs = static_cast<std::int32_t>(s.boneRefs.size());
    h.OffsetBoneRefs = rel(at.boneRefs, at.header);
    h.OffsetEnd = s.offsetEnd.value_or(rel(at.end, at.header));
    put(out, at.header, h);
    return at;
}

}  // namespace

void writeBones(const std::vector<MdsBoneDesc>& bones, Bytes& out) {
    for (const auto& b : bones) {
        formats::MdsBone r{};
        writeName(r.Name, b.name);
        r.ParentIndex = b.parent;
        r.TorsoWeight = b.torsoWeight;
        r.ParentDist = b.parentDist;
        r.Flags = b.flags;
        append(out, r);
    }
}

void writeFrames(const std::vector<MdsFrameDesc>& frames, std::size_t numBones, Bytes& out) {
    for (const auto& f : frames) {
        formats::MdsFrame fr{};
        for (std::size_t c = 0; c < 3; ++c) {
            fr.bboxMin[c] = f.bboxMin[c];
            fr.bboxMax[c] = f.bboxMax[c];
            fr.LocalOrigin[c] = f.localOrigin[c];
            fr.ParentOffset[c] = f.parentOffset[c];
        }
        fr.Radius = f.radius;
        append(out, fr);
        for (std::size_t j = 0; j < numBones; ++j)
            append(out, j < f.boneFrames.size() ? f.boneFrames[j] : formats::CompressedBoneFrame{});
    }
}

WeightedSurfaceImage writeSurface(const MdsSurfaceDesc& surface, Bytes& out) { return writeWeighted(surface, out); }
WeightedSurfaceImage writeSurface(const MdmSurfaceDesc& surface, Bytes& out) { return writeWeighted(surface, out); }

}  // namespace mg
