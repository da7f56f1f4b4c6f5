// The keys an animation of the exported file has, and the bones at each.
// A clip on the whole body: one key per frame of its row at the row's fps.
// A legs/torso pair: the steps korvane-render draws for --legs and
// --torso (scene::Steps::split) - one key per frame time of the faster
// row, for one play of the longer row (at most 600 keys), each part at its
// own speed with its own loop rule, between two of its frames where the
// time falls there - posed by formats::evaluateSplitPose.
#pragma once

#include <cstdint>
#include <vector>

#include "anim/frame_sequence.h"
#include "export/asset.h"
#include "scene/pose_steps.h"

namespace exporter {

// How a row plays, in the sequence rules' terms (frame times in whole
// milliseconds, as the game counts them).
anim::Playback playbackOf(const Row& row);

class ClipSteps {
public:
    ClipSteps(const Asset& asset, const Clip& clip);

    std::uint32_t count() const;
    double seconds(std::uint32_t k) const;
    // Samples per second.
    double fps() const;
    bool isPair() const { return clip_.torso.has_value(); }
    // The frame a whole-body clip shows at key k; a pair's legs frame.
    std::uint32_t frameAt(std::uint32_t k) const;
    // Every bone at key k (a skeleton's assets only).
    void pose(std::uint32_t k, std::vector<formats::BonePose3>& bones) const;

private:
    const Asset& asset_;
    const Clip& clip_;
    scene::Steps steps_;
};

}  // namespace exporter
