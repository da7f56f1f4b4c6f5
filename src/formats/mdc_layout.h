// Byte layout of MDC files (compressed vertex-animated models): every
// record with its exact size and field offsets, little-endian, no padding.
// The viewer reads the header, the surface headers and per surface the
// triangles, the first shader name, the texture coordinates, the base
// vertices and the frame table; the structure printer and the checker read
// the rest too (frame bounds, tags, shader entries, compressed vertices).
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/byte_view.h"
#include "formats/fields.h"

namespace formats {

struct MdcHeader {
    char Id[4];
    std::int32_t Version;
    char Name[kNameLength];
    std::int32_t Flags;
    std::int32_t NumFrames;
    std::int32_t NumTags;
    std::int32_t NumSurfaces;
    std::int32_t NumSkins;
    std::int32_t OffsetFrames;
    std::int32_t OffsetTagNames;
    std::int32_t OffsetTagFrames;
    std::int32_t OffsetSurfaces;
    std::int32_t OffsetEnd;
};

struct MdcSurface {
    std::int32_t Id;
    char Name[kNameLength];
    std::int32_t Flags;
    std::int32_t NumCompFrames;
    std::int32_t NumBaseFrames;
    std::int32_t NumShaders;
    std::int32_t NumVertices;
    std::int32_t NumTriangles;
    std::int32_t OffsetTriangles;
    std::int32_t OffsetShaders;
    std::int32_t OffsetTexCoords;
    std::int32_t OffsetBaseVertices;
    std::int32_t OffsetCompVertices;
    std::int32_t OffsetFrameBaseFrames;
    std::int32_t OffsetFrameCompFrames;
    std::int32_t OffsetEnd;
};

// One per model frame, NumFrames back to back at OffsetFrames.
struct MdcFrame {
    float bboxMin[3];
    float bboxMax[3];
    float LocalOrigin[3];
    float Radius;
    char Name[16];
};

// One per tag, NumTags back to back at OffsetTagNames.
struct MdcTagName {
    char Name[kNameLength];
};

// One per tag and frame (frame-major: frame f's tags are together) at
// OffsetTagFrames. Position in units of 1/64, angles in units of
// 360/65536 degrees.
struct MdcTagFrame {
    std::int16_t xyz[3];
    std::int16_t angles[3];
};

// One per shader of a surface at OffsetShaders.
struct MdcShader {
    char Name[kNameLength];
    std::int32_t ShaderIndex;
};

struct MdcTriangle {
    std::int32_t Indices[3];
};

struct MdcTexCoord {
    float u;
    float v;
};

// A vertex of a base frame: position in units of 1/64 and a packed normal.
struct MdcBaseVertex {
    std::int16_t x;
    std::int16_t y;
    std::int16_t z;
    std::uint16_t Normal;
};

// One per vertex and compressed frame at OffsetCompVertices: three 8-bit
// offsets from the base vertex and an 8-bit normal.
using MdcCompVertex = std::uint32_t;

// The field tables (fields.h).
#define KV_FIELDS_MdcHeader(X, T)                                                                          \
    X(T, Id, 0) X(T, Version, 4) X(T, Name, 8) X(T, Flags, 72) X(T, NumFrames, 76) X(T, NumTags, 80)       \
    X(T, NumSurfaces, 84) X(T, NumSkins, 88) X(T, OffsetFrames, 92) X(T, OffsetTagNames, 96)               \
    X(T, OffsetTagFrames, 100) X(T, OffsetSurfaces, 104) X(T, OffsetEnd, 108)
KV_RECORD(MdcHeader, 112)
#define KV_FIELDS_MdcSurface(X, T)                                                                         \
    X(T, Id, 0) X(T, Name, 4) X(T, Flags, 68) X(T, NumCompFrames, 72) X(T, NumBaseFrames, 76)              \
    X(T, NumShaders, 80) X(T, NumVertices, 84) X(T, NumTriangles, 88) X(T, OffsetTriangles, 92)            \
    X(T, OffsetShaders, 96) X(T, OffsetTexCoords, 100) X(T, OffsetBaseVertices, 104)                       \
    X(T, OffsetCompVertices, 108) X(T, OffsetFrameBaseFrames, 112) X(T, OffsetFrameCompFrames, 116)        \
    X(T, OffsetEnd, 120)
KV_RECORD(MdcSurface, 124)
#define KV_FIELDS_MdcFrame(X, T) \
    X(T, bboxMin, 0) X(T, bboxMax, 12) X(T, LocalOrigin, 24) X(T, Radius, 36) X(T, Name, 40)
KV_RECORD(MdcFrame, 56)
#define KV_FIELDS_MdcTagName(X, T) X(T, Name, 0)
KV_RECORD(MdcTagName, 64)
#define KV_FIELDS_MdcTagFrame(X, T) X(T, xyz, 0) X(T, angles, 6)
KV_RECORD(MdcTagFrame, 12)
#define KV_FIELDS_MdcShader(X, T) X(T, Name, 0) X(T, ShaderIndex, 64)
KV_RECORD(MdcShader, 68)
#define KV_FIELDS_MdcTriangle(X, T) X(T, Indices, 0)
KV_RECORD(MdcTriangle, 12)
#define KV_FIELDS_MdcTexCoord(X, T) X(T, u, 0) X(T, v, 4)
KV_RECORD(MdcTexCoord, 8)
#define KV_FIELDS_MdcBaseVertex(X, T) X(T, x, 0) X(T, y, 2) X(T, z, 4) X(T, Normal, 6)
KV_RECORD(MdcBaseVertex, 8)

// Positions of base vertices and tag origins are stored in units of 1/64.
constexpr float kMdcVertexScale = 0.015625f;

}  // namespace formats
