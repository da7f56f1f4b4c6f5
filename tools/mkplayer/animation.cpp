#include "mkplayer/animation.h"

#include <algorithm>

#include "mkplayer/skeleton.h"

namespace mp {

namespace {

// Turns of a limb that hangs down (legs, arms): a positive swing carries its
// far end forward (drawing +z); a positive bend of a lower limb carries it
// backward.
Mat3 swing(float degrees) { return rotX(deg(-degrees)); }
// Leaning an upright bone (spine, neck) forward.
Mat3 lean(float degrees) { return rotX(deg(degrees)); }
// Turning about the vertical axis; positive turns the front to the right.
Mat3 turn(float degrees) { return rotY(deg(degrees)); }
// Curling fingers towards the palm; side +1 left hand, -1 right hand.
Mat3 curl(float degrees, float side) { return rotZ(deg(degrees * side)); }

struct LocalPose {
    std::vector<Mat3> turn = std::vector<Mat3>(bone::Count);
    Vec3 root = skeleton()[bone::Pelvis].rest;
};

void curlFingers(LocalPose& p, int first, float side, float amount) {
    for (int f = 0; f < 5; ++f) {
        const float thumb = f == 0 ? 0.4f : 1.0f;
        p.turn[first + 2 * f] = curl(amount * thumb, side);
        p.turn[first + 2 * f + 1] = curl(amount * 1.4f * thumb, side);
    }
}

// One leg of the walk; phase 0 is the moment it passes under the body
// moving forward.
void walkLeg(LocalPose& p, int hip, float phase) {
    const float thigh = 24.0f * std::sin(phase);
    // Most bent early in the swing, when the leg leaves the ground behind.
    const float knee = 6.0f + 40.0f * std::max(0.0f, std::cos(phase + 0.6f));
    p.turn[hip] = swing(thigh);
    p.turn[hip + 1] = swing(-knee);
    // Keep the sole closer to level: undo part of the shin's turn at the
    // ankle, as far as an ankle bends.
    p.turn[hip + 2] = swing(std::clamp(-(thigh - knee) * 0.6f, -20.0f, 20.0f));
}

void walkArm(LocalPose& p, int clavicle, float phase) {
    const float s = std::sin(phase);
    p.turn[clavicle + 1] = swing(18.0f * s);
    p.turn[clavicle + 2] = swing(12.0f + 14.0f * std::max(0.0f, s));
}

LocalPose walk(int k) {
    LocalPose p;
    const float phase = 2.0f * kPi * static_cast<float>(k) / kWalkFrames;
    p.turn[bone::Pelvis] = turn(6.0f * std::sin(phase));
    p.turn[bone::SpineLower] = lean(5.0f);
    p.turn[bone::SpineMiddle] = turn(-4.0f * std::sin(phase));
    p.turn[bone::Chest] = turn(-4.0f * std::sin(phase)) * lean(-2.0f);
    p.turn[bone::Neck] = lean(-3.0f) * turn(2.0f * std::sin(phase));
    walkLeg(p, bone::HipL, phase);
    walkLeg(p, bone::HipR, phase + kPi);
    // Each arm swings with the opposite leg.
    walkArm(p, bone::ClavicleL, phase + kPi);
    walkArm(p, bone::ClavicleR, phase);
    curlFingers(p, bone::FingersL, 1.0f, 18.0f);
    curlFingers(p, bone::FingersR, -1.0f, 18.0f);
    return p;
}

// Standing, turning the whole body to the right, back, to the left and
// back, the head turning a little further than the body.
LocalPose idleTurn(int k) {
    LocalPose p;
    const float t = static_cast<float>(k) / kTurnFrames;
    const float yaw = 55.0f * std::sin(2.0f * kPi * t);
    const float breath = std::sin(4.0f * kPi * t);
    p.turn[bone::Pelvis] = turn(yaw);
    p.turn[bone::SpineUpper] = lean(1.5f * breath);
    p.turn[bone::Neck] = turn(0.35f * yaw);
    for (float side : {1.0f, -1.0f}) {
        const int hip = side > 0 ? bone::HipL : bone::HipR;
        p.turn[hip] = rotZ(deg(-3.0f * side));  // feet a little apart
        p.turn[hip + 1] = swing(-4.0f);
        p.turn[hip + 2] = rotZ(deg(3.0f * side)) * swing(4.0f);
        const int clav = side > 0 ? bone::ClavicleL : bone::ClavicleR;
        p.turn[clav + 1] = swing(-3.0f - 2.0f * breath) * rotZ(deg(-4.0f * side));
        p.turn[clav + 2] = swing(10.0f);
    }
    curlFingers(p, bone::FingersL, 1.0f, 25.0f);
    curlFingers(p, bone::FingersR, -1.0f, 25.0f);
    return p;
}

// Forward kinematics: a bone turns by its own turn, then by its parent's
// full orientation; its rest offset from the parent turns with the parent.
Pose solve(const LocalPose& local) {
    const auto& bones = skeleton();
    Pose pose;
    pose.orientation.resize(bones.size());
    pose.position.resize(bones.size());
    for (std::size_t i = 0; i < bones.size(); ++i) {
        const Bone& b = bones[i];
        if (b.parent < 0) {
            pose.orientation[i] = local.turn[i];
            pose.position[i] = local.root;
            continue;
        }
        const Mat3& parent = pose.orientation[b.parent];
        pose.orientation[i] = local.turn[i] * parent;
        pose.position[i] = pose.position[b.parent] + (b.rest - bones[b.parent].rest) * parent;
    }
    return pose;
}

}  // namespace

Pose restPose() { return solve(LocalPose{}); }

Pose framePose(int k) { return solve(k < kWalkFrames ? walk(k) : idleTurn(k - kWalkFrames)); }

}  // namespace mp
