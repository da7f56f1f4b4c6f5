// The MDC walk: header, frames, tag names and tag frames, then the surface
// chain with shaders, triangles, texture coordinates, base and compressed
// vertices and the two frame tables, in the order the structure printer
// shows them.
#include "formats/mdc_index.h"

#include <cstddef>
#include <utility>

namespace formats {

namespace {

#define H(member) KV_FIELD(MdcHeader, member)
#define S(member) KV_FIELD(MdcSurface, member)

const FrameMeshFields kFrameMesh{S(NumShaders),  S(OffsetShaders),   S(NumTriangles),
                                 S(OffsetTriangles), S(NumVertices), S(OffsetTexCoords)};

class MdcWalk {
public:
    MdcWalk(Walker& w, MdcIndex& index) : w_(w), x_(index) {}

    void run() {
        if (!w_.start(Format::Mdc)) return;
        x_.header = w_.bytes().read<MdcHeader>(0);
        x_.readable = true;
        const MdcHeader& h = x_.header;
        w_.claim(0, sizeof(MdcHeader), "header");
        w_.charge(sizeof(MdcHeader));
        if (h.Version != kMdcVersion)
            w_.fail(Need::None, Id::Version, Severity::Error, "header .Version", H(Version).offset,
                    strf("version %d; the game refuses every version but %d", h.Version, kMdcVersion));
        w_.name(H(Name).offset, kNameLength, "header .Name", "names");
        const bool frames = w_.count(Need::Walk, h.NumFrames, "header", H(NumFrames), 0);
        w_.count(Need::None, h.NumSkins, "header", H(NumSkins), 0);
        w_.endOffset(h.OffsetEnd, H(OffsetEnd));
        if (w_.stopped()) return;
        if (frames) frameList();
        // The counts of tags and surfaces are checked where their lists are
        // walked, so that a printer shows everything before them.
        const bool tags = !w_.stopped() && w_.count(Need::Print, h.NumTags, "header", H(NumTags), 0);
        if (frames && tags && !w_.stopped()) tagLists();
        const bool surfaces = !w_.stopped() && w_.count(Need::Walk, h.NumSurfaces, "header", H(NumSurfaces), 0);
        if (frames && surfaces && !w_.stopped())
            x_.allSurfaces = w_.chain(
                "surface", h.OffsetSurfaces, h.NumSurfaces, sizeof(MdcSurface), H(OffsetSurfaces), S(OffsetEnd),
                [&](std::int64_t s, std::int32_t i) { return surface(s, i); },
                [&](std::int32_t i) { return strf("surface %d ", i) + quoted(x_.surfaces.back().name); });
        w_.overlaps();
    }

private:
    void frameList() {
        const MdcHeader& h = x_.header;
        x_.frames = w_.list(Need::Print, h.OffsetFrames, h.NumFrames, sizeof(MdcFrame), "frames", "header",
                            H(OffsetFrames), 0);
        if (!x_.frames.inside || !w_.collecting()) return;
        for (std::int64_t k = 0; k < x_.frames.count; ++k)
            w_.values<MdcFrame>(x_.frame(k), strf("frame %lld", static_cast<long long>(k)), "frame values");
    }

    void tagLists() {
        const MdcHeader& h = x_.header;
        x_.tagNames = w_.list(Need::Print, h.OffsetTagNames, h.NumTags, sizeof(MdcTagName), "tag names", "header",
                              H(OffsetTagNames), 0);
        if (x_.tagNames.inside && w_.collecting())
            for (std::int64_t i = 0; i < x_.tagNames.count; ++i)
                w_.name(x_.tagName(i), kNameLength, strf("tag %lld .Name", static_cast<long long>(i)), "names");
        if (w_.stopped()) return;
        x_.tagFrames = w_.list(Need::Print, h.OffsetTagFrames, std::int64_t{h.NumFrames} * h.NumTags,
                               sizeof(MdcTagFrame), "tag frames", "header", H(OffsetTagFrames), 0);
    }

