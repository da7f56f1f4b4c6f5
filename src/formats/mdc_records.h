// The MDC records that the viewer skips but the file still holds: frame
// bounds, tag names, tag frames, shader entries and compressed vertices.
// The structure printer and the checker read them; the viewer does not.
// Their positions come from the header and surface fields that
// mdc_layout.h names `unused...`.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/byte_view.h"
#include "formats/mdc_layout.h"

namespace formats {

// One per model frame, NumFrames back to back at the header's frame offset.
struct MdcFrame {
    float bboxMin[3];
    float bboxMax[3];
    float LocalOrigin[3];
    float Radius;
    char Name[16];
};

// One per tag, NumTags back to back at the header's tag-name offset.
struct MdcTagName {
    char Name[kNameLength];
};

// One per tag and frame (frame-major: frame f's tags are together) at the
// header's tag-frame offset. Position in units of 1/64, angles in units of
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

// One per vertex and compressed frame at the surface's compressed-vertex
// offset: three 8-bit offsets from the base vertex and an 8-bit normal.
using MdcCompVertex = std::uint32_t;

static_assert(sizeof(MdcFrame) == 56);
static_assert(sizeof(MdcTagName) == 64);
static_assert(sizeof(MdcTagFrame) == 12);
static_assert(sizeof(MdcShader) == 68);
static_assert(offsetof(MdcFrame, bboxMin) == 0);
static_assert(offsetof(MdcFrame, bboxMax) == 12);
static_assert(offsetof(MdcFrame, LocalOrigin) == 24);
static_assert(offsetof(MdcFrame, Radius) == 36);
static_assert(offsetof(MdcFrame, Name) == 40);
static_assert(offsetof(MdcTagFrame, xyz) == 0);
static_assert(offsetof(MdcTagFrame, angles) == 6);
static_assert(offsetof(MdcShader, Name) == 0);
static_assert(offsetof(MdcShader, ShaderIndex) == 64);

}  // namespace formats
