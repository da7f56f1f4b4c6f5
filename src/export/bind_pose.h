// What a skinned glTF mesh needs beyond the file: a bind pose and at most
// 4 (or 8) weights per vertex.
//
// MDS and MDM store no bind pose: each weight holds the vertex's offset
// from its bone, and a vertex lies where its weighted offsets, carried by
// their bones, meet. The exporter binds at the frame where those points
// agree best - the frame with the smallest largest distance between one
// weight's point and the vertex - and reports that distance: a client
// that skins from the bind pose is off by at most about it.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "export/asset.h"

namespace exporter {

struct BindFrame {
    std::uint32_t frame = 0;
    double residual = 0.0;  // game units
};

// The largest distance between a weight's point and its vertex (the
// weighted mean of its points) at `poses`; stops early once it passes
// `enough`. Weights on bones without a pose and weights of 0 or less count
// for nothing.
double bindResidual(const std::vector<SkinnedSurface>& surfaces, const std::vector<formats::BonePose3>& poses,
                    double enough = std::numeric_limits<double>::infinity());

// The frame of least residual (the first such frame), or the given one.
BindFrame chooseBindFrame(const Asset& asset);
BindFrame bindFrameAt(const Asset& asset, std::uint32_t frame);

// A vertex's point at `poses`: the weighted mean of its weights' points
// (the bone's turn times the offset, plus its origin); the origin when it
// has no weight that counts.
void weightedPoint(const SkinnedSurface& surface, std::uint32_t vertex, const std::vector<formats::BonePose3>& poses,
                   double (&out)[3]);

// JOINTS_n / WEIGHTS_n: `perVertex` (4 or 8) slots per vertex. The weights
// on one bone are added up; the largest are kept (ties: the lower bone)
// and scaled in float32 so that they add up to 1 as float32 sums them.
// Unused slots hold joint 0 with weight 0. A vertex without a weight that
// counts hangs on bone 0 alone.
struct VertexWeights {
    int perVertex = 4;
    std::vector<std::uint16_t> joints;  // perVertex per vertex
    std::vector<float> weights;
};

struct WeightLoss {
    std::uint64_t vertices = 0;    // vertices that had more weights than slots
    double largestDropped = 0.0;   // the largest weight left out, as stored
    std::uint64_t unweighted = 0;  // vertices without a weight that counts
};

VertexWeights vertexWeights(const SkinnedSurface& surface, std::size_t numBones, int perVertex, WeightLoss& loss);

}  // namespace exporter
