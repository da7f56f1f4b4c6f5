// The MDS rules over the index of src/formats: parents before their
// children, bone indices of the torso parent, tags, weights and bone
// references, vertex indices of triangles and collapse maps, weights that
// add up to 1, and the game's limits.
#include <cmath>
#include <cstddef>

#include "check/model_check.h"
#include "check/model_rules.h"
#include "formats/mds_index.h"

namespace check {

namespace {

using formats::MdsHeader;
using formats::MdsIndex;
using formats::MdsSurface;
using formats::MdsSurfaceIndex;

std::string headerField(const char* field) { return std::string("header .") + field; }

std::string named(const char* kind, std::int64_t i, const char (&name)[formats::kNameLength]) {
    return strf("%s %lld ", kind, static_cast<long long>(i)) + quoted(formats::nameOf(name));
}

void bones(const MdsIndex& x, formats::ByteView b, Report& report) {
    if (!x.bones.inside) return;
    const std::int32_t numBones = x.header.NumBones;
    for (std::int64_t i = 0; i < x.bones.count; ++i) {
        const auto bone = b.read<formats::MdsBone>(x.bone(i));
        const std::int64_t parentAt = x.bone(i) + std::int64_t{offsetof(formats::MdsBone, ParentIndex)};
        if (bone.ParentIndex == -1) continue;
        if (bone.ParentIndex < -1 || bone.ParentIndex >= numBones)
            boneIndex(report, bone.ParentIndex, numBones, named("bone", i, bone.Name) + " .ParentIndex", parentAt,
                      "bone parents");
        else if (bone.ParentIndex >= i)
            report.addCapped(Id::ParentOrder, "bone parents", named("bone", i, bone.Name) + " .ParentIndex", parentAt,
                             strf("parent %d does not come before its child %lld; a parent must have a lower index",
                                  bone.ParentIndex, static_cast<long long>(i)));
    }
}

void tags(const MdsIndex& x, formats::ByteView b, Report& report) {
    if (!x.tags.inside) return;
    for (std::int64_t i = 0; i < x.tags.count; ++i) {
        const auto tag = b.read<formats::MdsTag>(x.tag(i));
        boneIndex(report, tag.BoneIndex, x.header.NumBones, named("tag", i, tag.Name) + " .BoneIndex",
                  x.tag(i) + std::int64_t{offsetof(formats::MdsTag, BoneIndex)}, "tag bones");
    }
}

// An int32 list whose every entry must lie in [0, bound); `entry` names one
// entry (null for the corners of a triangle list).
void indexList(formats::ByteView b, Report& report, std::int64_t at, std::int64_t count, std::int32_t bound, Id id,
               const char* what, const std::string& rec, const char* entry, const char* bounded) {
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int32_t value = b.read<std::int32_t>(at + 4 * i);
        if (value >= 0 && value < bound) continue;
        // Triangles are named by triangle and corner, other lists by entry.
        const std::string item = entry == nullptr ? strf(" triangle %lld .Indices[%lld]", static_cast<long long>(i / 3),
                                                         static_cast<long long>(i % 3))
                                                  : strf(" %s %lld", entry, static_cast<long long>(i));
        report.addCapped(id, rec + " " + what, rec + item, at + 4 * i,
                         strf("%d is not one of the %s 0 to %lld", value, bounded, static_cast<long long>(bound) - 1));
    }
}

void weights(const MdsSurfaceIndex& sx, std::int32_t numBones, formats::ByteView b, Report& report,
             const std::string& rec) {
    for (std::size_t v = 0; v < sx.vertices.size(); ++v) {
        if (v + 1 == sx.vertices.size() && !sx.verticesInside) break;  // its weights lie outside
        const std::int32_t numWeights = sx.numWeights(b, sx.vertices[v]);
        const std::int64_t numAt = sx.vertices[v] + std::int64_t{offsetof(formats::MdsVertex, NumWeights)};
        const std::string vrec = rec + strf(" vertex %zu", v);
        if (numWeights == 0)
            report.addCapped(Id::NoWeights, rec + " weights", vrec + " .NumWeights", numAt,
                             "the vertex has no weights; it is drawn at the model's origin");
        double sum = 0.0;
        for (std::int32_t k = 0; k < numWeights; ++k) {
            const std::int64_t wa = sx.weight(sx.vertices[v], k);
            const auto weight = b.read<formats::MdsWeight>(wa);
            boneIndex(report, weight.BoneIndex, numBones, vrec + strf(" weight %d .BoneIndex", k), wa,
                      rec + " weight bones");
            if (std::isfinite(weight.Weight)) sum += weight.Weight;
        }
        if (numWeights > 0 && std::fabs(sum - 1.0) > 0.01)
            report.addCapped(Id::WeightSum, rec + " weight sums", vrec + " .Weights", sx.weight(sx.vertices[v], 0),
                             strf("the %d weights add up to %.4f; they should add up to 1", numWeights, sum));
    }
}

void surfaces(const MdsIndex& x, formats::ByteView b, Report& report, const Limits& limits) {
    for (std::size_t i = 0; i < x.surfaces.size(); ++i) {
        const MdsSurfaceIndex& sx = x.surfaces[i];
        const MdsSurface& sf = sx.header;
        const std::string rec = strf("surface %zu ", i) + quoted(sx.name);
        surfaceLimits(report, limits, sf.NumVertices, sf.NumTriangles, rec,
                      sx.at + std::int64_t{offsetof(MdsSurface, NumVertices)},
                      sx.at + std::int64_t{offsetof(MdsSurface, NumTriangles)});
        weights(sx, x.header.NumBones, b, report, rec);
        const std::int32_t numVertices = sf.NumVertices < 0 ? 0 : sf.NumVertices;
        if (sx.triangles.inside)
            indexList(b, report, sx.triangles.at, 3 * sx.triangles.count, numVertices, Id::VertexIndex, "triangles",
                      rec, nullptr, "surface's vertices");
        if (sx.collapseMap.inside)
            indexList(b, report, sx.collapseMap.at, sx.collapseMap.count, numVertices, Id::VertexIndex,
                      "collapse map", rec, "collapse-map entry", "surface's vertices");
        if (sx.boneRefs.inside)
            indexList(b, report, sx.boneRefs.at, sx.boneRefs.count, x.header.NumBones, Id::BoneIndex,
                      "bone references", rec, "bone reference", "model's bones");
    }
}

}  // namespace

