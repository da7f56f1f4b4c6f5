// Writes MDX files (the sibling game's skeletons and animations, "MDXW"
// version 2) from plain descriptions: MDS's bones and frames (skeletal.h),
// one compressed record per bone in every frame. Section order and gaps
// work as in mds_writer.h; damage is done afterwards with mg::put.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/mdx_layout.h"
#include "modelgen/bytes.h"
#include "modelgen/skeletal.h"

namespace mg {

using MdxBoneDesc = MdsBoneDesc;
using MdxFrameDesc = MdsFrameDesc;

enum class MdxSection { Frames = 0, Bones = 1 };

struct MdxModel {
    std::array<char, 4> ident{'M', 'D', 'X', 'W'};
    std::int32_t version = 2;
    std::string name;
    std::int32_t torsoParent = 0;
    std::vector<MdxBoneDesc> bones;
    std::vector<MdxFrameDesc> frames;  // each with one record per bone
    // Sections in file order after the header, and the filler bytes written
    // before each (indexed by MdxSection).
    std::array<MdxSection, 2> order{MdxSection::Frames, MdxSection::Bones};
    std::array<std::uint32_t, 2> gapBefore{};
    std::uint32_t gapAtEnd = 0;
};

// Frame k lies at frames + k x formats::mdsFrameSize(bones.size()).
struct MdxImage {
    Bytes bytes;
    std::int64_t frames = 0, bones = 0;
};

MdxImage writeMdx(const MdxModel& model);

}  // namespace mg
