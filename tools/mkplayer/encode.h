// Turning intended bone poses into the stored bone records, and decoding
// them back exactly as the viewer does.
//
// The viewer reads every angle as absolute, in model axes: a bone's
// orientation is RotY(yaw) · RotX(-pitch) · RotZ(roll), and its position is
// its parent's position plus ParentDist along the direction given by
// OffsetPitch / OffsetYaw; a root is placed from the frame's ParentOffset.
// The encoder therefore stores each bone's full orientation, and the
// direction from the parent's *decoded* position to the bone's intended
// position, so that rounding to angle units never adds up along a chain.
//
// Attached models are turned by the inverse of their bone's orientation,
// so a bone that only carries an attachment stores the inverse turn.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "formats/mds_layout.h"
#include "mkplayer/animation.h"
#include "mkplayer/math3.h"

namespace mp {

// Radians per stored angle unit: the float32 nearest to pi / 32768.
float angleUnit();
std::int16_t toUnits(float radians);

struct EncodedFrame {
    std::vector<formats::CompressedBoneFrame> bones;
    std::array<float, 3> parentOffset{};  // file axes
};

// What the viewer computes for a frame: rotation and position per bone.
struct DecodedFrame {
    std::vector<Mat3> rotation;
    std::vector<Vec3> position;
};

EncodedFrame encodeFrame(const Pose& intended);
DecodedFrame decodeFrame(const EncodedFrame& frame);

// Moves every bone of the frame by dy in drawing y (the file's z).
void raise(EncodedFrame& frame, float dy);

}  // namespace mp