    // One frame table: an entry per model frame, each below `bound`
    // (-1 allowed when `noneAllowed`).
    void frameTable(Need need, const ListAt& table, std::int32_t bound, bool noneAllowed, const std::string& rec,
                    const char* what, const char* boundField) {
        if (!table.inside || (need == Need::None && !w_.collecting())) return;
        const ByteView b = w_.bytes();
        for (std::int64_t f = 0; f < table.count && !w_.stopped(); ++f) {
            const std::int64_t e = table.at + 2 * f;
            const std::int32_t value =
                noneAllowed ? std::int32_t{b.read<std::int16_t>(e)} : std::int32_t{b.read<std::uint16_t>(e)};
            if ((noneAllowed && value == -1) || (value >= 0 && value < bound)) continue;
            w_.fail(need, Id::FrameIndex, rec + strf(" %s %lld", what, static_cast<long long>(f)), e,
                    strf("entry %d; the surface's %s is %d, so an entry must lie below it", value, boundField, bound),
                    rec + " " + what);
        }
    }

    bool surface(std::int64_t s, std::int32_t i) {
        x_.surfaces.emplace_back();
        MdcSurfaceIndex& sx = x_.surfaces.back();
        sx.at = s;
        sx.header = w_.bytes().read<MdcSurface>(s);
        const MdcSurface& sf = sx.header;
        const std::string label = strf("surface %d", i);
        sx.name = w_.name(s + S(Name).offset, kNameLength, label + " .Name", "names");
        const std::string rec = label + " " + quoted(sx.name);
        w_.claim(s, s + static_cast<std::int64_t>(sizeof(MdcSurface)), rec + " header");
        if (!w_.charge(sizeof(MdcSurface))) return false;
        const bool verts = walkFrameMesh(w_, kFrameMesh, rec, sx);
        const auto count = [&](Need need, std::int32_t value, FieldRef field) {
            return !w_.stopped() && w_.count(need, value, rec, field, s);
        };
        const std::int32_t numFrames = x_.header.NumFrames;
        const bool bases = count(Need::Draw, sf.NumBaseFrames, S(NumBaseFrames));
        if (verts && bases && !w_.stopped())
            sx.baseVertices = w_.list(Need::Draw, s + sf.OffsetBaseVertices, std::int64_t{sf.NumBaseFrames} * sf.NumVertices,
                                      sizeof(MdcBaseVertex), "base vertices", rec, S(OffsetBaseVertices), s);
        const bool comps = count(Need::Print, sf.NumCompFrames, S(NumCompFrames));
        if (verts && comps && !w_.stopped())
            sx.compVertices = w_.list(Need::Print, s + sf.OffsetCompVertices, std::int64_t{sf.NumCompFrames} * sf.NumVertices,
                                      sizeof(MdcCompVertex), "compressed vertices", rec, S(OffsetCompVertices), s);
        if (!w_.stopped()) {
            sx.frameBaseFrames = w_.list(Need::Draw, s + sf.OffsetFrameBaseFrames, numFrames, 2,
                                         "frame base-frame entries", rec, S(OffsetFrameBaseFrames), s);
            if (bases)
                frameTable(Need::DrawOnly, sx.frameBaseFrames, sf.NumBaseFrames, false, rec, "frame base frame",
                           "NumBaseFrames");
        }
        if (!w_.stopped()) {
            sx.frameCompFrames = w_.list(Need::Print, s + sf.OffsetFrameCompFrames, numFrames, 2,
                                         "frame compressed-frame entries", rec, S(OffsetFrameCompFrames), s);
            if (comps)
                frameTable(Need::None, sx.frameCompFrames, sf.NumCompFrames, true, rec, "frame compressed frame",
                           "NumCompFrames");
        }
        return !w_.stopped();
    }

    Walker& w_;
    MdcIndex& x_;
};

#undef H
#undef S

MdcIndex walk(ByteView bytes, Mode mode, Reader reader, Report* report) {
    MdcIndex index;
    Walker w(bytes, mode, reader, report);
    MdcWalk(w, index).run();
    index.refusal = w.refusal();
    return index;
}

}  // namespace

MdcIndex indexMdc(ByteView bytes, Reader reader) { return walk(bytes, Mode::FirstFatal, reader, nullptr); }

MdcIndex indexMdc(ByteView bytes, Report& report) { return walk(bytes, Mode::CollectAll, Reader::Print, &report); }

std::uint16_t mdcBaseFrame(ByteView bytes, const MdcSurfaceIndex& surface, std::uint32_t f) {
    return bytes.read<std::uint16_t>(surface.frameBaseFrame(f));
}

}  // namespace formats
