#include "formats/families/collapse_lod.h"

#include <algorithm>
#include <cmath>

namespace formats {

float lodFactor(float radius, float depth, float lodScale, float lodBias, const LodView& view) {
    const float projected = depth > 0.0f ? std::min(1.0f, view.projection * radius / depth) : 1.0f;
    const float f = projected * view.rLodScale * lodScale - 0.25f * view.rLodBias + lodBias;
    return std::clamp(f, 0.0f, 1.0f);
}

std::int32_t lodVertexCount(std::int32_t numVerts, float factor, std::int32_t minLod, LodRounding rounding) {
    if (numVerts <= 0) return 0;
    const double exact = static_cast<double>(numVerts) * static_cast<double>(std::clamp(factor, 0.0f, 1.0f));
    auto n = static_cast<std::int32_t>(rounding == LodRounding::Round ? std::floor(exact + 0.5) : std::trunc(exact));
    n = std::max(n, minLod);
    return std::clamp(n, 0, numVerts);
}

std::vector<Triangle> collapseTriangles(std::span<const std::int32_t> collapseMap, std::span<const Triangle> triangles,
                                        std::int32_t kept) {
    const auto numVerts = static_cast<std::int32_t>(collapseMap.size());
    kept = std::clamp(kept, 0, numVerts);
    std::vector<std::int32_t> collapse(collapseMap.size());
    for (std::int32_t j = 0; j < numVerts; ++j) {
        const std::int32_t to = collapseMap[static_cast<std::size_t>(j)];
        collapse[static_cast<std::size_t>(j)] = j < kept || to < 0 || to >= j ? j : collapse[static_cast<std::size_t>(to)];
    }
    std::vector<Triangle> out;
    out.reserve(triangles.size());
    for (const Triangle& t : triangles) {
        Triangle m{};
        bool drawn = true;
        for (int c = 0; c < 3; ++c) {
            const std::int32_t v = t[static_cast<std::size_t>(c)];
            if (v < 0 || v >= numVerts) {
                drawn = false;
                break;
            }
            m[static_cast<std::size_t>(c)] = collapse[static_cast<std::size_t>(v)];
            drawn = drawn && m[static_cast<std::size_t>(c)] < kept;
        }
        if (drawn && m[0] != m[1] && m[1] != m[2] && m[0] != m[2]) out.push_back(m);
    }
    return out;
}

}  // namespace formats
