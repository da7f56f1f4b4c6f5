// The MDS walk: header, bones, tags, frames, then the surface chain with
// every vertex and weight, the triangles, the collapse map and the bone
// references.
#include "formats/mds_index.h"

#include <algorithm>
#include <cstddef>
#include <utility>


namespace formats {

namespace {

constexpr std::int64_t kVertexSize = sizeof(MdsVertex);
constexpr std::int64_t kWeightSize = sizeof(MdsWeight);

#define H(member) KV_FIELD(MdsHeader, member)
#define S(member) KV_FIELD(MdsSurface, member)

class MdsWalk {
public:
    MdsWalk(Walker& w, MdsIndex& index, bool keepVertices) : w_(w), x_(index), keep_(keepVertices) {}

    void run() {
        if (!w_.start(Format::Mds)) return;
        x_.header = w_.bytes().read<MdsHeader>(0);
        x_.readable = true;
        const MdsHeader& h = x_.header;
        w_.claim(0, sizeof(MdsHeader), "header");
        w_.charge(sizeof(MdsHeader));
        if (h.Version != kMdsVersion)
            w_.fail(Need::None, Id::Version, "header .Version", H(Version).offset,
                    strf("version %d; the browser and the game read version %d", h.Version, kMdsVersion));
        w_.name(H(Name).offset, kNameLength, "header .Name", "names");
        w_.values<MdsHeader>(0, "header", "header values");
        const bool frames = w_.count(Need::Walk, h.NumFrames, "header", H(NumFrames), 0);
        const bool bones = w_.count(Need::Walk, h.NumBones, "header", H(NumBones), 0);
        const bool surfaces = w_.count(Need::Walk, h.NumSurfaces, "header", H(NumSurfaces), 0);
        const bool tags = w_.count(Need::Walk, h.NumTags, "header", H(NumTags), 0);
        w_.endOffset(h.OffsetEnd, H(OffsetEnd));
        if (w_.stopped()) return;
        x_.frameSize = mdsFrameSize(bones ? h.NumBones : 0);
        if (bones) boneList();
        if (tags && bones && !w_.stopped()) tagList();
        if (frames && bones && !w_.stopped()) frameList();
        if (surfaces && bones && !w_.stopped()) {
            constexpr std::int64_t kSurfaceSize = sizeof(MdsSurface);
            x_.surfaces.reserve(static_cast<std::size_t>(std::min<std::int64_t>(h.NumSurfaces, w_.size() / kSurfaceSize)));
            x_.allSurfaces = w_.chain(
                h.OffsetSurfaces, h.NumSurfaces, kSurfaceSize, H(OffsetSurfaces), S(OffsetEnd),
                [&](std::int64_t s, std::int32_t i) { return surface(s, i); },
                [&](std::int32_t i) { return strf("surface %d ", i) + quoted(x_.surfaces.back().name); });
        }
        w_.overlaps();
    }

private:
    void boneList() {
        const MdsHeader& h = x_.header;
        x_.bones = w_.list(Need::Draw, h.OffsetBones, h.NumBones, sizeof(MdsBone), "bones", "header", H(OffsetBones), 0);
        if (!x_.bones.inside || !w_.collecting()) return;
        for (std::int64_t i = 0; i < x_.bones.count; ++i) {
            const std::string label = strf("bone %lld", static_cast<long long>(i));
            const std::string name = w_.name(x_.bone(i), kNameLength, label + " .Name", "bone names");
            w_.values<MdsBone>(x_.bone(i), label + " " + quoted(name), "bone values");
        }
    }

    void tagList() {
        const MdsHeader& h = x_.header;
        x_.tags = w_.list(Need::Print, h.OffsetTags, h.NumTags, sizeof(MdsTag), "tags", "header", H(OffsetTags), 0);
        if (!x_.tags.inside || !w_.collecting()) return;
        for (std::int64_t i = 0; i < x_.tags.count; ++i) {
            const std::string label = strf("tag %lld", static_cast<long long>(i));
            const std::string name = w_.name(x_.tag(i), kNameLength, label + " .Name", "tag names");
            w_.values<MdsTag>(x_.tag(i), label + " " + quoted(name), "tag values");
        }
    }

    // The browser lists frame nodes without reading them: a count the file
    // could never hold stops the walk; a list placed outside only the viewer.
    void frameList() {
        const MdsHeader& h = x_.header;
        x_.frames = w_.list(ListNeed(Need::Draw, Need::Walk), h.OffsetFrames, h.NumFrames, x_.frameSize, "frames",
                            "header", H(OffsetFrames), 0);
        if (!x_.frames.inside || !w_.collecting()) return;
        for (std::int64_t k = 0; k < x_.frames.count; ++k)
            w_.values<MdsFrame>(x_.frame(k), strf("frame %lld", static_cast<long long>(k)), "frame values");
    }

