// Poses as the games build them from two animations at once: the legs play
// one frame and the torso another (each may come from a different file of
// the same skeleton), every bone taking the two by its torso weight, the
// torso then turned about the torso parent bone; and each part may be
// between two of its frames. With both parts on one frame and no turn the
// result is evaluateSkeleton's, bit for bit.
//
// Per bone, parents first, with w its torso weight:
// - angles: the legs' (w = 0), the torso's (w = 1), else legs + w x (torso -
//   legs) per component, the difference taken the short way round; between
//   two frames of one part the same with the part's fraction;
// - the direction from the parent likewise, as a normalised blend of the two
//   directions; position = parent's + ParentDist x direction; a root starts
//   from the legs frame's ParentOffset;
// - then, with P the torso parent's position and S = w x turnᵀ + (1 - w) x I
//   (a blend of matrices, not of rotations), every bone with w > 0 gets
//   turn' = S · turn and origin' = S · (origin - P) + P; each bone by its own
//   weight, not through its parent. An MDS bone flagged as a tag instead
//   gets turn' = turn · Sᵀ, as the first game does.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "formats/byte_view.h"
#include "formats/families/skeleton.h"

namespace formats {

// One part's frame: `frame`, moved `lerp` (0 to 1) of the way to `next`.
// With lerp 0, `next` is not read and may be empty.
struct PartFrame {
    std::span<const CompressedBoneFrame> frame, next;
    float parentOffset[3] = {0, 0, 0}, nextParentOffset[3] = {0, 0, 0};
    float lerp = 0.0f;
};

struct SplitBone {
    std::int32_t parent;  // -1 for a root
    float parentDist;
    float torsoWeight;
    bool tag;  // flagged as a tag (MDS)
};

struct TorsoTurn {
    std::int32_t torsoParent = -1;  // outside the bones: P is the model's origin
    // Rows forward, left, up (anglesToAxis); the identity leaves the torso as
    // the animation has it.
    float axis[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    bool tagsTurnRows = false;  // MDS: tag bones turn as the first game turns them
};

// A frame's parts may hold fewer records than there are bones (a torso
// file of fewer bones): those bones take the legs' records.
void evaluateSplitSkeleton(const PartFrame& legs, const PartFrame& torso, std::span<const SplitBone> bones,
                           const TorsoTurn& turn, std::vector<BonePose3>& out);

// The family's angle convention: rows forward (cp·cy, cp·sy, -sp), left and
// up, from pitch, yaw and roll in degrees.
void anglesToAxis(float pitch, float yaw, float roll, float (&axis)[3][3]);

// A frame of an indexed skeleton (bones and frames inside the bytes),
// between `frame` and `next` by `lerp`.
struct IndexedFrame {
    const SkeletonIndex* index = nullptr;
    ByteView bytes;
    std::uint32_t frame = 0, next = 0;
    float lerp = 0.0f;
};

// The bones of `skeleton` (its bone records and torso weights) posed with
// the legs and the torso frames given; `mds` for the first game's tag rule.
void evaluateSplitPose(const SkeletonIndex& skeleton, ByteView bytes, const IndexedFrame& legs,
                       const IndexedFrame& torso, const TorsoTurn& turn, bool mds, std::vector<BonePose3>& out);

}  // namespace formats
