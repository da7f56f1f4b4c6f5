// The rules of the sibling game's formats over their indexes: MD3 (frames,
// vertices per frame, RTCW's and the newer engine's limits), MDM (weighted
// surfaces, tags, the engine's limits, the bones of a given skeleton) and
// MDX (the skeleton, its bone limit).
#include <cstddef>

#include "check/family_rules.h"
#include "check/model_check.h"
#include "formats/md3_index.h"
#include "formats/mdm_index.h"
#include "formats/mdx_index.h"

namespace check {

namespace {

// What the engines that read these formats refuse or overrun.
constexpr std::int64_t kEngineVertices = 10000;   // per surface: the level ends with an error
constexpr std::int64_t kEngineIndexes = 60000;    // 3 x triangles per surface: likewise
constexpr std::int64_t kMdmVertices = 6000;       // the collapse array LOD fills
constexpr std::int64_t kMdmTriangles = 8192, kMdmSurfaces = 32, kMdmTags = 128;
constexpr std::int64_t kSkeletonBones = 128;      // the bone arrays of a posed skeleton
constexpr std::int32_t kKeptWeights = 4;          // what the newer renderer keeps per vertex
struct Md3Limit {
    const char* what;
    std::int64_t value;
};
// RTCW refuses an MD3 model over these (the newer engine no longer checks them).
constexpr Md3Limit kRtcwMd3Vertices{"vertices per surface", 4096}, kRtcwMd3Triangles{"triangles per surface", 8192},
    kRtcwMd3Frames{"frames", 1024}, kRtcwMd3Surfaces{"surfaces", 32}, kRtcwMd3Tags{"tags", 16},
    kRtcwMd3Shaders{"shaders per surface", 256};

void over(Report& report, Severity severity, std::int64_t value, std::int64_t limit, const std::string& where,
          std::int64_t at, const std::string& consequence) {
    if (value <= limit) return;
    report.addCapped(Id::GameLimit, severity, "engine limits", where, at,
                     strf("%lld; %s", static_cast<long long>(value), consequence.c_str()));
}

void rtcw(Report& report, std::int64_t value, const Md3Limit& limit, const std::string& where, std::int64_t at) {
    over(report, Severity::Warning, value, limit.value, where, at,
         strf("RTCW refuses an MD3 model of more than %lld %s (the newer engine reads it)",
              static_cast<long long>(limit.value), limit.what));
}

void surfaceEngineLimits(Report& report, std::int64_t vertices, std::int64_t triangles, const std::string& rec,
                         std::int64_t verticesAt, std::int64_t trianglesAt) {
    over(report, Severity::Error, vertices, kEngineVertices, rec + " .NumVertices", verticesAt,
         strf("the newer engine ends the level with an error for a surface of more than %lld vertices",
              static_cast<long long>(kEngineVertices)));
    over(report, Severity::Error, 3 * triangles, kEngineIndexes, rec + " .NumTriangles", trianglesAt,
         strf("%lld indexes: the newer engine ends the level with an error for more than %lld per surface",
              3 * static_cast<long long>(triangles), static_cast<long long>(kEngineIndexes)));
}

}  // namespace

ModelSummary checkMd3(formats::ByteView bytes, Report& report) {
    ModelSummary out;
    const formats::Md3Index x = formats::indexMd3(bytes, report);
    if (!x.readable) return out;
    out.readable = true;
    using H = formats::Md3Header;
    using S = formats::Md3Surface;
    const H& h = x.header;
    out.numFrames = h.NumFrames;
    if (h.NumFrames == 0)
        report.add(Id::NoFrames, "header .NumFrames", offsetof(H, NumFrames),
                   "the model has no frames; the game refuses it");
    rtcw(report, h.NumFrames, kRtcwMd3Frames, "header .NumFrames", offsetof(H, NumFrames));
    rtcw(report, h.NumSurfaces, kRtcwMd3Surfaces, "header .NumSurfaces", offsetof(H, NumSurfaces));
    rtcw(report, h.NumTags, kRtcwMd3Tags, "header .NumTags", offsetof(H, NumTags));
    for (std::size_t i = 0; i < x.surfaces.size(); ++i) {
        const formats::Md3SurfaceIndex& s = x.surfaces[i];
        const S& sf = s.header;
        const std::string rec = strf("surface %zu ", i) + quoted(s.name);
        const auto at = [&](std::size_t field) { return s.at + static_cast<std::int64_t>(field); };
        surfaceEngineLimits(report, sf.NumVertices, sf.NumTriangles, rec, at(offsetof(S, NumVertices)),
                            at(offsetof(S, NumTriangles)));
        rtcw(report, sf.NumVertices, kRtcwMd3Vertices, rec + " .NumVertices", at(offsetof(S, NumVertices)));
        rtcw(report, sf.NumTriangles, kRtcwMd3Triangles, rec + " .NumTriangles", at(offsetof(S, NumTriangles)));
        rtcw(report, sf.NumShaders, kRtcwMd3Shaders, rec + " .NumShaders", at(offsetof(S, NumShaders)));
        if (sf.NumFrames != h.NumFrames)
            report.addCapped(Id::FrameCount, "surface frames", rec + " .NumFrames", at(offsetof(S, NumFrames)),
                             strf("%d frames of vertices, the model %d: showing a frame the surface lacks, the game "
                                  "reads past its vertices",
                                  sf.NumFrames, h.NumFrames));
        if (s.triangles.inside)
            indexList(bytes, report, s.triangles.at, 3 * s.triangles.count, sf.NumVertices < 0 ? 0 : sf.NumVertices,
                      Id::VertexIndex, "triangles", rec, nullptr, "surface's vertices");
        out.surfaceNames.push_back(s.name);
    }
    out.allSurfaces = x.allSurfaces;
    return out;
}

ModelSummary checkMdm(formats::ByteView bytes, Report& report, const Skeleton& skeleton) {
    ModelSummary out;
    const formats::MdmIndex x = formats::indexMdm(bytes, report);
    if (!x.readable) return out;
    out.readable = true;
    using H = formats::MdmHeader;
    const H& h = x.header;
    const std::string note = "the engine does not check it; tools made for the game stay below";
    over(report, Severity::Note, h.NumSurfaces, kMdmSurfaces, "header .NumSurfaces", offsetof(H, NumSurfaces),
         strf("more than %lld surfaces: %s", static_cast<long long>(kMdmSurfaces), note.c_str()));
    over(report, Severity::Note, h.NumTags, kMdmTags, "header .NumTags", offsetof(H, NumTags),
         strf("more than %lld tags: %s", static_cast<long long>(kMdmTags), note.c_str()));
    for (std::size_t i = 0; i < x.surfaces.size(); ++i) {
        const formats::WeightedSurfaceIndex& s = x.surfaces[i];
        const std::string rec = strf("surface %zu ", i) + quoted(s.name);
        const std::int64_t verticesAt = s.at + KV_FIELD(formats::MdmSurface, NumVertices).offset;
        const std::int64_t trianglesAt = s.at + KV_FIELD(formats::MdmSurface, NumTriangles).offset;
        surfaceEngineLimits(report, s.header.NumVertices, s.header.NumTriangles, rec, verticesAt, trianglesAt);
        if (s.header.NumVertices <= kEngineVertices)
            over(report, Severity::Error, s.header.NumVertices, kMdmVertices, rec + " .NumVertices", verticesAt,
                 strf("the model loads, but once LOD drops below full detail the engine overruns its collapse array "
                      "of %lld vertices",
                      static_cast<long long>(kMdmVertices)));
        over(report, Severity::Note, s.header.NumTriangles, kMdmTriangles, rec + " .NumTriangles", trianglesAt,
             strf("more than %lld triangles: %s", static_cast<long long>(kMdmTriangles), note.c_str()));
        weightedRules(s, {skeleton.numBones, kKeptWeights}, bytes, report, rec);
        out.surfaceNames.push_back(s.name);
    }
    if (skeleton.numBones >= 0)
        for (std::size_t i = 0; i < x.tags.size(); ++i) {
            const formats::MdmTagIndex& t = x.tags[i];
            const std::string rec = strf("tag %zu ", i) + quoted(t.name);
            const std::int64_t boneAt = t.at + KV_FIELD(formats::MdmTag, BoneIndex).offset;
            const std::int32_t bone = bytes.read<std::int32_t>(boneAt);
            if (bone < 0 || bone >= skeleton.numBones)
                report.addCapped(Id::BoneIndex, "tag bones", rec + " .BoneIndex", boneAt,
                                 strf("bone index %d; the skeleton has bones 0 to %d", bone, skeleton.numBones - 1));
            if (t.boneRefs.inside)
                indexList(bytes, report, t.boneRefs.at, t.boneRefs.count, skeleton.numBones, Id::BoneIndex,
                          "bone references", rec, "bone reference", "skeleton's bones");
        }
    out.allSurfaces = x.allSurfaces;
    return out;
}

ModelSummary checkMdx(formats::ByteView bytes, Report& report) {
    ModelSummary out;
    const formats::MdxIndex x = formats::indexMdx(bytes, report);
    if (!x.readable) return out;
    out.readable = true;
    using H = formats::MdxHeader;
    const H& h = x.header;
    out.numFrames = h.NumFrames;
    out.numBones = h.NumBones;
    over(report, Severity::Error, h.NumBones, kSkeletonBones, "header .NumBones", offsetof(H, NumBones),
         strf("the engine does not check it, but posing more than %lld bones overruns its bone arrays",
              static_cast<long long>(kSkeletonBones)));
    skeletonRules(x, h.NumBones, h.TorsoParent, offsetof(H, TorsoParent), bytes, report);
    out.allSurfaces = true;
    return out;
}

}  // namespace check
