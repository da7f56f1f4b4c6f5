// The MDS checks: header, bones, tags, frames, then the surface chain with
// every vertex, weight, triangle, collapse-map entry and bone reference.
#include <cmath>
#include <cstddef>
#include <cstring>

#include "check/model_check.h"
#include "check/walk.h"
#include "formats/mds_layout.h"

namespace check {

namespace {

using formats::MdsHeader;
using formats::MdsSurface;

constexpr std::int64_t kHeaderSize = sizeof(MdsHeader);
constexpr std::int64_t kSurfaceSize = sizeof(MdsSurface);

std::string headerField(const char* field) { return std::string("header .") + field; }

void boneIndex(Walk& w, std::int32_t value, std::int32_t numBones, const std::string& where, std::int64_t at,
               const std::string& list) {
    if (value >= 0 && value < numBones) return;
    w.report.addCapped(Id::BoneIndex, list, where, at,
                       strf("bone index %d; the model has bones 0 to %lld", value,
                            static_cast<long long>(numBones) - 1));
}

void checkBones(Walk& w, const MdsHeader& h) {
    if (!w.list(h.OffsetBones, h.NumBones, sizeof(formats::MdsBone), "bones", "", headerField("OffsetBones"),
                offsetof(MdsHeader, OffsetBones)))
        return;
    for (std::int32_t i = 0; i < h.NumBones; ++i) {
        const std::int64_t at = h.OffsetBones + std::int64_t{i} * static_cast<std::int64_t>(sizeof(formats::MdsBone));
        const auto bone = w.bytes.read<formats::MdsBone>(at);
        const std::string label = strf("bone %d", i);
        const std::string name = w.name(at, formats::kNameLength, label + " .Name", "bone names");
        const std::string rec = label + " " + quoted(name);
        const std::int64_t parentAt = at + std::int64_t{offsetof(formats::MdsBone, ParentIndex)};
        if (bone.ParentIndex == -1) {
        } else if (bone.ParentIndex < -1 || bone.ParentIndex >= h.NumBones) {
            boneIndex(w, bone.ParentIndex, h.NumBones, rec + " .ParentIndex", parentAt, "bone parents");
        } else if (bone.ParentIndex >= i) {
            w.report.addCapped(Id::ParentOrder, "bone parents", rec + " .ParentIndex", parentAt,
                               strf("parent %d does not come before its child %d; a parent must have a lower index",
                                    bone.ParentIndex, i));
        }
        w.finite(at + std::int64_t{offsetof(formats::MdsBone, TorsoWeight)}, 2, rec + " .TorsoWeight", "bone values");
    }
}

void checkTags(Walk& w, const MdsHeader& h) {
    if (!w.list(h.OffsetTags, h.NumTags, sizeof(formats::MdsTag), "tags", "", headerField("OffsetTags"),
                offsetof(MdsHeader, OffsetTags)))
        return;
    for (std::int32_t i = 0; i < h.NumTags; ++i) {
        const std::int64_t at = h.OffsetTags + std::int64_t{i} * static_cast<std::int64_t>(sizeof(formats::MdsTag));
        const auto tag = w.bytes.read<formats::MdsTag>(at);
        const std::string label = strf("tag %d", i);
        const std::string rec = label + " " + quoted(w.name(at, formats::kNameLength, label + " .Name", "tag names"));
        w.finite(at + std::int64_t{offsetof(formats::MdsTag, TorsoWeight)}, 1, rec + " .TorsoWeight", "tag values");
        boneIndex(w, tag.BoneIndex, h.NumBones, rec + " .BoneIndex", at + std::int64_t{offsetof(formats::MdsTag, BoneIndex)},
                  "tag bones");
    }
}

void checkFrames(Walk& w, const MdsHeader& h) {
    const std::int64_t frameSize = formats::mdsFrameSize(h.NumBones);
    if (!w.list(h.OffsetFrames, h.NumFrames, frameSize, "frames", "", headerField("OffsetFrames"),
                offsetof(MdsHeader, OffsetFrames)))
        return;
    for (std::int32_t k = 0; k < h.NumFrames; ++k) {
        const std::int64_t at = h.OffsetFrames + std::int64_t{k} * frameSize;
        w.finite(at, 13, strf("frame %d", k), "frame values");
    }
}

// Vertices of one surface, walked one by one (each has its own length).
void checkVertices(Walk& w, const MdsHeader& h, std::int64_t s, const MdsSurface& sf, const std::string& rec) {
    const std::int64_t first = s + sf.OffsetVertices;
    std::int64_t at = first;
    for (std::int32_t v = 0; v < sf.NumVertices; ++v) {
        const std::string vrec = rec + strf(" vertex %d", v);
        if (!w.bytes.has(at, sizeof(formats::MdsVertex))) {
            w.report.add(Id::RecordOutside, rec + " .OffsetVertices", s + std::int64_t{offsetof(MdsSurface, OffsetVertices)},
                         strf("%d vertices from %s: vertex %d at %s runs past the end of the file at %s",
                              sf.NumVertices, hex(first).c_str(), v, hex(at).c_str(), hex(w.size()).c_str()));
            break;
        }
        const auto vertex = w.bytes.read<formats::MdsVertex>(at);
        const std::int64_t numAt = at + std::int64_t{offsetof(formats::MdsVertex, NumWeights)};
        if (!w.count(vertex.NumWeights, vrec + " .NumWeights", numAt)) break;
        const std::int64_t length = formats::mdsVertexSize(vertex.NumWeights);
        if (!w.bytes.has(at, length)) {
            w.report.add(Id::RecordOutside, vrec + " .NumWeights", numAt,
                         strf("%d weights from %s end at %s, past the end of the file at %s", vertex.NumWeights,
                              hex(at + 32).c_str(), hex(at + length).c_str(), hex(w.size()).c_str()));
            break;
        }
        if (!w.charge(length)) return;
        w.finite(at, 5, vrec + " .Normal", rec + " vertex values");
        if (vertex.NumWeights == 0)
            w.report.addCapped(Id::NoWeights, rec + " weights", vrec + " .NumWeights", numAt,
                               "the vertex has no weights; it is drawn at the model's origin");
        double sum = 0.0;
        for (std::int32_t k = 0; k < vertex.NumWeights; ++k) {
            const std::int64_t wa = at + 32 + 20 * std::int64_t{k};
            const auto weight = w.bytes.read<formats::MdsWeight>(wa);
            const std::string wrec = vrec + strf(" weight %d", k);
            boneIndex(w, weight.BoneIndex, h.NumBones, wrec + " .BoneIndex", wa, rec + " weight bones");
            w.finite(wa + 4, 4, wrec + " .Weight", rec + " vertex values");
            if (std::isfinite(weight.Weight)) sum += weight.Weight;
        }
        if (vertex.NumWeights > 0 && std::fabs(sum - 1.0) > 0.01)
            w.report.addCapped(Id::WeightSum, rec + " weight sums", vrec + " .Weights", at + 32,
                               strf("the %d weights add up to %.4f; they should add up to 1", vertex.NumWeights, sum));
        at += length;
    }
    if (at > first) w.spans.push_back({first, at, rec + " vertices"});
}

// An int32 list whose every entry must lie in [0, bound); `entry` names one
// entry (null for the corners of a triangle list).
void checkIndexList(Walk& w, std::int64_t at, std::int64_t count, std::int32_t bound, Id id, const char* what,
                    const std::string& rec, const char* entry, const char* bounded) {
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int32_t value = w.bytes.read<std::int32_t>(at + 4 * i);
        if (value >= 0 && value < bound) continue;
        // Triangles are named by triangle and corner, other lists by entry.
        const std::string item = entry == nullptr ? strf(" triangle %lld .Indices[%lld]", static_cast<long long>(i / 3),
                                                         static_cast<long long>(i % 3))
                                                  : strf(" %s %lld", entry, static_cast<long long>(i));
        w.report.addCapped(id, rec + " " + what, rec + item, at + 4 * i,
                           strf("%d is not one of the %s 0 to %d", value, bounded, bound - 1));
    }
}

// One surface at s; false when the chain cannot go on.
bool checkSurface(Walk& w, const MdsHeader& h, std::int64_t s, int i, ModelSummary& out) {
    const auto sf = w.bytes.read<MdsSurface>(s);
    const std::string label = strf("surface %d", i);
    const std::string name = w.name(s + std::int64_t{offsetof(MdsSurface, Name)}, formats::kNameLength, label + " .Name", "names");
    const std::string rec = label + " " + quoted(name);
    w.name(s + std::int64_t{offsetof(MdsSurface, Shader)}, formats::kNameLength, rec + " .Shader", "names");
    out.surfaceNames.push_back(name);
    w.spans.push_back({s, s + kSurfaceSize, rec + " header"});
    if (!w.charge(kSurfaceSize)) return false;
    const auto field = [&](std::size_t off) { return s + static_cast<std::int64_t>(off); };

    const bool vertsOk = w.count(sf.NumVertices, rec + " .NumVertices", field(offsetof(MdsSurface, NumVertices)));
    const bool trisOk = w.count(sf.NumTriangles, rec + " .NumTriangles", field(offsetof(MdsSurface, NumTriangles)));
    const bool refsOk = w.count(sf.NumBoneRefs, rec + " .NumBoneRefs", field(offsetof(MdsSurface, NumBoneRefs)));
    w.surfaceLimits(sf.NumVertices, sf.NumTriangles, rec, field(offsetof(MdsSurface, NumVertices)),
                    field(offsetof(MdsSurface, NumTriangles)));
    if (vertsOk) checkVertices(w, h, s, sf, rec);
    if (w.overBudget()) return false;
    if (trisOk && w.list(s + sf.OffsetTriangles, sf.NumTriangles, 12, "triangles", rec, rec + " .OffsetTriangles",
                         field(offsetof(MdsSurface, OffsetTriangles))))
        checkIndexList(w, s + sf.OffsetTriangles, 3 * std::int64_t{sf.NumTriangles}, vertsOk ? sf.NumVertices : 0,
                       Id::VertexIndex, "triangles", rec, nullptr, "surface's vertices");
    if (vertsOk && w.list(s + sf.OffsetCollapseMap, sf.NumVertices, 4, "collapse-map entries", rec,
                          rec + " .OffsetCollapseMap", field(offsetof(MdsSurface, OffsetCollapseMap))))
        checkIndexList(w, s + sf.OffsetCollapseMap, sf.NumVertices, sf.NumVertices, Id::VertexIndex, "collapse map",
                       rec, "collapse-map entry", "surface's vertices");
    if (refsOk && w.list(s + sf.OffsetBoneRefs, sf.NumBoneRefs, 4, "bone references", rec, rec + " .OffsetBoneRefs",
                         field(offsetof(MdsSurface, OffsetBoneRefs))))
        checkIndexList(w, s + sf.OffsetBoneRefs, sf.NumBoneRefs, h.NumBones, Id::BoneIndex, "bone references", rec,
                       "bone reference", "model's bones");
    return !w.overBudget();
}

void checkSurfaces(Walk& w, const MdsHeader& h, ModelSummary& out) {
    out.allSurfaces = w.chain(
        h.OffsetSurfaces, h.NumSurfaces, kSurfaceSize, offsetof(MdsSurface, OffsetEnd),
        offsetof(MdsHeader, OffsetSurfaces),
        [&](std::int64_t at, std::int32_t i) { return checkSurface(w, h, at, i, out); },
        [&](std::int32_t i) { return strf("surface %d ", i) + quoted(out.surfaceNames.back()); });
}

}  // namespace

