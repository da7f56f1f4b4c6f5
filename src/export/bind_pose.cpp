#include "export/bind_pose.h"

#include <algorithm>
#include <cmath>

namespace exporter {

namespace {

bool counts(const Weight& w, std::size_t numPoses) {
    return w.weight > 0.0f && w.bone >= 0 && static_cast<std::size_t>(w.bone) < numPoses;
}

void pointOf(const Weight& w, const std::vector<formats::BonePose3>& poses, double (&out)[3]) {
    const formats::BonePose3& p = poses[static_cast<std::size_t>(w.bone)];
    for (int i = 0; i < 3; ++i)
        out[i] = double{p.turn[i][0]} * w.offset[0] + double{p.turn[i][1]} * w.offset[1] +
                 double{p.turn[i][2]} * w.offset[2] + p.origin[i];
}

}  // namespace

void weightedPoint(const SkinnedSurface& s, std::uint32_t v, const std::vector<formats::BonePose3>& poses,
                   double (&out)[3]) {
    out[0] = out[1] = out[2] = 0.0;
    double sum = 0.0;
    for (std::uint32_t k = s.weightStart[v]; k < s.weightStart[v + 1]; ++k) {
        const Weight& w = s.weights[k];
        if (!counts(w, poses.size())) continue;
        double x[3];
        pointOf(w, poses, x);
        for (int i = 0; i < 3; ++i) out[i] += w.weight * x[i];
        sum += w.weight;
    }
    if (sum > 0.0)
        for (double& c : out) c /= sum;
}

double bindResidual(const std::vector<SkinnedSurface>& surfaces, const std::vector<formats::BonePose3>& poses,
                    double enough) {
    double worst = 0.0;  // squared
    const double limit = enough * enough;
    for (const SkinnedSurface& s : surfaces) {
        for (std::uint32_t v = 0; v < s.numVertices(); ++v) {
            if (s.weightStart[v + 1] - s.weightStart[v] < 2) continue;  // one weight always agrees
            double p[3];
            weightedPoint(s, v, poses, p);
            for (std::uint32_t k = s.weightStart[v]; k < s.weightStart[v + 1]; ++k) {
                if (!counts(s.weights[k], poses.size())) continue;
                double x[3];
                pointOf(s.weights[k], poses, x);
                const double d = (x[0] - p[0]) * (x[0] - p[0]) + (x[1] - p[1]) * (x[1] - p[1]) +
                                 (x[2] - p[2]) * (x[2] - p[2]);
                worst = std::max(worst, d);
            }
            if (worst > limit) return std::sqrt(worst);
        }
    }
    return std::sqrt(worst);
}

BindFrame bindFrameAt(const Asset& asset, std::uint32_t frame) {
    std::vector<formats::BonePose3> poses;
    asset.skeleton->pose(frame, poses);
    return {frame, bindResidual(asset.skinned, poses)};
}

BindFrame chooseBindFrame(const Asset& asset) {
    BindFrame best{0, std::numeric_limits<double>::infinity()};
    std::vector<formats::BonePose3> poses;
    for (std::uint32_t f = 0; f < asset.skeleton->numFrames; ++f) {
        asset.skeleton->pose(f, poses);
        // A frame is only looked at until it is no better than the best.
        const double r = bindResidual(asset.skinned, poses, best.residual);
        if (r < best.residual) best = {f, r};
        if (best.residual == 0.0) break;
    }
    return best;
}

VertexWeights vertexWeights(const SkinnedSurface& s, std::size_t numBones, int perVertex, WeightLoss& loss) {
    VertexWeights out;
    out.perVertex = perVertex;
    const auto slots = static_cast<std::size_t>(perVertex);
    out.joints.assign(slots * s.numVertices(), 0);
    out.weights.assign(slots * s.numVertices(), 0.0f);
    std::vector<std::pair<std::int32_t, double>> merged;
    for (std::uint32_t v = 0; v < s.numVertices(); ++v) {
        merged.clear();
        for (std::uint32_t k = s.weightStart[v]; k < s.weightStart[v + 1]; ++k) {
            const Weight& w = s.weights[k];
            if (!counts(w, numBones)) continue;
            auto same = std::find_if(merged.begin(), merged.end(), [&](const auto& m) { return m.first == w.bone; });
            if (same == merged.end())
                merged.emplace_back(w.bone, w.weight);
            else
                same->second += w.weight;
        }
        std::uint16_t* joints = &out.joints[slots * v];
        float* weights = &out.weights[slots * v];
        if (merged.empty()) {
            ++loss.unweighted;
            weights[0] = 1.0f;
            continue;
        }
        std::sort(merged.begin(), merged.end(), [](const auto& a, const auto& b) {
            return a.second != b.second ? a.second > b.second : a.first < b.first;
        });
        if (merged.size() > slots) {
            ++loss.vertices;
            loss.largestDropped = std::max(loss.largestDropped, merged[slots].second);
            merged.resize(slots);
        }
        double total = 0.0;
        for (const auto& m : merged) total += m.second;
        for (std::size_t i = 0; i < merged.size(); ++i) {
            joints[i] = static_cast<std::uint16_t>(merged[i].first);
            weights[i] = static_cast<float>(merged[i].second / total);
        }
        // The largest weight takes up what float32 rounding left over.
        for (int round = 0; round < 4; ++round) {
            float sum = 0.0f;
            for (std::size_t i = 0; i < slots; ++i) sum += weights[i];
            if (sum == 1.0f) break;
            weights[0] += 1.0f - sum;
        }
    }
    return out;
}

}  // namespace exporter
