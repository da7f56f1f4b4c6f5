#include "modelgen/mdm_writer.h"

#include <cstddef>

namespace mg {

namespace {

MdmImage::Tag writeTag(const MdmTagDesc& t, Bytes& out) {
    MdmImage::Tag at;
    at.at = static_cast<std::int64_t>(out.size());
    out.resize(out.size() + sizeof(formats::MdmTag));
    at.boneRefs = static_cast<std::int64_t>(out.size());
    for (auto r : t.boneRefs) append(out, r);
    appendGap(out, t.gapAfter);
    at.end = static_cast<std::int64_t>(out.size());

    formats::MdmTag r{};
    writeName(r.Name, t.name);
    for (std::size_t c = 0; c < 9; ++c) r.Axis[c] = t.axis[c];
    r.BoneIndex = t.boneIndex;
    for (std::size_t c = 0; c < 3; ++c) r.Offset[c] = t.offset[c];
    r.NumBoneRefs = static_cast<std::int32_t>(t.boneRefs.size());
    r.OffsetBoneRefs = rel(at.boneRefs, at.at);
    r.OffsetEnd = t.offsetEnd.value_or(rel(at.end, at.at));
    put(out, at.at, r);
    return at;
}

}  // namespace

MdmImage writeMdm(const MdmModel& m) {
    MdmImage img;
    Bytes& out = img.bytes;
    out.resize(sizeof(formats::MdmHeader));
    const auto at = writeSections(out, m, [&](MdmSection section) {
        if (section == MdmSection::Surfaces)
            for (const auto& s : m.surfaces) img.surfaces.push_back(writeSurface(s, out));
        else
            for (const auto& t : m.tags) img.tags.push_back(writeTag(t, out));
    });
    img.surfacesStart = at[MdmSection::Surfaces];
    img.tagsStart = at[MdmSection::Tags];

    auto h = headerOf<formats::MdmHeader>(m);
    h.LodScale = m.lodScale;
    h.LodBias = m.lodBias;
    h.NumSurfaces = static_cast<std::int32_t>(m.surfaces.size());
    h.OffsetSurfaces = static_cast<std::int32_t>(img.surfacesStart);
    h.NumTags = static_cast<std::int32_t>(m.tags.size());
    h.OffsetTags = static_cast<std::int32_t>(img.tagsStart);
    h.OffsetEnd = static_cast<std::int32_t>(out.size());
    put(out, 0, h);
    return img;
}

}  // namespace mg
