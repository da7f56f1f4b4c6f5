#include "formats/families/weighted_mesh.h"

#include <algorithm>
#include <cstddef>

#include "formats/mdm_layout.h"

namespace formats {

static_assert(offsetof(MdsVertex, NumWeights) == 20 && offsetof(MdmVertex, NumWeights) == 20,
              "both vertex records hold NumWeights at byte 20");

namespace {

#define S(member) KV_FIELD(MdsSurface, member)

constexpr std::int64_t kWeightSize = sizeof(MdsWeight);

class SurfaceWalk {
public:
    SurfaceWalk(Walker& w, const VertexShape& vertex, WeightedSurfaces& out) : w_(w), vertex_(vertex), out_(out) {}

    bool surface(std::int64_t s, std::int32_t i) {
        out_.surfaces.emplace_back();
        WeightedSurfaceIndex& sx = out_.surfaces.back();
        sx.at = s;
        sx.header = w_.bytes().read<MdsSurface>(s);
        sx.vertexSize = vertex_.size;
        const MdsSurface& sf = sx.header;
        const std::string label = strf("surface %d", i);
        sx.name = w_.name(s + S(Name).offset, kNameLength, label + " .Name", "names");
        const std::string rec = label + " " + quoted(sx.name);
        w_.values<MdsSurface>(s, rec, "names");
        w_.claim(s, s + static_cast<std::int64_t>(sizeof(MdsSurface)), rec + " header");
        if (!w_.charge(sizeof(MdsSurface))) return false;
        const bool verts = w_.count(Need::Walk, sf.NumVertices, rec, S(NumVertices), s);
        const bool tris = w_.count(Need::Walk, sf.NumTriangles, rec, S(NumTriangles), s);
        const bool refs = w_.count(Need::Walk, sf.NumBoneRefs, rec, S(NumBoneRefs), s);
        if (w_.stopped()) return false;
        if (verts) vertices(sx, rec);
        if (tris && !w_.stopped())
            sx.triangles = w_.list(Need::Draw, s + sf.OffsetTriangles, sf.NumTriangles, sizeof(MdsTriangle),
                                   "triangles", rec, S(OffsetTriangles), s);
        if (verts && !w_.stopped())
            sx.collapseMap = w_.list(Need::Print, s + sf.OffsetCollapseMap, sf.NumVertices, 4, "collapse-map entries",
                                     rec, S(OffsetCollapseMap), s);
        if (refs && !w_.stopped())
            sx.boneRefs = w_.list(Need::Print, s + sf.OffsetBoneRefs, sf.NumBoneRefs, 4, "bone references", rec,
                                  S(OffsetBoneRefs), s);
        return !w_.stopped();
    }

private:
    // Vertices one by one: each has its own length. A vertex whose length
    // lies outside stops the walk unless it is the last one (no further
    // vertex is read from where it ends); the viewer needs them all whole.
    void vertices(WeightedSurfaceIndex& sx, const std::string& rec) {
        const std::int64_t size = vertex_.size;
        const std::int64_t first = sx.at + sx.header.OffsetVertices;
        const std::int64_t count = sx.header.NumVertices;
        sx.firstVertex = first;
        const std::string field = rec + " " + S(OffsetVertices).name;
        const std::int64_t fieldAt = sx.at + S(OffsetVertices).offset;
        // Every vertex has its fixed part: a count that cannot fit is refused before the walk.
        if (count > w_.size() / size || !w_.bytes().has(first, count * size)) {
            w_.fail(Need::Walk, Id::RecordOutside, field, fieldAt,
                    strf("%lld vertices of at least %lld bytes each from %s end past the end of the file at %s",
                         static_cast<long long>(count), static_cast<long long>(size), hex(first).c_str(),
                         hex(w_.size()).c_str()),
                    "vertices");
            return;
        }
        if (vertex_.keepPositions) sx.vertices.reserve(static_cast<std::size_t>(count));
        const ByteView b = w_.bytes();
        std::int64_t v = first;
        for (std::int64_t i = 0; i < count; ++i) {
            const bool last = i + 1 == count;
            const std::int64_t numAt = v + 20;
            const std::string vrec = rec + strf(" vertex %lld", static_cast<long long>(i));
            if (!b.has(v, size)) {
                const Need need = last && b.has(numAt, 4) ? Need::Draw : Need::Walk;
                w_.fail(need, Id::RecordOutside, field, fieldAt,
                        strf("%lld vertices from %s: vertex %lld at %s runs past the end of the file at %s",
                             static_cast<long long>(count), hex(first).c_str(), static_cast<long long>(i),
                             hex(v).c_str(), hex(w_.size()).c_str()),
                        "vertices");
                if (need == Need::Draw) reached(sx, v);
                break;
            }
            const std::int32_t numWeights = sx.numWeights(b, v);
            if (!w_.count(Need::Walk, numWeights, vrec, FieldRef{".NumWeights", 20}, v)) break;
            reached(sx, v);
            const bool fits = numWeights <= (w_.size() - v - size) / kWeightSize;
            const std::int64_t length = size + std::int64_t{numWeights} * kWeightSize;
            if (!fits) {
                w_.fail(last ? Need::Draw : Need::Walk, Id::RecordOutside, vrec + " .NumWeights", numAt,
                        strf("%d weights from %s end at %s, past the end of the file at %s", numWeights,
                             hex(v + size).c_str(), hex(v + length).c_str(), hex(w_.size()).c_str()),
                        "vertices");
                break;
            }
            if (!w_.charge(length)) return;
            if (w_.collecting()) {
                w_.values(vertex_.fields, v, vrec, rec + " vertex values");
                for (std::int32_t k = 0; k < numWeights; ++k)
                    w_.values<MdsWeight>(sx.weight(v, k), vrec + strf(" weight %d", k), rec + " vertex values");
            }
            v += length;
            if (last) sx.verticesInside = true;
        }
        if (count == 0) sx.verticesInside = true;
        w_.claim(first, v, rec + " vertices");
    }

    void reached(WeightedSurfaceIndex& sx, std::int64_t v) {
        ++sx.walkedVertices;
        if (vertex_.keepPositions) sx.vertices.push_back(v);
    }

    Walker& w_;
    const VertexShape& vertex_;
    WeightedSurfaces& out_;
};

}  // namespace

void walkWeightedSurfaces(Walker& w, std::int64_t first, std::int32_t count, FieldRef firstField,
                          const VertexShape& vertex, WeightedSurfaces& out) {
    constexpr std::int64_t kSurfaceSize = sizeof(MdsSurface);
    out.surfaces.reserve(static_cast<std::size_t>(std::min<std::int64_t>(count, w.size() / kSurfaceSize)));
    SurfaceWalk walk(w, vertex, out);
    out.allSurfaces = w.chain(
        "surface", first, count, kSurfaceSize, firstField, S(OffsetEnd),
        [&](std::int64_t s, std::int32_t i) { return walk.surface(s, i); },
        [&](std::int32_t i) { return strf("surface %d ", i) + quoted(out.surfaces.back().name); });
}

#undef S

}  // namespace formats
