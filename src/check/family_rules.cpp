#include "check/family_rules.h"

#include <cmath>
#include <cstddef>

#include "check/model_rules.h"

namespace check {

void skeletonRules(const formats::SkeletonIndex& x, std::int32_t numBones, std::int32_t torsoParent,
                   std::int64_t torsoParentAt, formats::ByteView b, Report& report) {
    if (numBones >= 0 && (torsoParent < 0 || torsoParent >= numBones))
        boneIndex(report, torsoParent, numBones, "header .TorsoParent", torsoParentAt, "header");
    if (!x.bones.inside) return;
    for (std::int64_t i = 0; i < x.bones.count; ++i) {
        const auto bone = b.read<formats::MdsBone>(x.bone(i));
        const std::int64_t parentAt = x.bone(i) + KV_FIELD(formats::MdsBone, ParentIndex).offset;
        const std::string where = strf("bone %lld ", static_cast<long long>(i)) + quoted(formats::nameOf(bone.Name)) +
                                  " .ParentIndex";
        if (bone.ParentIndex == -1) continue;
        if (bone.ParentIndex < -1 || bone.ParentIndex >= numBones)
            boneIndex(report, bone.ParentIndex, numBones, where, parentAt, "bone parents");
        else if (bone.ParentIndex >= i)
            report.addCapped(Id::ParentOrder, "bone parents", where, parentAt,
                             strf("parent %d does not come before its child %lld; a parent must have a lower index",
                                  bone.ParentIndex, static_cast<long long>(i)));
    }
}

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

namespace {

void weights(const formats::WeightedSurfaceIndex& s, const WeightedRules& rules, formats::ByteView b, Report& report,
             const std::string& rec) {
    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        if (v + 1 == s.vertices.size() && !s.verticesInside) break;  // its weights lie outside
        const std::int64_t at = s.vertices[v];
        const std::int32_t numWeights = s.numWeights(b, at);
        const std::string vrec = rec + strf(" vertex %zu", v);
        if (numWeights == 0)
            report.addCapped(Id::NoWeights, rec + " weights", vrec + " .NumWeights", at + formats::WeightedSurfaceIndex::kNumWeightsAt,
                             "the vertex has no weights; it is drawn at the model's origin");
        if (rules.keptWeights > 0 && numWeights > rules.keptWeights)
            report.addCapped(Id::WeightCount, rec + " weight counts", vrec + " .NumWeights", at + formats::WeightedSurfaceIndex::kNumWeightsAt,
                             strf("%d weights; the game's newer renderer uses only the first %d, without making them "
                                  "add up to 1 again",
                                  numWeights, rules.keptWeights));
        double sum = 0.0;
        for (std::int32_t k = 0; k < numWeights; ++k) {
            const auto weight = b.read<formats::MdsWeight>(s.weight(at, k));
            if (rules.numBones >= 0)
                boneIndex(report, weight.BoneIndex, rules.numBones, vrec + strf(" weight %d .BoneIndex", k),
                          s.weight(at, k), rec + " weight bones");
            if (std::isfinite(weight.Weight)) sum += weight.Weight;
        }
        if (numWeights > 0 && std::fabs(sum - 1.0) > 0.01)
            report.addCapped(Id::WeightSum, rec + " weight sums", vrec + " .Weights", s.weight(at, 0),
                             strf("the %d weights add up to %.4f; they should add up to 1", numWeights, sum));
    }
}

// LOD keeps the first n vertices and folds each later vertex j into
// collapse[collapseMap[j]], computed before j only when collapseMap[j] < j.
void collapseOrder(const formats::WeightedSurfaceIndex& s, formats::ByteView b, Report& report,
                   const std::string& rec) {
    const std::int32_t numVertices = s.header.NumVertices;
    if (!s.collapseMap.inside) return;
    for (std::int64_t j = 1; j < s.collapseMap.count; ++j) {
        const std::int32_t value = b.read<std::int32_t>(s.collapseEntry(j));
        if (value < j || value >= numVertices) continue;  // entries past the vertices are vertex-index findings
        report.addCapped(Id::CollapseOrder, rec + " collapse order", rec + strf(" collapse-map entry %lld", static_cast<long long>(j)),
                         s.collapseEntry(j),
                         strf("%d is not below %lld; reducing the surface, the game folds vertex %lld into one it has "
                              "not reduced yet",
                              value, static_cast<long long>(j), static_cast<long long>(j)));
    }
    const std::int32_t minLod = s.header.MinLod;
    if (minLod < 0 || minLod > numVertices)
        report.add(Id::MinLod, rec + " .MinLod", s.at + KV_FIELD(formats::MdsSurface, MinLod).offset,
                   strf("%d; the fewest vertices LOD may keep must lie between 0 and the surface's %d", minLod,
                        numVertices));
}

}  // namespace

void weightedRules(const formats::WeightedSurfaceIndex& s, const WeightedRules& rules, formats::ByteView b,
                   Report& report, const std::string& rec) {
    weights(s, rules, b, report, rec);
    const std::int32_t numVertices = s.header.NumVertices < 0 ? 0 : s.header.NumVertices;
    if (s.triangles.inside)
        indexList(b, report, s.triangles.at, 3 * s.triangles.count, numVertices, Id::VertexIndex, "triangles", rec,
                  nullptr, "surface's vertices");
    if (s.collapseMap.inside)
        indexList(b, report, s.collapseMap.at, s.collapseMap.count, numVertices, Id::VertexIndex, "collapse map", rec,
                  "collapse-map entry", "surface's vertices");
    collapseOrder(s, b, report, rec);
    if (s.boneRefs.inside && rules.numBones >= 0)
        indexList(b, report, s.boneRefs.at, s.boneRefs.count, rules.numBones, Id::BoneIndex, "bone references", rec,
                  "bone reference", "model's bones");
}

}  // namespace check
