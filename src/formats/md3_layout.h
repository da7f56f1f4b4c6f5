// Byte layout of MD3 files (vertex-animated models, "IDP3" version 15):
// the sibling game's heads, helmets, backpacks, weapons and props, and many
// of RTCW's weapons and props. MDC is MD3 with compressed frames: frames,
// shaders, triangles and texture coordinates are MDC's records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/byte_view.h"
#include "formats/fields.h"
#include "formats/mdc_layout.h"

namespace formats {

struct Md3Header {
    char Id[4];
    std::int32_t Version;
    char Name[kNameLength];
    std::int32_t Flags;
    std::int32_t NumFrames;
    std::int32_t NumTags;
    std::int32_t NumSurfaces;
    std::int32_t NumSkins;
    std::int32_t OffsetFrames;
    std::int32_t OffsetTags;
    std::int32_t OffsetSurfaces;
    std::int32_t OffsetEnd;
};

// Tag t of frame f at OffsetTags + (f x NumTags + t) x 112.
struct Md3Tag {
    char Name[kNameLength];
    float Origin[3];
    float Axis[9];  // three rows: forward, left, up
};

struct Md3Surface {
    std::int32_t Id;
    char Name[kNameLength];
    std::int32_t Flags;
    std::int32_t NumFrames;
    std::int32_t NumShaders;
    std::int32_t NumVertices;
    std::int32_t NumTriangles;
    std::int32_t OffsetTriangles;
    std::int32_t OffsetShaders;
    std::int32_t OffsetTexCoords;
    std::int32_t OffsetXyzNormals;
    std::int32_t OffsetEnd;
};

// Vertex k of frame f at OffsetXyzNormals + (f x NumVertices + k) x 8:
// position in units of 1/64 and a normal packed as latitude (high byte)
// and longitude (low byte), each in steps of 2 pi / 256.
struct Md3XyzNormal {
    std::int16_t xyz[3];
    std::uint16_t Normal;
};

// Frames (MdcFrame), shaders (MdcShader), triangles (MdcTriangle) and
// texture coordinates (MdcTexCoord) are MDC's records.
using Md3Frame = MdcFrame;
using Md3Shader = MdcShader;
using Md3Triangle = MdcTriangle;
using Md3TexCoord = MdcTexCoord;

#define KV_FIELDS_Md3Header(X, T)                                                                          \
    X(T, Id, 0) X(T, Version, 4) X(T, Name, 8) X(T, Flags, 72) X(T, NumFrames, 76) X(T, NumTags, 80)       \
    X(T, NumSurfaces, 84) X(T, NumSkins, 88) X(T, OffsetFrames, 92) X(T, OffsetTags, 96)                   \
    X(T, OffsetSurfaces, 100) X(T, OffsetEnd, 104)
KV_RECORD(Md3Header, 108)
#define KV_FIELDS_Md3Tag(X, T) X(T, Name, 0) X(T, Origin, 64) X(T, Axis, 76)
KV_RECORD(Md3Tag, 112)
#define KV_FIELDS_Md3Surface(X, T)                                                                         \
    X(T, Id, 0) X(T, Name, 4) X(T, Flags, 68) X(T, NumFrames, 72) X(T, NumShaders, 76)                     \
    X(T, NumVertices, 80) X(T, NumTriangles, 84) X(T, OffsetTriangles, 88) X(T, OffsetShaders, 92)         \
    X(T, OffsetTexCoords, 96) X(T, OffsetXyzNormals, 100) X(T, OffsetEnd, 104)
KV_RECORD(Md3Surface, 108)
#define KV_FIELDS_Md3XyzNormal(X, T) X(T, xyz, 0) X(T, Normal, 6)
KV_RECORD(Md3XyzNormal, 8)

// Positions are stored in units of 1/64, as in MDC.
constexpr float kMd3VertexScale = kMdcVertexScale;

}  // namespace formats
