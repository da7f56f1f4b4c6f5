// The MDS walk: header, skeleton (bones, frames), tags, then the chain of
// weighted surfaces.
#include "formats/mds_index.h"

#include <cstddef>

namespace formats {

namespace {

#define H(member) KV_FIELD(MdsHeader, member)

void walkMds(Walker& w, MdsIndex& x, bool keepVertices) {
    if (!w.header<MdsHeader>(Format::Mds)) return;
    x.header = w.bytes().read<MdsHeader>(0);
    x.readable = true;
    const MdsHeader& h = x.header;
    if (h.Version != kMdsVersion)
        w.fail(Need::None, Id::Version, "header .Version", H(Version).offset,
               strf("version %d; the browser and the game read version %d", h.Version, kMdsVersion));
    const bool frames = w.count(Need::Walk, h.NumFrames, "header", H(NumFrames), 0);
    const bool bones = w.count(Need::Walk, h.NumBones, "header", H(NumBones), 0);
    const bool surfaces = w.count(Need::Walk, h.NumSurfaces, "header", H(NumSurfaces), 0);
    const bool tags = w.count(Need::Walk, h.NumTags, "header", H(NumTags), 0);
    w.endOffset(h.OffsetEnd, H(OffsetEnd));
    if (w.stopped() || !bones) return;
    walkSkeleton(w, {frames ? h.NumFrames : 0, h.NumBones, h.OffsetFrames, h.OffsetBones, H(OffsetFrames), H(OffsetBones)},
                 x);
    if (tags && !w.stopped()) {
        x.tags = w.list(Need::Print, h.OffsetTags, h.NumTags, sizeof(MdsTag), "tags", "header", H(OffsetTags), 0);
        if (x.tags.inside && w.collecting())
            for (std::int64_t i = 0; i < x.tags.count; ++i) {
                const std::string label = strf("tag %lld", static_cast<long long>(i));
                const std::string name = w.name(x.tag(i), kNameLength, label + " .Name", "tag names");
                w.values<MdsTag>(x.tag(i), label + " " + quoted(name), "tag values");
            }
    }
    if (surfaces && !w.stopped())
        walkWeightedSurfaces(w, h.OffsetSurfaces, h.NumSurfaces, H(OffsetSurfaces),
                             {RecordInfo<MdsVertex>::fields, sizeof(MdsVertex), keepVertices}, x);
    w.overlaps();
}

#undef H

MdsIndex walk(ByteView bytes, Mode mode, Reader reader, Report* report, bool keepVertices) {
    MdsIndex index;
    Walker w(bytes, mode, reader, report);
    walkMds(w, index, keepVertices);
    index.refusal = w.refusal();
    return index;
}

}  // namespace

MdsIndex indexMds(ByteView bytes, Reader reader, bool vertexPositions) {
    return walk(bytes, Mode::FirstFatal, reader, nullptr, vertexPositions);
}

MdsIndex indexMds(ByteView bytes, Report& report) { return walk(bytes, Mode::CollectAll, Reader::Print, &report, true); }

}  // namespace formats
