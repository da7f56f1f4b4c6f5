// Byte layout of MDM files (the sibling game's skeletal meshes, "MDMW"
// version 3): MDS's surfaces without the skeleton, which an MDX file holds.
// A surface header is MDS's record field for field; a vertex lacks MDS's
// FixedParent and FixedDist; weights are MDS's, their bone indices index
// the MDX file's bones. Tags hang on one bone each.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/byte_view.h"
#include "formats/fields.h"
#include "formats/mds_layout.h"

namespace formats {

struct MdmHeader {
    char Id[4];
    std::int32_t Version;
    char Name[kNameLength];
    float LodScale;
    float LodBias;
    std::int32_t NumSurfaces;
    std::int32_t OffsetSurfaces;
    std::int32_t NumTags;
    std::int32_t OffsetTags;
    std::int32_t OffsetEnd;
};

// Fixed part of a vertex; NumWeights MdsWeight follow it.
struct MdmVertex {
    float Normal[3];
    float TexCoords[2];
    std::int32_t NumWeights;
};

// A tag: an axis and offset relative to one bone; the next tag is
// OffsetEnd bytes further on.
struct MdmTag {
    char Name[kNameLength];
    float Axis[9];
    std::int32_t BoneIndex;
    float Offset[3];
    std::int32_t NumBoneRefs;
    std::int32_t OffsetBoneRefs;  // from the tag's start
    std::int32_t OffsetEnd;
};

using MdmSurface = MdsSurface;
using MdmWeight = MdsWeight;
using MdmTriangle = MdsTriangle;

#define KV_FIELDS_MdmHeader(X, T)                                                                           \
    X(T, Id, 0) X(T, Version, 4) X(T, Name, 8) X(T, LodScale, 72) X(T, LodBias, 76) X(T, NumSurfaces, 80)   \
    X(T, OffsetSurfaces, 84) X(T, NumTags, 88) X(T, OffsetTags, 92) X(T, OffsetEnd, 96)
KV_RECORD(MdmHeader, 100)
#define KV_FIELDS_MdmVertex(X, T) X(T, Normal, 0) X(T, TexCoords, 12) X(T, NumWeights, 20)
KV_RECORD(MdmVertex, 24)
#define KV_FIELDS_MdmTag(X, T)                                                                              \
    X(T, Name, 0) X(T, Axis, 64) X(T, BoneIndex, 100) X(T, Offset, 104) X(T, NumBoneRefs, 116)             \
    X(T, OffsetBoneRefs, 120) X(T, OffsetEnd, 124)
KV_RECORD(MdmTag, 128)

}  // namespace formats
