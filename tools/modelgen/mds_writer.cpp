#include "modelgen/mds_writer.h"

#include <cstddef>

namespace mg {

namespace {

void writeTags(const MdsModel& m, Bytes& out) {
    for (const auto& t : m.tags) {
        formats::MdsTag r{};
        writeName(r.Name, t.name);
        r.TorsoWeight = t.torsoWeight;
        r.BoneIndex = t.boneIndex;
        append(out, r);
    }
}

}  // namespace

MdsImage writeMds(const MdsModel& m) {
    MdsImage img;
    Bytes& out = img.bytes;
    out.resize(sizeof(formats::MdsHeader));
    const auto at = writeSections(out, m, [&](MdsSection section) {
        switch (section) {
            case MdsSection::Frames: writeFrames(m.frames, m.bones.size(), out); break;
            case MdsSection::Bones: writeBones(m.bones, out); break;
            case MdsSection::Tags: writeTags(m, out); break;
            case MdsSection::Surfaces:
                for (const auto& s : m.surfaces) img.surfaces.push_back(writeSurface(s, out));
                break;
        }
    });
    img.frames = at[MdsSection::Frames];
    img.bones = at[MdsSection::Bones];
    img.tags = at[MdsSection::Tags];
    img.surfacesStart = at[MdsSection::Surfaces];

    auto h = headerOf<formats::MdsHeader>(m);
    h.LodScale = m.lodScale;
    h.LodBias = m.lodBias;
    h.NumFrames = static_cast<std::int32_t>(m.frames.size());
    h.NumBones = static_cast<std::int32_t>(m.bones.size());
    h.OffsetFrames = static_cast<std::int32_t>(img.frames);
    h.OffsetBones = static_cast<std::int32_t>(img.bones);
    h.TorsoParent = m.torsoParent;
    h.NumSurfaces = static_cast<std::int32_t>(m.surfaces.size());
    h.OffsetSurfaces = static_cast<std::int32_t>(img.surfacesStart);
    h.NumTags = static_cast<std::int32_t>(m.tags.size());
    h.OffsetTags = static_cast<std::int32_t>(img.tags);
    h.OffsetEnd = static_cast<std::int32_t>(out.size());
    put(out, 0, h);
    return img;
}

}  // namespace mg
