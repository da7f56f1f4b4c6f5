// The MDS rules over the index of src/formats: the skeleton's parents, the
// tags' bones, the weighted surfaces (family_rules.h) and the game's limits.
#include <cstddef>

#include "check/family_rules.h"
#include "check/model_check.h"
#include "check/model_rules.h"
#include "formats/mds_index.h"

namespace check {

ModelSummary checkMds(formats::ByteView bytes, Report& report, const Limits& limits) {
    ModelSummary out;
    const formats::MdsIndex x = formats::indexMds(bytes, report);
    if (!x.readable) return out;
    out.readable = true;
    using H = formats::MdsHeader;
    const H& h = x.header;
    out.numFrames = h.NumFrames;
    modelLimit(report, h.NumBones, kMaxBones, "bones", "header .NumBones", offsetof(H, NumBones));
    modelLimit(report, h.NumSurfaces, kMaxSurfaces, "surfaces", "header .NumSurfaces", offsetof(H, NumSurfaces));
    modelLimit(report, h.NumTags, kMaxTags, "tags", "header .NumTags", offsetof(H, NumTags));
    skeletonRules(x, h.NumBones, h.TorsoParent, offsetof(H, TorsoParent), bytes, report);
    if (x.tags.inside)
        for (std::int64_t i = 0; i < x.tags.count; ++i) {
            const auto tag = bytes.read<formats::MdsTag>(x.tag(i));
            boneIndex(report, tag.BoneIndex, h.NumBones,
                      strf("tag %lld ", static_cast<long long>(i)) + quoted(formats::nameOf(tag.Name)) + " .BoneIndex",
                      x.tag(i) + KV_FIELD(formats::MdsTag, BoneIndex).offset, "tag bones");
        }
    for (std::size_t i = 0; i < x.surfaces.size(); ++i) {
        const formats::MdsSurfaceIndex& s = x.surfaces[i];
        const std::string rec = strf("surface %zu ", i) + quoted(s.name);
        surfaceLimits(report, limits, s.header.NumVertices, s.header.NumTriangles, rec,
                      s.at + KV_FIELD(formats::MdsSurface, NumVertices).offset,
                      s.at + KV_FIELD(formats::MdsSurface, NumTriangles).offset);
        weightedRules(s, {h.NumBones, 0}, bytes, report, rec);
        out.surfaceNames.push_back(s.name);
    }
    out.allSurfaces = x.allSurfaces;
    return out;
}

}  // namespace check
