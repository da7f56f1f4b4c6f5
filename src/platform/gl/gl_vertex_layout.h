// Byte layout of a vertex in a flexible vertex format: position, optional
// normal, diffuse colour, specular colour, then 2D texture coordinates.
#pragma once

#include "platform/d3d8/d3d8.h"

struct GlVertexLayout {
    bool valid = false;
    UINT size = 0;       // bytes of one vertex
    INT diffuse = -1;    // byte offset, or -1 when absent
    INT texCoord = -1;   // byte offset of the first set, or -1
};

inline GlVertexLayout glVertexLayout(DWORD fvf) {
    constexpr DWORD kNormal = 0x010;
    constexpr DWORD kSpecular = 0x080;
    constexpr DWORD kPositionMask = 0x00E;
    constexpr DWORD kTexCountMask = 0xF00;
    constexpr DWORD kKnown = kPositionMask | kNormal | D3DFVF_DIFFUSE | kSpecular | kTexCountMask;
    GlVertexLayout layout;
    const DWORD texSets = (fvf & kTexCountMask) >> 8;
    if ((fvf & kPositionMask) != D3DFVF_XYZ || (fvf & ~kKnown) != 0 || texSets > 8) {
        return layout;
    }
    layout.valid = true;
    layout.size = 12;
    if ((fvf & kNormal) != 0) {
        layout.size += 12;
    }
    if ((fvf & D3DFVF_DIFFUSE) != 0) {
        layout.diffuse = static_cast<INT>(layout.size);
        layout.size += 4;
    }
    if ((fvf & kSpecular) != 0) {
        layout.size += 4;
    }
    if (texSets != 0) {
        layout.texCoord = static_cast<INT>(layout.size);
        layout.size += 8 * texSets;
    }
    return layout;
}
