#include "modelgen/mdx_writer.h"

#include <cstddef>

namespace mg {

MdxImage writeMdx(const MdxModel& m) {
    MdxImage img;
    Bytes& out = img.bytes;
    out.resize(sizeof(formats::MdxHeader));
    const auto at = writeSections(out, m, [&](MdxSection section) {
        if (section == MdxSection::Frames)
            writeFrames(m.frames, m.bones.size(), out);
        else
            writeBones(m.bones, out);
    });
    img.frames = at[MdxSection::Frames];
    img.bones = at[MdxSection::Bones];

    auto h = headerOf<formats::MdxHeader>(m);
    h.NumFrames = static_cast<std::int32_t>(m.frames.size());
    h.NumBones = static_cast<std::int32_t>(m.bones.size());
    h.OffsetFrames = static_cast<std::int32_t>(img.frames);
    h.OffsetBones = static_cast<std::int32_t>(img.bones);
    h.TorsoParent = m.torsoParent;
    h.OffsetEnd = static_cast<std::int32_t>(out.size());
    put(out, 0, h);
    return img;
}

}  // namespace mg
