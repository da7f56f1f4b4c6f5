// The MDC checks: header, frames, tag names and tag frames, then the
// surface chain with shaders, triangles, texture coordinates, base and
// compressed vertices and the two frame tables.
#include <cstddef>
#include <cstring>

#include "check/model_check.h"
#include "check/walk.h"
#include "formats/mdc_records.h"

namespace check {

namespace {

using formats::MdcHeader;
using formats::MdcSurface;

constexpr std::int64_t kHeaderSize = sizeof(MdcHeader);
constexpr std::int64_t kSurfaceSize = sizeof(MdcSurface);

std::string headerField(const char* field) { return std::string("header .") + field; }

void checkFrames(Walk& w, const MdcHeader& h) {
    if (!w.list(h.unusedOffsetFrames, h.NumFrames, sizeof(formats::MdcFrame), "frames", "", headerField("OffsetFrames"),
                offsetof(MdcHeader, unusedOffsetFrames)))
        return;
    for (std::int32_t k = 0; k < h.NumFrames; ++k) {
        const std::int64_t at = h.unusedOffsetFrames + std::int64_t{k} * std::int64_t{sizeof(formats::MdcFrame)};
        w.finite(at, 10, strf("frame %d", k), "frame values");
    }
}

void checkTags(Walk& w, const MdcHeader& h) {
    if (w.list(h.unusedOffsetTagNames, h.unusedNumTags, sizeof(formats::MdcTagName), "tag names", "",
               headerField("OffsetTagNames"), offsetof(MdcHeader, unusedOffsetTagNames)))
        for (std::int32_t i = 0; i < h.unusedNumTags; ++i)
            w.name(h.unusedOffsetTagNames + 64 * std::int64_t{i}, formats::kNameLength, strf("tag %d .Name", i),
                   "names");
    w.list(h.unusedOffsetTagFrames, std::int64_t{h.NumFrames} * h.unusedNumTags, sizeof(formats::MdcTagFrame),
           "tag frames", "", headerField("OffsetTagFrames"), offsetof(MdcHeader, unusedOffsetTagFrames));
}

// A frame table: one int16/uint16 per model frame, each below `bound`
// (-1 allowed when `noneAllowed`).
void checkFrameTable(Walk& w, std::int64_t at, std::int32_t numFrames, std::int32_t bound, bool noneAllowed,
                     const std::string& rec, const char* table, const char* boundField) {
    for (std::int32_t f = 0; f < numFrames; ++f) {
        const std::int64_t e = at + 2 * std::int64_t{f};
        const std::int32_t value =
            noneAllowed ? std::int32_t{w.bytes.read<std::int16_t>(e)} : std::int32_t{w.bytes.read<std::uint16_t>(e)};
        if ((noneAllowed && value == -1) || (value >= 0 && value < bound)) continue;
        w.report.addCapped(
            Id::FrameIndex, rec + " " + table, rec + strf(" %s %d", table, f), e,
            strf("entry %d; the surface's %s is %d, so an entry must lie below it", value, boundField, bound));
    }
}

bool checkSurface(Walk& w, const MdcHeader& h, std::int64_t s, int i, ModelSummary& out) {
    const auto sf = w.bytes.read<MdcSurface>(s);
    const std::string label = strf("surface %d", i);
    const std::string name = w.name(s + std::int64_t{offsetof(MdcSurface, Name)}, formats::kNameLength, label + " .Name", "names");
    const std::string rec = label + " " + quoted(name);
    out.surfaceNames.push_back(name);
    out.shaderNames.emplace_back();
    w.spans.push_back({s, s + kSurfaceSize, rec + " header"});
    if (!w.charge(kSurfaceSize)) return false;
    const auto field = [&](std::size_t off) { return s + static_cast<std::int64_t>(off); };
    const auto count = [&](std::int32_t v, const char* f, std::size_t off) { return w.count(v, rec + " ." + f, field(off)); };

    const bool verts = count(sf.NumVertices, "NumVertices", offsetof(MdcSurface, NumVertices));
    const bool tris = count(sf.NumTriangles, "NumTriangles", offsetof(MdcSurface, NumTriangles));
    const bool shaders = count(sf.unusedNumShaders, "NumShaders", offsetof(MdcSurface, unusedNumShaders));
    const bool bases = count(sf.unusedNumBaseFrames, "NumBaseFrames", offsetof(MdcSurface, unusedNumBaseFrames));
    const bool comps = count(sf.unusedNumCompFrames, "NumCompFrames", offsetof(MdcSurface, unusedNumCompFrames));
    w.surfaceLimits(sf.NumVertices, sf.NumTriangles, rec, field(offsetof(MdcSurface, NumVertices)),
                    field(offsetof(MdcSurface, NumTriangles)));
    if (shaders && w.list(s + sf.OffsetShaders, sf.unusedNumShaders, sizeof(formats::MdcShader), "shaders", rec,
                          rec + " .OffsetShaders", field(offsetof(MdcSurface, OffsetShaders))))
        for (std::int32_t k = 0; k < sf.unusedNumShaders; ++k) {
            const std::string shader = w.name(s + sf.OffsetShaders + 68 * std::int64_t{k}, formats::kNameLength,
                                              rec + strf(" shader %d .Name", k), "names");
            if (k == 0) out.shaderNames.back() = shader;
        }
    if (tris && w.list(s + sf.OffsetTriangles, sf.NumTriangles, 12, "triangles", rec, rec + " .OffsetTriangles",
                       field(offsetof(MdcSurface, OffsetTriangles))))
        for (std::int64_t c = 0; c < 3 * std::int64_t{sf.NumTriangles}; ++c) {
            const std::int64_t e = s + sf.OffsetTriangles + 4 * c;
            const std::int32_t value = w.bytes.read<std::int32_t>(e);
            if (verts && value >= 0 && value < sf.NumVertices) continue;
            w.report.addCapped(Id::VertexIndex, rec + " triangles",
                               rec + strf(" triangle %lld .Indices[%lld]", static_cast<long long>(c / 3),
                                          static_cast<long long>(c % 3)),
                               e,
                               strf("%d is not one of the surface's vertices 0 to %lld", value,
                                    static_cast<long long>(sf.NumVertices) - 1));
        }
    if (verts && w.list(s + sf.OffsetTexCoords, sf.NumVertices, 8, "texture coordinates", rec,
                        rec + " .OffsetTexCoords", field(offsetof(MdcSurface, OffsetTexCoords))))
        for (std::int32_t v = 0; v < sf.NumVertices; ++v)
            w.finite(s + sf.OffsetTexCoords + 8 * std::int64_t{v}, 2, rec + strf(" texture coordinate %d", v),
                     rec + " texture coordinates");
    if (verts && bases)
        w.list(s + sf.OffsetBaseVertices, std::int64_t{sf.unusedNumBaseFrames} * sf.NumVertices, 8, "base vertices",
               rec, rec + " .OffsetBaseVertices", field(offsetof(MdcSurface, OffsetBaseVertices)));
    if (verts && comps)
        w.list(s + sf.unusedOffsetCompVertices, std::int64_t{sf.unusedNumCompFrames} * sf.NumVertices, 4,
               "compressed vertices", rec, rec + " .OffsetCompVertices",
               field(offsetof(MdcSurface, unusedOffsetCompVertices)));
    if (w.list(s + sf.OffsetFrameBaseFrames, h.NumFrames, 2, "frame base-frame entries", rec,
               rec + " .OffsetFrameBaseFrames", field(offsetof(MdcSurface, OffsetFrameBaseFrames))))
        checkFrameTable(w, s + sf.OffsetFrameBaseFrames, h.NumFrames, sf.unusedNumBaseFrames, false, rec,
                        "frame base frame", "NumBaseFrames");
    if (w.list(s + sf.unusedOffsetFrameCompFrames, h.NumFrames, 2, "frame compressed-frame entries", rec,
               rec + " .OffsetFrameCompFrames", field(offsetof(MdcSurface, unusedOffsetFrameCompFrames))))
        checkFrameTable(w, s + sf.unusedOffsetFrameCompFrames, h.NumFrames, sf.unusedNumCompFrames, true, rec,
                        "frame compressed frame", "NumCompFrames");
    return !w.overBudget();
}

void checkSurfaces(Walk& w, const MdcHeader& h, ModelSummary& out) {
    out.allSurfaces = w.chain(
        h.OffsetSurfaces, h.NumSurfaces, kSurfaceSize, offsetof(MdcSurface, OffsetEnd), offsetof(MdcHeader, OffsetSurfaces),
        [&](std::int64_t at, std::int32_t i) { return checkSurface(w, h, at, i, out); },
        [&](std::int32_t i) { return strf("surface %d ", i) + quoted(out.surfaceNames.back()); });
}

}  // namespace

ModelSummary checkMdc(formats::ByteView bytes, Report& report, const Limits& limits) {
    ModelSummary out;
    if (!startModel(bytes, report, "IDPC", "MDC", kHeaderSize)) return out;
    out.readable = true;
    Walk w(bytes, report, limits);
    const auto h = bytes.read<MdcHeader>(0);
    out.numFrames = h.NumFrames;
    w.spans.push_back({0, kHeaderSize, "header"});
    w.charge(kHeaderSize);
    w.name(offsetof(MdcHeader, Name), formats::kNameLength, headerField("Name"), "names");
    const bool frames = w.count(h.NumFrames, headerField("NumFrames"), offsetof(MdcHeader, NumFrames));
    const bool tags = w.count(h.unusedNumTags, headerField("NumTags"), offsetof(MdcHeader, unusedNumTags));
    const bool surfaces = w.count(h.NumSurfaces, headerField("NumSurfaces"), offsetof(MdcHeader, NumSurfaces));
    w.count(h.unusedNumSkins, headerField("NumSkins"), offsetof(MdcHeader, unusedNumSkins));
    w.modelLimit(h.NumSurfaces, kMaxSurfaces, "surfaces", headerField("NumSurfaces"), offsetof(MdcHeader, NumSurfaces));
    w.modelLimit(h.unusedNumTags, kMaxTags, "tags", headerField("NumTags"), offsetof(MdcHeader, unusedNumTags));
    if (h.unusedOffsetEnd > w.size())
        report.add(Id::EndOffset, Severity::Error, headerField("OffsetEnd"), offsetof(MdcHeader, unusedOffsetEnd),
                   strf("the file is cut short: the model data should end at %s, but the file ends at %s",
                        hex(h.unusedOffsetEnd).c_str(), hex(w.size()).c_str()));
    else if (h.unusedOffsetEnd != w.size())
        report.add(Id::EndOffset, headerField("OffsetEnd"), offsetof(MdcHeader, unusedOffsetEnd),
                   strf("the model data ends at %s, but the file has %s bytes", hex(h.unusedOffsetEnd).c_str(),
                        hex(w.size()).c_str()));
    if (frames) checkFrames(w, h);
    if (frames && tags && !w.overBudget()) checkTags(w, h);
    if (frames && surfaces && !w.overBudget()) checkSurfaces(w, h, out);
    w.overlaps();
    return out;
}

}  // namespace check
