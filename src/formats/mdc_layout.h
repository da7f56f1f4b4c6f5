// Byte layout of MDC files (compressed vertex-animated models): the records
// the viewer reads, with exact sizes and offsets; fields nobody reads are
// named `unused...` so a reader skips them exactly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/byte_view.h"

namespace formats {

constexpr std::int32_t kMdcIdent = 0x43504449;  // "IDPC"

struct MdcHeader {
    char Id[4];
    std::int32_t unusedVersion;
    char Name[kNameLength];
    std::int32_t unusedFlags;
    std::int32_t NumFrames;
    std::int32_t unusedNumTags;
    std::int32_t NumSurfaces;
    std::int32_t unusedNumSkins;
    std::int32_t unusedOffsetFrames;
    std::int32_t unusedOffsetTagNames;
    std::int32_t unusedOffsetTagFrames;
    std::int32_t OffsetSurfaces;
    std::int32_t unusedOffsetEnd;
};

struct MdcSurface {
    std::int32_t unusedId;
    char Name[kNameLength];
    std::int32_t unusedFlags;
    std::int32_t unusedNumCompFrames;
    std::int32_t unusedNumBaseFrames;
    std::int32_t unusedNumShaders;
    std::int32_t NumVertices;
    std::int32_t NumTriangles;
    std::int32_t OffsetTriangles;
    std::int32_t OffsetShaders;
    std::int32_t OffsetTexCoords;
    std::int32_t OffsetBaseVertices;
    std::int32_t unusedOffsetCompVertices;
    std::int32_t OffsetFrameBaseFrames;
    std::int32_t unusedOffsetFrameCompFrames;
    std::int32_t OffsetEnd;
};

struct MdcTriangle {
    std::int32_t Indices[3];
};

struct MdcTexCoord {
    float u;
    float v;
};

struct MdcBaseVertex {
    std::int16_t x;
    std::int16_t y;
    std::int16_t z;
    std::uint16_t unusedNormal;
};

static_assert(sizeof(MdcHeader) == 112);
static_assert(sizeof(MdcSurface) == 124);
static_assert(sizeof(MdcTriangle) == 12);
static_assert(sizeof(MdcTexCoord) == 8);
static_assert(sizeof(MdcBaseVertex) == 8);
// Every field at the offset the format gives it (see mds_layout.h).
static_assert(offsetof(MdcHeader, Id) == 0);
static_assert(offsetof(MdcHeader, unusedVersion) == 4);
static_assert(offsetof(MdcHeader, Name) == 8);
static_assert(offsetof(MdcHeader, unusedFlags) == 72);
static_assert(offsetof(MdcHeader, NumFrames) == 76);
static_assert(offsetof(MdcHeader, unusedNumTags) == 80);
static_assert(offsetof(MdcHeader, NumSurfaces) == 84);
static_assert(offsetof(MdcHeader, unusedNumSkins) == 88);
static_assert(offsetof(MdcHeader, unusedOffsetFrames) == 92);
static_assert(offsetof(MdcHeader, unusedOffsetTagNames) == 96);
static_assert(offsetof(MdcHeader, unusedOffsetTagFrames) == 100);
static_assert(offsetof(MdcHeader, OffsetSurfaces) == 104);
static_assert(offsetof(MdcHeader, unusedOffsetEnd) == 108);
static_assert(offsetof(MdcSurface, unusedId) == 0);
static_assert(offsetof(MdcSurface, Name) == 4);
static_assert(offsetof(MdcSurface, unusedFlags) == 68);
static_assert(offsetof(MdcSurface, unusedNumCompFrames) == 72);
static_assert(offsetof(MdcSurface, unusedNumBaseFrames) == 76);
static_assert(offsetof(MdcSurface, unusedNumShaders) == 80);
static_assert(offsetof(MdcSurface, NumVertices) == 84);
static_assert(offsetof(MdcSurface, NumTriangles) == 88);
static_assert(offsetof(MdcSurface, OffsetTriangles) == 92);
static_assert(offsetof(MdcSurface, OffsetShaders) == 96);
static_assert(offsetof(MdcSurface, OffsetTexCoords) == 100);
static_assert(offsetof(MdcSurface, OffsetBaseVertices) == 104);
static_assert(offsetof(MdcSurface, unusedOffsetCompVertices) == 108);
static_assert(offsetof(MdcSurface, OffsetFrameBaseFrames) == 112);
static_assert(offsetof(MdcSurface, unusedOffsetFrameCompFrames) == 116);
static_assert(offsetof(MdcSurface, OffsetEnd) == 120);
static_assert(offsetof(MdcTexCoord, u) == 0);
static_assert(offsetof(MdcTexCoord, v) == 4);
static_assert(offsetof(MdcBaseVertex, x) == 0);
static_assert(offsetof(MdcBaseVertex, y) == 2);
static_assert(offsetof(MdcBaseVertex, z) == 4);
static_assert(offsetof(MdcBaseVertex, unusedNormal) == 6);

constexpr float kMdcVertexScale = 0.015625f;  // 1/64

}  // namespace formats
