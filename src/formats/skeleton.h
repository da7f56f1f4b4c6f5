// Evaluating a skeleton frame: each bone's compressed angles become a turn
// and a position, in the file's own axes (x forward, y left, z up), with no
// graphics types. The viewer turns the result into its drawing axes; the
// demo generator checks its encoding against it; export and other skeleton
// formats use it as it is.
//
// Every angle is absolute, in model axes: a parent's turn does not carry
// its children. A bone's position is its parent's plus ParentDist along the
// direction given by OffsetPitch and OffsetYaw; a root starts from the
// frame's ParentOffset. A parent must come before its child; any other
// parent index makes the bone a root.
//
// The products are taken in a fixed order of float32 operations, so the
// same records always give the same bits on every machine.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "formats/byte_view.h"
#include "formats/mds_index.h"
#include "formats/mds_layout.h"

namespace formats {

// A point p given relative to the bone lies at turn · p + origin, where
// (turn · p)_i = sum over j of turn[i][j] · p_j.
struct BonePose3 {
    float turn[3][3];
    float origin[3];
    // The turn that carries the direction from the parent (along local x)
    // to this bone.
    float offsetTurn[3][3];
};

struct SkeletonBone {
    std::int32_t parent;  // -1 for a root
    float parentDist;
};

// Radians per stored angle unit: the float32 nearest to pi / 32768.
float angleUnit();

// A turn and a point of the file's axes in the viewer's drawing axes
// (-y, z, x), the turn as a matrix for row vectors (p' = p · m). Entries
// only move and change sign.
void drawingTurn(const float (&turn)[3][3], float (&out)[3][3]);
void drawingPoint(const float (&point)[3], float (&out)[3]);

// One frame of `bones.size()` bones; `parentOffset` in file axes.
void evaluateSkeleton(std::span<const CompressedBoneFrame> frame, std::span<const SkeletonBone> bones,
                      const float (&parentOffset)[3], std::vector<BonePose3>& out);

// Frame k of an indexed MDS file whose frames and bones lie inside (the
// viewer's index); `out` gets one pose per bone.
void evaluatePose(const MdsIndex& index, ByteView bytes, std::uint32_t frame, std::vector<BonePose3>& out);

}  // namespace formats