ModelSummary checkMds(formats::ByteView bytes, Report& report, const Limits& limits) {
    ModelSummary out;
    if (!startModel(bytes, report, "MDSW", "MDS", kHeaderSize)) return out;
    out.readable = true;
    Walk w(bytes, report, limits);
    const auto h = bytes.read<MdsHeader>(0);
    out.numFrames = h.NumFrames;
    w.spans.push_back({0, kHeaderSize, "header"});
    w.charge(kHeaderSize);
    if (h.Version != formats::kMdsVersion)
        report.add(Id::Version, headerField("Version"), offsetof(MdsHeader, Version),
                   strf("version %d; the browser and the game read version %d", h.Version, formats::kMdsVersion));
    w.name(offsetof(MdsHeader, Name), formats::kNameLength, headerField("Name"), "names");
    w.finite(offsetof(MdsHeader, LodScale), 2, headerField("LodScale"), "header values");
    const bool frames = w.count(h.NumFrames, headerField("NumFrames"), offsetof(MdsHeader, NumFrames));
    const bool bones = w.count(h.NumBones, headerField("NumBones"), offsetof(MdsHeader, NumBones));
    const bool surfaces = w.count(h.NumSurfaces, headerField("NumSurfaces"), offsetof(MdsHeader, NumSurfaces));
    const bool tags = w.count(h.NumTags, headerField("NumTags"), offsetof(MdsHeader, NumTags));
    w.modelLimit(h.NumBones, kMaxBones, "bones", headerField("NumBones"), offsetof(MdsHeader, NumBones));
    w.modelLimit(h.NumSurfaces, kMaxSurfaces, "surfaces", headerField("NumSurfaces"), offsetof(MdsHeader, NumSurfaces));
    w.modelLimit(h.NumTags, kMaxTags, "tags", headerField("NumTags"), offsetof(MdsHeader, NumTags));
    if (bones && (h.TorsoParent < 0 || h.TorsoParent >= h.NumBones))
        boneIndex(w, h.TorsoParent, h.NumBones, headerField("TorsoParent"), offsetof(MdsHeader, TorsoParent), "header");
    if (h.OffsetEnd > w.size())
        report.add(Id::EndOffset, Severity::Error, headerField("OffsetEnd"), offsetof(MdsHeader, OffsetEnd),
                   strf("the file is cut short: the model data should end at %s, but the file ends at %s",
                        hex(h.OffsetEnd).c_str(), hex(w.size()).c_str()));
    else if (h.OffsetEnd != w.size())
        report.add(Id::EndOffset, headerField("OffsetEnd"), offsetof(MdsHeader, OffsetEnd),
                   strf("the model data ends at %s, but the file has %s bytes", hex(h.OffsetEnd).c_str(),
                        hex(w.size()).c_str()));

    if (bones) checkBones(w, h);
    if (tags && bones && !w.overBudget()) checkTags(w, h);
    if (frames && bones && !w.overBudget()) checkFrames(w, h);
    if (surfaces && bones && !w.overBudget()) checkSurfaces(w, h, out);
    w.overlaps();
    return out;
}

}  // namespace check
