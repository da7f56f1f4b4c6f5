// Posing a skeletal body step by step from what the command line asks:
// its frames one by one, one named animation on the whole body, or a legs
// animation and a torso animation (each may play on a different skeleton
// file of the body), the torso optionally aimed. Rows are found by name
// through the caller (the first game's wolfanim.cfg, the sibling game's
// animation groups); every frame a step can show is checked against its
// skeleton before anything is drawn.
#pragma once

#include <functional>
#include <string>

#include "anim/frame_sequence.h"
#include "drawables/skeletal_body.h"
#include "scene/pose_steps.h"

namespace scene {

struct PoseRequest {
    std::string anim;          // one animation on the whole body
    std::string legs, torso;   // both or neither
    bool aim = false;          // turn the torso by pitch and yaw (degrees)
    float aimPitch = 0.0f, aimYaw = 0.0f;
    drawables::LodChoice lod;
    int headAnim = -1;         // a character's hud head row played on its head; -1: none
};

// A named animation row: how it plays, on which skeleton of the body, and
// where it was written (for messages: "FILE:LINE").
struct Row {
    anim::Playback playback;
    std::size_t skeleton = 0;
    std::string where;
};
using FindRow = std::function<bool(const std::string& name, Row& row, std::string& error)>;

class BodyPose {
public:
    bool prepare(const drawables::SkeletalBody& body, const PoseRequest& request, const FindRow& find,
                 std::string& error);
    const Steps& steps() const { return steps_; }
    void apply(drawables::SkeletalBody& body, std::uint32_t step) const;

private:
    Steps steps_;
    std::size_t legsSkeleton_ = 0, torsoSkeleton_ = 0;
    float axis_[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

}  // namespace scene
