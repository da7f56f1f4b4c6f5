// The one vertex layout of the viewer's models and lines: position, ARGB
// diffuse colour, texture coordinates (flexible vertex format 0x142).
#pragma once

#include <cstdint>

#include "platform/d3d8/d3d8.h"

struct ModelVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
static_assert(sizeof(ModelVertex) == 24);

constexpr DWORD kModelVertexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;  // 0x142
constexpr UINT kModelVertexStride = sizeof(ModelVertex);

// Surface k's colour: alpha 255, red (50 k) mod 256, green 255, blue 0.
constexpr D3DCOLOR surfaceColor(std::uint32_t k) {
    return 0xFF00FF00u | (((50u * k) & 0xFFu) << 16);
}
