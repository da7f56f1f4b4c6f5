// The soldier's animation: a walk cycle on the spot (frames 0 to 19), then
// an idle turn to both sides (frames 20 to 35). Each frame is given as the
// intended pose of every bone (orientation and position, drawing axes),
// found by forward kinematics from per-bone turns in the rest pose.
#pragma once

#include <vector>

#include "mkplayer/math3.h"

namespace mp {

constexpr int kWalkFrames = 20;
constexpr int kTurnFrames = 16;
constexpr int kFrameCount = kWalkFrames + kTurnFrames;

struct Pose {
    std::vector<Mat3> orientation;  // turn of each bone's limb away from the rest pose
    std::vector<Vec3> position;
};

// The rest pose: every bone at its rest position with no turn.
Pose restPose();
// The intended pose of frame k (0 <= k < kFrameCount). The root's height is
// that of the rest pose; the body writer sets the feet onto the ground.
Pose framePose(int k);

}  // namespace mp
