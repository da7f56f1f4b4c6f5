// The MDC rules over the index of src/formats: triangle vertex indices and
// the game's limits.
#include <cstddef>

#include "check/model_check.h"
#include "check/model_rules.h"
#include "formats/mdc_index.h"

namespace check {

namespace {

using formats::MdcHeader;
using formats::MdcSurface;

void triangles(const formats::MdcSurfaceIndex& sx, formats::ByteView b, Report& report, const std::string& rec) {
    if (!sx.triangles.inside) return;
    const std::int32_t numVertices = sx.header.NumVertices;
    for (std::int64_t c = 0; c < 3 * sx.triangles.count; ++c) {
        const std::int64_t e = sx.triangles.at + 4 * c;
        const std::int32_t value = b.read<std::int32_t>(e);
        if (numVertices >= 0 && value >= 0 && value < numVertices) continue;
        report.addCapped(Id::VertexIndex, rec + " triangles",
                         rec + strf(" triangle %lld .Indices[%lld]", static_cast<long long>(c / 3),
                                    static_cast<long long>(c % 3)),
                         e,
                         strf("%d is not one of the surface's vertices 0 to %lld", value,
                              static_cast<long long>(numVertices) - 1));
    }
}

}  // namespace

ModelSummary checkMdc(formats::ByteView bytes, Report& report, const Limits& limits) {
    ModelSummary out;
    const formats::MdcIndex x = formats::indexMdc(bytes, report);
    if (!x.readable) return out;
    out.readable = true;
    const MdcHeader& h = x.header;
    out.numFrames = h.NumFrames;
    modelLimit(report, h.NumSurfaces, kMaxSurfaces, "surfaces", "header .NumSurfaces", offsetof(MdcHeader, NumSurfaces));
    modelLimit(report, h.NumTags, kMaxTags, "tags", "header .NumTags", offsetof(MdcHeader, NumTags));
    for (std::size_t i = 0; i < x.surfaces.size(); ++i) {
        const formats::MdcSurfaceIndex& sx = x.surfaces[i];
        const std::string rec = strf("surface %zu ", i) + quoted(sx.name);
        surfaceLimits(report, limits, sx.header.NumVertices, sx.header.NumTriangles, rec,
                      sx.at + std::int64_t{offsetof(MdcSurface, NumVertices)},
                      sx.at + std::int64_t{offsetof(MdcSurface, NumTriangles)});
        triangles(sx, bytes, report, rec);
        out.surfaceNames.push_back(sx.name);
        out.shaderNames.push_back(sx.shaders.inside && sx.shaders.count > 0
                                      ? formats::nameOf(bytes.read<formats::MdcShader>(sx.shader(0)).Name)
                                      : std::string());
    }
    out.allSurfaces = x.allSurfaces;
    return out;
}

}  // namespace check