    // Vertices one by one: each has its own length. A vertex whose length
    // lies outside stops the walk unless it is the last one (no further
    // vertex is read from where it ends); the viewer needs them all whole.
    void vertices(MdsSurfaceIndex& sx, const std::string& rec) {
        const MdsSurface& sf = sx.header;
        const std::int64_t first = sx.at + sf.OffsetVertices;
        sx.firstVertex = first;
        const std::int64_t count = sf.NumVertices;
        const std::string field = rec + " .OffsetVertices";
        const std::int64_t fieldAt = sx.at + S(OffsetVertices).offset;
        // Every vertex is at least 32 bytes: a count that cannot fit is refused before the walk.
        if (count > w_.size() / kVertexSize || !w_.bytes().has(first, count * kVertexSize)) {
            w_.fail(Need::Walk, Id::RecordOutside, field, fieldAt,
                    strf("%lld vertices of at least %lld bytes each from %s end past the end of the file at %s",
                         static_cast<long long>(count), static_cast<long long>(kVertexSize), hex(first).c_str(),
                         hex(w_.size()).c_str()),
                    "vertices");
            return;
        }
        if (keep_) sx.vertices.reserve(static_cast<std::size_t>(count));
        const ByteView b = w_.bytes();
        std::int64_t v = first;
        for (std::int64_t i = 0; i < count; ++i) {
            const bool last = i + 1 == count;
            const std::int64_t numAt = v + KV_FIELD(MdsVertex, NumWeights).offset;
            const std::string vrec = rec + strf(" vertex %lld", static_cast<long long>(i));
            if (!b.has(v, kVertexSize)) {
                const Need need = last && b.has(numAt, 4) ? Need::Draw : Need::Walk;
                w_.fail(need, Id::RecordOutside, field, fieldAt,
                        strf("%lld vertices from %s: vertex %lld at %s runs past the end of the file at %s",
                             static_cast<long long>(count), hex(first).c_str(), static_cast<long long>(i),
                             hex(v).c_str(), hex(w_.size()).c_str()),
                        "vertices");
                if (need == Need::Draw) reached(sx, v);
                break;
            }
            const std::int32_t numWeights = b.read<std::int32_t>(numAt);
            if (!w_.count(Need::Walk, numWeights, vrec, KV_FIELD(MdsVertex, NumWeights), v)) break;
            reached(sx, v);
            const bool fits = numWeights <= (w_.size() - v - kVertexSize) / kWeightSize;
            const std::int64_t length = kVertexSize + std::int64_t{numWeights} * kWeightSize;
            if (!fits) {
                w_.fail(last ? Need::Draw : Need::Walk, Id::RecordOutside, vrec + " .NumWeights", numAt,
                        strf("%d weights from %s end at %s, past the end of the file at %s", numWeights,
                             hex(v + kVertexSize).c_str(), hex(v + length).c_str(), hex(w_.size()).c_str()),
                        "vertices");
                break;
            }
            if (!w_.charge(length)) return;
            if (w_.collecting()) {
                w_.values<MdsVertex>(v, vrec, rec + " vertex values");
                for (std::int32_t k = 0; k < numWeights; ++k)
                    w_.values<MdsWeight>(mdsWeight(v, k), vrec + strf(" weight %d", k), rec + " vertex values");
            }
            v += length;
            if (last) sx.verticesInside = true;
        }
        if (count == 0) sx.verticesInside = true;
        w_.claim(first, v, rec + " vertices");
    }

    bool surface(std::int64_t s, std::int32_t i) {
        x_.surfaces.emplace_back();
        MdsSurfaceIndex& sx = x_.surfaces.back();
        sx.at = s;
        sx.header = w_.bytes().read<MdsSurface>(s);
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
            sx.triangles = w_.list(Need::Draw, s + sf.OffsetTriangles, sf.NumTriangles, sizeof(MdsTriangle), "triangles",
                                   rec, S(OffsetTriangles), s);
        if (verts && !w_.stopped())
            sx.collapseMap = w_.list(Need::Print, s + sf.OffsetCollapseMap, sf.NumVertices, 4, "collapse-map entries",
                                     rec, S(OffsetCollapseMap), s);
        if (refs && !w_.stopped())
            sx.boneRefs = w_.list(Need::Print, s + sf.OffsetBoneRefs, sf.NumBoneRefs, 4, "bone references", rec,
                                  S(OffsetBoneRefs), s);
        return !w_.stopped();
    }

    void reached(MdsSurfaceIndex& sx, std::int64_t v) {
        ++sx.walkedVertices;
        if (keep_) sx.vertices.push_back(v);
    }

    Walker& w_;
    MdsIndex& x_;
    bool keep_;
};

#undef H
#undef S

MdsIndex walk(ByteView bytes, Mode mode, Reader reader, Report* report, bool keepVertices) {
    MdsIndex index;
    Walker w(bytes, mode, reader, report);
    MdsWalk(w, index, keepVertices).run();
    index.refusal = w.refusal();
    return index;
}

}  // namespace

MdsIndex indexMds(ByteView bytes, Reader reader, bool vertexPositions) {
    return walk(bytes, Mode::FirstFatal, reader, nullptr, vertexPositions);
}

MdsIndex indexMds(ByteView bytes, Report& report) { return walk(bytes, Mode::CollectAll, Reader::Print, &report, true); }

}  // namespace formats
