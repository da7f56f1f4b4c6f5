// Byte layout of MDS files (skeletal models): every record with its exact
// size and field offsets, little-endian, no padding. Both programs read MDS
// files through these records and mds_resolve.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/byte_view.h"

namespace formats {

constexpr std::int32_t kMdsIdent = 0x5753444D;  // "MDSW"
constexpr std::int32_t kMdsVersion = 4;

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

static_assert(sizeof(MdsHeader) == 120);
static_assert(sizeof(MdsFrame) == 52);
static_assert(sizeof(CompressedBoneFrame) == 12);
static_assert(sizeof(MdsBone) == 80);
static_assert(sizeof(MdsTag) == 72);
static_assert(sizeof(MdsSurface) == 176);
static_assert(sizeof(MdsVertex) == 32);
static_assert(sizeof(MdsWeight) == 20);
static_assert(sizeof(MdsTriangle) == 12);

// Every field at the offset the format gives it: the fixture writers fill
// these same structs, so only these numbers would notice two swapped fields.
static_assert(offsetof(MdsHeader, Id) == 0);
static_assert(offsetof(MdsHeader, Version) == 4);
static_assert(offsetof(MdsHeader, Name) == 8);
static_assert(offsetof(MdsHeader, LodScale) == 72);
static_assert(offsetof(MdsHeader, LodBias) == 76);
static_assert(offsetof(MdsHeader, NumFrames) == 80);
static_assert(offsetof(MdsHeader, NumBones) == 84);
static_assert(offsetof(MdsHeader, OffsetFrames) == 88);
static_assert(offsetof(MdsHeader, OffsetBones) == 92);
static_assert(offsetof(MdsHeader, TorsoParent) == 96);
static_assert(offsetof(MdsHeader, NumSurfaces) == 100);
static_assert(offsetof(MdsHeader, OffsetSurfaces) == 104);
static_assert(offsetof(MdsHeader, NumTags) == 108);
static_assert(offsetof(MdsHeader, OffsetTags) == 112);
static_assert(offsetof(MdsHeader, OffsetEnd) == 116);
static_assert(offsetof(MdsFrame, bboxMin) == 0);
static_assert(offsetof(MdsFrame, bboxMax) == 12);
static_assert(offsetof(MdsFrame, LocalOrigin) == 24);
static_assert(offsetof(MdsFrame, Radius) == 36);
static_assert(offsetof(MdsFrame, ParentOffset) == 40);
static_assert(offsetof(CompressedBoneFrame, Pitch) == 0);
static_assert(offsetof(CompressedBoneFrame, Yaw) == 2);
static_assert(offsetof(CompressedBoneFrame, Roll) == 4);
static_assert(offsetof(CompressedBoneFrame, Zero) == 6);
static_assert(offsetof(CompressedBoneFrame, OffsetPitch) == 8);
static_assert(offsetof(CompressedBoneFrame, OffsetYaw) == 10);
static_assert(offsetof(MdsBone, Name) == 0);
static_assert(offsetof(MdsBone, ParentIndex) == 64);
static_assert(offsetof(MdsBone, TorsoWeight) == 68);
static_assert(offsetof(MdsBone, ParentDist) == 72);
static_assert(offsetof(MdsBone, Flags) == 76);
static_assert(offsetof(MdsTag, Name) == 0);
static_assert(offsetof(MdsTag, TorsoWeight) == 64);
static_assert(offsetof(MdsTag, BoneIndex) == 68);
static_assert(offsetof(MdsSurface, Id) == 0);
static_assert(offsetof(MdsSurface, Name) == 4);
static_assert(offsetof(MdsSurface, Shader) == 68);
static_assert(offsetof(MdsSurface, ShaderIndex) == 132);
static_assert(offsetof(MdsSurface, MinLod) == 136);
static_assert(offsetof(MdsSurface, OffsetHeader) == 140);
static_assert(offsetof(MdsSurface, NumVertices) == 144);
static_assert(offsetof(MdsSurface, OffsetVertices) == 148);
static_assert(offsetof(MdsSurface, NumTriangles) == 152);
static_assert(offsetof(MdsSurface, OffsetTriangles) == 156);
static_assert(offsetof(MdsSurface, OffsetCollapseMap) == 160);
static_assert(offsetof(MdsSurface, NumBoneRefs) == 164);
static_assert(offsetof(MdsSurface, OffsetBoneRefs) == 168);
static_assert(offsetof(MdsSurface, OffsetEnd) == 172);
static_assert(offsetof(MdsVertex, Normal) == 0);
static_assert(offsetof(MdsVertex, TexCoords) == 12);
static_assert(offsetof(MdsVertex, NumWeights) == 20);
static_assert(offsetof(MdsVertex, FixedParent) == 24);
static_assert(offsetof(MdsVertex, FixedDist) == 28);
static_assert(offsetof(MdsWeight, BoneIndex) == 0);
static_assert(offsetof(MdsWeight, Weight) == 4);
static_assert(offsetof(MdsWeight, xyz) == 8);

// Size of frame record k's stride for a model of numBones bones.
constexpr std::int64_t mdsFrameSize(std::int64_t numBones) {
    return static_cast<std::int64_t>(sizeof(MdsFrame)) +
           numBones * static_cast<std::int64_t>(sizeof(CompressedBoneFrame));
}
constexpr std::int64_t mdsVertexSize(std::int64_t numWeights) {
    return static_cast<std::int64_t>(sizeof(MdsVertex)) + numWeights * static_cast<std::int64_t>(sizeof(MdsWeight));
}

// True for a block of at least 120 bytes starting with "MDSW".
bool isMds(ByteView bytes);

}  // namespace formats
