// The demo surfaces in progressive order (mkplayer/progressive.h): the same
// triangles after renumbering, a collapse map the engine can follow, and
// coarse levels that still span the whole figure (an order that drops
// whole limbs first is what this catches).
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/families/collapse_lod.h"
#include "mkplayer/body_mesh.h"
#include "mkplayer/progressive.h"

namespace mkp {
namespace {

struct Box {
    mp::Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    void add(mp::Vec3 p) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    mp::Vec3 size() const { return hi - lo; }
};

bool samePlace(mp::Vec3 a, mp::Vec3 b) { return mp::length(a - b) == 0.0f; }

TEST(MkplayerProgressive, SameMeshValidMapAndCoarseLevelsSpanTheFigure) {
    for (const mp::Mesh& original : mp::bodyMeshes()) {
        mp::Mesh mesh = original;
        const std::vector<std::int32_t> map = mp::progressiveOrder(mesh);
        ASSERT_EQ(map.size(), mesh.vertices.size()) << mesh.name;
        ASSERT_EQ(mesh.triangles.size(), original.triangles.size()) << mesh.name;
        for (std::size_t t = 0; t < mesh.triangles.size(); ++t)
            for (std::size_t c = 0; c < 3; ++c) {
                const auto& was = original.vertices[static_cast<std::size_t>(original.triangles[t][c])];
                const auto& now = mesh.vertices[static_cast<std::size_t>(mesh.triangles[t][c])];
                ASSERT_TRUE(samePlace(was.pos, now.pos) && was.u == now.u && was.v == now.v)
                    << mesh.name << " triangle " << t;
            }
        EXPECT_EQ(map[0], 0) << mesh.name;
        for (std::size_t j = 1; j < map.size(); ++j)
            ASSERT_TRUE(map[j] >= 0 && static_cast<std::size_t>(map[j]) < j) << mesh.name << " vertex " << j;

        std::vector<formats::Triangle> triangles;
        Box whole;
        for (const auto& t : mesh.triangles) {
            triangles.push_back({t[0], t[1], t[2]});
            for (int c : t) whole.add(mesh.vertices[static_cast<std::size_t>(c)].pos);
        }
        for (float factor : {0.6f, 0.35f, 0.15f}) {
            const std::int32_t kept = formats::lodVertexCount(static_cast<std::int32_t>(map.size()), factor, 0,
                                                              formats::LodRounding::Truncate);
            Box coarse;
            for (const auto& t : formats::collapseTriangles(map, triangles, kept))
                for (std::int32_t c : t) coarse.add(mesh.vertices[static_cast<std::size_t>(c)].pos);
            // Both sides stay (x runs across the body); fingers may go at
            // the coarsest level, so lengths keep at least half.
            const mp::Vec3 a = coarse.size(), b = whole.size();
            EXPECT_GT(a.x, 0.8f * b.x) << mesh.name << " at " << factor;
            EXPECT_GT(a.y, 0.5f * b.y) << mesh.name << " at " << factor;
            EXPECT_GT(a.z, 0.5f * b.z) << mesh.name << " at " << factor;
        }
    }
}

}  // namespace
}  // namespace mkp
