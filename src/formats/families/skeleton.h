// The skeleton family (MDS, MDX): bone records and frames of one
// compressed record per bone, their walk, and evaluating a frame: each
// bone's compressed angles become a turn and a position, in the file's own
// axes (x forward, y left, z up), with no graphics types. The viewer turns
// the result into its drawing axes; the demo generator checks its encoding
// against it; export and other skeleton formats use it as it is.
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
#include "formats/mds_layout.h"
#include "formats/walker.h"

namespace formats {

// Where a file's bones and frames lie (frame k is 52 + 12 x NumBones bytes).
struct SkeletonIndex {
    std::int64_t frameSize = 0;
    ListAt frames, bones;

    std::int64_t frame(std::int64_t k) const { return frames.at + k * frameSize; }
    std::int64_t boneFrame(std::int64_t k, std::int64_t j) const {
        return frame(k) + std::int64_t{sizeof(MdsFrame)} + j * std::int64_t{sizeof(CompressedBoneFrame)};
    }
    std::int64_t bone(std::int64_t i) const { return bones.at + i * std::int64_t{sizeof(MdsBone)}; }
};

// The header fields that place a skeleton.
struct SkeletonFields {
    std::int32_t numFrames, numBones, offsetFrames, offsetBones;
    FieldRef frames, bones;  // the offset fields, for findings
};

// Walks the bone list, then the frames. Both are read by the viewer; the
// browser lists frames without reading them, so only a frame count the file
// could never hold stops the walk. Call with counts already checked.
void walkSkeleton(Walker& w, const SkeletonFields& fields, SkeletonIndex& out);

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

// Frame k of an indexed skeleton whose frames and bones lie inside (the
// viewer's index); `out` gets one pose per bone.
void evaluatePose(const SkeletonIndex& index, ByteView bytes, std::uint32_t frame, std::vector<BonePose3>& out);

}  // namespace formats
