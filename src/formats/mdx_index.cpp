// The MDX walk: header, then the skeleton (bones, frames).
#include "formats/mdx_index.h"

namespace formats {

namespace {

#define H(member) KV_FIELD(MdxHeader, member)

void walkMdx(Walker& w, MdxIndex& x) {
    if (!w.header<MdxHeader>(Format::Mdx)) return;
    x.header = w.bytes().read<MdxHeader>(0);
    x.readable = true;
    const MdxHeader& h = x.header;
    const std::int32_t version = formatInfo(Format::Mdx).version;
    if (h.Version != version)
        w.fail(Need::None, Id::Version, Severity::Error, "header .Version", H(Version).offset,
               strf("version %d; the game refuses every version but %d", h.Version, version));
    const bool frames = w.count(Need::Walk, h.NumFrames, "header", H(NumFrames), 0);
    const bool bones = w.count(Need::Walk, h.NumBones, "header", H(NumBones), 0);
    w.endOffset(h.OffsetEnd, H(OffsetEnd));
    if (w.stopped() || !bones) return;
    walkSkeleton(w, {frames ? h.NumFrames : 0, h.NumBones, h.OffsetFrames, h.OffsetBones, H(OffsetFrames), H(OffsetBones)},
                 x);
    w.overlaps();
}

#undef H

MdxIndex walk(ByteView bytes, Mode mode, Reader reader, Report* report) {
    MdxIndex index;
    Walker w(bytes, mode, reader, report);
    walkMdx(w, index);
    index.refusal = w.refusal();
    return index;
}

}  // namespace

MdxIndex indexMdx(ByteView bytes, Reader reader) { return walk(bytes, Mode::FirstFatal, reader, nullptr); }

MdxIndex indexMdx(ByteView bytes, Report& report) { return walk(bytes, Mode::CollectAll, Reader::Print, &report); }

}  // namespace formats
