// The MDM walk: header, the chain of weighted surfaces, then the chain of
// tags with their bone references.
#include "formats/mdm_index.h"

namespace formats {

namespace {

#define H(member) KV_FIELD(MdmHeader, member)
#define T(member) KV_FIELD(MdmTag, member)

bool walkTag(Walker& w, MdmIndex& x, std::int64_t at, std::int32_t i) {
    x.tags.emplace_back();
    MdmTagIndex& tx = x.tags.back();
    tx.at = at;
    const std::string label = strf("tag %d", i);
    tx.name = w.name(at + T(Name).offset, kNameLength, label + " .Name", "tag names");
    const std::string rec = label + " " + quoted(tx.name);
    w.values<MdmTag>(at, rec, "tag values");
    w.claim(at, at + static_cast<std::int64_t>(sizeof(MdmTag)), rec);
    if (!w.charge(sizeof(MdmTag))) return false;
    const auto tag = w.bytes().read<MdmTag>(at);
    if (w.count(Need::Print, tag.NumBoneRefs, rec, T(NumBoneRefs), at))
        tx.boneRefs =
            w.list(Need::Print, at + tag.OffsetBoneRefs, tag.NumBoneRefs, 4, "bone references", rec, T(OffsetBoneRefs), at);
    return !w.stopped();
}

void walkMdm(Walker& w, MdmIndex& x, bool keepVertices) {
    if (!w.header<MdmHeader>(Format::Mdm)) return;
    x.header = w.bytes().read<MdmHeader>(0);
    x.readable = true;
    const MdmHeader& h = x.header;
    const std::int32_t version = formatInfo(Format::Mdm).version;
    if (h.Version != version)
        w.fail(Need::None, Id::Version, Severity::Error, "header .Version", H(Version).offset,
               strf("version %d; the game refuses every version but %d", h.Version, version));
    const bool surfaces = w.count(Need::Walk, h.NumSurfaces, "header", H(NumSurfaces), 0);
    const bool tags = w.count(Need::Walk, h.NumTags, "header", H(NumTags), 0);
    w.endOffset(h.OffsetEnd, H(OffsetEnd));
    if (surfaces && !w.stopped())
        walkWeightedSurfaces(w, h.OffsetSurfaces, h.NumSurfaces, H(OffsetSurfaces),
                             {RecordInfo<MdmVertex>::fields, sizeof(MdmVertex), keepVertices}, x);
    if (tags && !w.stopped())
        x.allTags = w.chain(
            "tag", h.OffsetTags, h.NumTags, sizeof(MdmTag), H(OffsetTags), T(OffsetEnd),
            [&](std::int64_t at, std::int32_t i) { return walkTag(w, x, at, i); },
            [&](std::int32_t i) { return strf("tag %d ", i) + quoted(x.tags.back().name); });
    w.overlaps();
}

#undef H
#undef T

MdmIndex walk(ByteView bytes, Mode mode, Reader reader, Report* report, bool keepVertices) {
    MdmIndex index;
    Walker w(bytes, mode, reader, report);
    walkMdm(w, index, keepVertices);
    index.refusal = w.refusal();
    return index;
}

}  // namespace

MdmIndex indexMdm(ByteView bytes, Reader reader, bool vertexPositions) {
    return walk(bytes, Mode::FirstFatal, reader, nullptr, vertexPositions);
}

MdmIndex indexMdm(ByteView bytes, Report& report) { return walk(bytes, Mode::CollectAll, Reader::Print, &report, true); }

}  // namespace formats
