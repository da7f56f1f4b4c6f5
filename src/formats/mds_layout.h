// Byte layout of MDS files (skeletal models): every record with its exact
// size and field offsets, little-endian, no padding. Both programs read MDS
// files through these records and mds_index.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/byte_view.h"
#include "formats/fields.h"
#include "formats/identify.h"

namespace formats {


struct MdsHeader {
    char Id[4];
    std::int32_t Version;
    char Name[kNameLength];
    float LodScale;
    float LodBias;
    std::int32_t NumFrames;
    std::int32_t NumBones;
    std::int32_t OffsetFrames;
    std::int32_t OffsetBones;
    std::int32_t TorsoParent;
    std::int32_t NumSurfaces;
    std::int32_t OffsetSurfaces;
    std::int32_t NumTags;
    std::int32_t OffsetTags;
    std::int32_t OffsetEnd;
};

// Fixed part of a frame record; NumBones CompressedBoneFrame follow it.
struct MdsFrame {
    float bboxMin[3];
    float bboxMax[3];
    float LocalOrigin[3];
    float Radius;
    float ParentOffset[3];
};

struct CompressedBoneFrame {
    std::int16_t Pitch;
    std::int16_t Yaw;
    std::int16_t Roll;
    std::int16_t Zero;
    std::int16_t OffsetPitch;
    std::int16_t OffsetYaw;
};

struct MdsBone {
    char Name[kNameLength];
    std::int32_t ParentIndex;
    float TorsoWeight;
    float ParentDist;
    std::uint32_t Flags;
};

struct MdsTag {
    char Name[kNameLength];
    float TorsoWeight;
    std::int32_t BoneIndex;
};

struct MdsSurface {
    std::int32_t Id;
    char Name[kNameLength];
    char Shader[kNameLength];
    std::int32_t ShaderIndex;
    std::int32_t MinLod;
    std::int32_t OffsetHeader;
    std::int32_t NumVertices;
    std::int32_t OffsetVertices;
    std::int32_t NumTriangles;
    std::int32_t OffsetTriangles;
    std::int32_t OffsetCollapseMap;
    std::int32_t NumBoneRefs;
    std::int32_t OffsetBoneRefs;
    std::int32_t OffsetEnd;
};

// Fixed part of a vertex; NumWeights MdsWeight follow it.
struct MdsVertex {
    float Normal[3];
    float TexCoords[2];
    std::int32_t NumWeights;
    std::int32_t FixedParent;
    float FixedDist;  // read by neither program
};

struct MdsWeight {
    std::int32_t BoneIndex;
    float Weight;
    float xyz[3];
};

struct MdsTriangle {
    std::int32_t Indices[3];
};

// The field tables (fields.h): sizes and every offset as the format gives
// them; the fixture writers fill these same structs, so only these numbers
// would notice two swapped fields.
#define KV_FIELDS_MdsHeader(X, T)                                                                            \
    X(T, Id, 0) X(T, Version, 4) X(T, Name, 8) X(T, LodScale, 72) X(T, LodBias, 76) X(T, NumFrames, 80)      \
    X(T, NumBones, 84) X(T, OffsetFrames, 88) X(T, OffsetBones, 92) X(T, TorsoParent, 96)                    \
    X(T, NumSurfaces, 100) X(T, OffsetSurfaces, 104) X(T, NumTags, 108) X(T, OffsetTags, 112)               \
    X(T, OffsetEnd, 116)
KV_RECORD(MdsHeader, 120)
#define KV_FIELDS_MdsFrame(X, T) \
    X(T, bboxMin, 0) X(T, bboxMax, 12) X(T, LocalOrigin, 24) X(T, Radius, 36) X(T, ParentOffset, 40)
KV_RECORD(MdsFrame, 52)
#define KV_FIELDS_CompressedBoneFrame(X, T) \
    X(T, Pitch, 0) X(T, Yaw, 2) X(T, Roll, 4) X(T, Zero, 6) X(T, OffsetPitch, 8) X(T, OffsetYaw, 10)
KV_RECORD(CompressedBoneFrame, 12)
#define KV_FIELDS_MdsBone(X, T) \
    X(T, Name, 0) X(T, ParentIndex, 64) X(T, TorsoWeight, 68) X(T, ParentDist, 72) X(T, Flags, 76)
KV_RECORD(MdsBone, 80)
#define KV_FIELDS_MdsTag(X, T) X(T, Name, 0) X(T, TorsoWeight, 64) X(T, BoneIndex, 68)
KV_RECORD(MdsTag, 72)
#define KV_FIELDS_MdsSurface(X, T)                                                                           \
    X(T, Id, 0) X(T, Name, 4) X(T, Shader, 68) X(T, ShaderIndex, 132) X(T, MinLod, 136)                     \
    X(T, OffsetHeader, 140) X(T, NumVertices, 144) X(T, OffsetVertices, 148) X(T, NumTriangles, 152)        \
    X(T, OffsetTriangles, 156) X(T, OffsetCollapseMap, 160) X(T, NumBoneRefs, 164) X(T, OffsetBoneRefs, 168) \
    X(T, OffsetEnd, 172)
KV_RECORD(MdsSurface, 176)
#define KV_FIELDS_MdsVertex(X, T) \
    X(T, Normal, 0) X(T, TexCoords, 12) X(T, NumWeights, 20) X(T, FixedParent, 24) X(T, FixedDist, 28)
KV_RECORD(MdsVertex, 32)
#define KV_FIELDS_MdsWeight(X, T) X(T, BoneIndex, 0) X(T, Weight, 4) X(T, xyz, 8)
KV_RECORD(MdsWeight, 20)
#define KV_FIELDS_MdsTriangle(X, T) X(T, Indices, 0)
KV_RECORD(MdsTriangle, 12)

// Size of frame record k's stride for a model of numBones bones.
constexpr std::int64_t mdsFrameSize(std::int64_t numBones) {
    return static_cast<std::int64_t>(sizeof(MdsFrame)) +
           numBones * static_cast<std::int64_t>(sizeof(CompressedBoneFrame));
}
constexpr std::int64_t mdsVertexSize(std::int64_t numWeights) {
    return static_cast<std::int64_t>(sizeof(MdsVertex)) + numWeights * static_cast<std::int64_t>(sizeof(MdsWeight));
}

}  // namespace formats
