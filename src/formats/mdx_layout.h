// Byte layout of MDX files (the sibling game's skeletons and animations,
// "MDXW" version 2): MDS's skeleton without the surfaces, which an MDM file
// holds. Frames (MdsFrame and one CompressedBoneFrame per bone) and bones
// (MdsBone) are MDS's records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/byte_view.h"
#include "formats/fields.h"
#include "formats/mds_layout.h"

namespace formats {

struct MdxHeader {
    char Id[4];
    std::int32_t Version;
    char Name[kNameLength];
    std::int32_t NumFrames;
    std::int32_t NumBones;
    std::int32_t OffsetFrames;
    std::int32_t OffsetBones;
    std::int32_t TorsoParent;
    std::int32_t OffsetEnd;
};

using MdxFrame = MdsFrame;
using MdxBoneFrame = CompressedBoneFrame;
using MdxBone = MdsBone;

#define KV_FIELDS_MdxHeader(X, T)                                                                           \
    X(T, Id, 0) X(T, Version, 4) X(T, Name, 8) X(T, NumFrames, 72) X(T, NumBones, 76) X(T, OffsetFrames, 80) \
    X(T, OffsetBones, 84) X(T, TorsoParent, 88) X(T, OffsetEnd, 92)
KV_RECORD(MdxHeader, 96)

}  // namespace formats