ModelSummary checkMds(formats::ByteView bytes, Report& report, const Limits& limits) {
    ModelSummary out;
    const MdsIndex x = formats::indexMds(bytes, report);
    if (!x.readable) return out;
    out.readable = true;
    const MdsHeader& h = x.header;
    out.numFrames = h.NumFrames;
    modelLimit(report, h.NumBones, kMaxBones, "bones", headerField("NumBones"), offsetof(MdsHeader, NumBones));
    modelLimit(report, h.NumSurfaces, kMaxSurfaces, "surfaces", headerField("NumSurfaces"),
               offsetof(MdsHeader, NumSurfaces));
    modelLimit(report, h.NumTags, kMaxTags, "tags", headerField("NumTags"), offsetof(MdsHeader, NumTags));
    if (h.NumBones >= 0 && (h.TorsoParent < 0 || h.TorsoParent >= h.NumBones))
        boneIndex(report, h.TorsoParent, h.NumBones, headerField("TorsoParent"), offsetof(MdsHeader, TorsoParent),
                  "header");
    bones(x, bytes, report);
    tags(x, bytes, report);
    surfaces(x, bytes, report, limits);
    for (const auto& s : x.surfaces) out.surfaceNames.push_back(s.name);
    out.allSurfaces = x.allSurfaces;
    return out;
}

}  // namespace check
