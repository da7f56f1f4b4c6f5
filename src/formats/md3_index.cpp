// The MD3 walk: header, frames, tags, then the surface chain with its
// shaders, triangles, texture coordinates and frames of vertices.
#include "formats/md3_index.h"

#include <cmath>

namespace formats {

namespace {

#define H(member) KV_FIELD(Md3Header, member)
#define S(member) KV_FIELD(Md3Surface, member)

const FrameMeshFields kFrameMesh{S(NumShaders),      S(OffsetShaders), S(NumTriangles),
                                 S(OffsetTriangles), S(NumVertices),   S(OffsetTexCoords)};

bool walkSurface(Walker& w, Md3Index& x, std::int64_t s, std::int32_t i) {
    x.surfaces.emplace_back();
    Md3SurfaceIndex& sx = x.surfaces.back();
    sx.at = s;
    sx.header = w.bytes().read<Md3Surface>(s);
    const Md3Surface& sf = sx.header;
    const std::string label = strf("surface %d", i);
    sx.name = w.name(s + S(Name).offset, kNameLength, label + " .Name", "names");
    const std::string rec = label + " " + quoted(sx.name);
    w.claim(s, s + static_cast<std::int64_t>(sizeof(Md3Surface)), rec + " header");
    if (!w.charge(sizeof(Md3Surface))) return false;
    const bool verts = walkFrameMesh(w, kFrameMesh, rec, sx);
    if (verts && !w.stopped() && w.count(Need::Draw, sf.NumFrames, rec, S(NumFrames), s))
        sx.xyzNormals = w.list(Need::Draw, s + sf.OffsetXyzNormals, std::int64_t{sf.NumFrames} * sf.NumVertices,
                               sizeof(Md3XyzNormal), "vertex frames", rec, S(OffsetXyzNormals), s);
    return !w.stopped();
}

void walkMd3(Walker& w, Md3Index& x) {
    if (!w.header<Md3Header>(Format::Md3)) return;
    x.header = w.bytes().read<Md3Header>(0);
    x.readable = true;
    const Md3Header& h = x.header;
    const std::int32_t version = formatInfo(Format::Md3).version;
    if (h.Version != version)
        w.fail(Need::None, Id::Version, Severity::Error, "header .Version", H(Version).offset,
               strf("version %d; the game refuses every version but %d", h.Version, version));
    const bool frames = w.count(Need::Walk, h.NumFrames, "header", H(NumFrames), 0);
    w.count(Need::None, h.NumSkins, "header", H(NumSkins), 0);
    w.endOffset(h.OffsetEnd, H(OffsetEnd));
    if (w.stopped() || !frames) return;
    x.frames = w.list(Need::Print, h.OffsetFrames, h.NumFrames, sizeof(Md3Frame), "frames", "header", H(OffsetFrames), 0);
    if (x.frames.inside && w.collecting())
        for (std::int64_t k = 0; k < x.frames.count; ++k)
            w.values<Md3Frame>(x.frame(k), strf("frame %lld", static_cast<long long>(k)), "frame values");
    if (!w.stopped() && w.count(Need::Draw, h.NumTags, "header", H(NumTags), 0)) {
        x.tags = w.list(Need::Draw, h.OffsetTags, std::int64_t{h.NumFrames} * h.NumTags, sizeof(Md3Tag), "tags",
                        "header", H(OffsetTags), 0);
        if (x.tags.inside && w.collecting())
            for (std::int64_t t = 0; t < x.tags.count; ++t) {
                const std::int64_t at = x.tags.at + t * std::int64_t{sizeof(Md3Tag)};
                const std::string label = strf("frame %lld tag %lld", static_cast<long long>(t / h.NumTags),
                                               static_cast<long long>(t % h.NumTags));
                w.values<Md3Tag>(at, label + " " + quoted(w.name(at, kNameLength, label + " .Name", "tag names")),
                                 "tag values");
            }
    }
    if (!w.stopped() && w.count(Need::Walk, h.NumSurfaces, "header", H(NumSurfaces), 0))
        x.allSurfaces = w.chain(
            "surface", h.OffsetSurfaces, h.NumSurfaces, sizeof(Md3Surface), H(OffsetSurfaces), S(OffsetEnd),
            [&](std::int64_t s, std::int32_t i) { return walkSurface(w, x, s, i); },
            [&](std::int32_t i) { return strf("surface %d ", i) + quoted(x.surfaces.back().name); });
    w.overlaps();
}

#undef H
#undef S

Md3Index walk(ByteView bytes, Mode mode, Reader reader, Report* report) {
    Md3Index index;
    Walker w(bytes, mode, reader, report);
    walkMd3(w, index);
    index.refusal = w.refusal();
    return index;
}

}  // namespace

Md3Index indexMd3(ByteView bytes, Reader reader) { return walk(bytes, Mode::FirstFatal, reader, nullptr); }

Md3Index indexMd3(ByteView bytes, Report& report) { return walk(bytes, Mode::CollectAll, Reader::Print, &report); }

void md3Normal(std::uint16_t packed, float (&out)[3]) {
    constexpr double kStep = 2.0 * 3.14159265358979323846 / 256.0;
    const double lat = ((packed >> 8) & 0xFF) * kStep;
    const double lng = (packed & 0xFF) * kStep;
    out[0] = static_cast<float>(std::cos(lat) * std::sin(lng));
    out[1] = static_cast<float>(std::sin(lat) * std::sin(lng));
    out[2] = static_cast<float>(std::cos(lng));
}

}  // namespace formats
