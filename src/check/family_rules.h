// The checker's rules that the formats of one family share: bones and
// their parents (MDS, MDX), and surfaces of weighted vertices (MDS, MDM):
// weights, triangles, collapse maps and the LOD they drive, bone references.
#pragma once

#include <cstdint>
#include <string>

#include "check/report.h"
#include "formats/families/skeleton.h"
#include "formats/families/weighted_mesh.h"

namespace check {

// Every bone's parent must be -1 or an earlier bone; the torso's parent
// (`torsoParentAt` its field) one of the bones.
void skeletonRules(const formats::SkeletonIndex& x, std::int32_t numBones, std::int32_t torsoParent,
                   std::int64_t torsoParentAt, formats::ByteView b, Report& report);

struct WeightedRules {
    // Bones the weights and bone references may name; -1 when not known
    // (an MDM file checked without its skeleton).
    std::int32_t numBones = -1;
    // More weights per vertex than the newer renderer keeps (0: no rule).
    std::int32_t keptWeights = 0;
};

// Weights (bones, sums, counts), triangle and collapse-map indices, the
// collapse order and MinLod that LOD relies on, bone references.
void weightedRules(const formats::WeightedSurfaceIndex& s, const WeightedRules& rules, formats::ByteView b,
                   Report& report, const std::string& rec);

// An int32 list whose every entry must lie in [0, bound); `entry` names one
// entry (null for the corners of a triangle list).
void indexList(formats::ByteView b, Report& report, std::int64_t at, std::int64_t count, std::int32_t bound, Id id,
               const char* what, const std::string& rec, const char* entry, const char* bounded);

}  // namespace check
