#include "mkplayer/encode.h"

#include <algorithm>
#include <cmath>

#include "formats/families/skeleton.h"
#include "mkplayer/skeleton.h"

namespace mp {

namespace {

// Pitch, yaw and roll with RotY(yaw) · RotX(-pitch) · RotZ(roll) = m.
// Row 1 of that product is (-cos a sin r, cos a cos r, sin a) with a = -pitch,
// and its last column is (-sin y cos a, sin a, cos y cos a).
void anglesOf(const Mat3& m, float& pitch, float& yaw, float& roll) {
    const float a = std::asin(std::clamp(m.m[1][2], -1.0f, 1.0f));
    pitch = -a;
    roll = std::atan2(-m.m[1][0], m.m[1][1]);
    yaw = std::atan2(-m.m[0][2], m.m[2][2]);
}

// The viewer's poses of the first `count` bones of a frame, through the
// skeleton evaluation every program uses.
std::vector<formats::BonePose3> evaluate(const EncodedFrame& frame, std::size_t count) {
    const auto& bones = skeleton();
    std::vector<formats::SkeletonBone> list(count);
    for (std::size_t i = 0; i < count; ++i) list[i] = {bones[i].parent, restLength(static_cast<int>(i))};
    const float offset[3] = {frame.parentOffset[0], frame.parentOffset[1], frame.parentOffset[2]};
    std::vector<formats::BonePose3> poses;
    formats::evaluateSkeleton(std::span(frame.bones).first(count), list, offset, poses);
    return poses;
}

Vec3 drawingPosition(const formats::BonePose3& pose) {
    float d[3];
    formats::drawingPoint(pose.origin, d);
    return {d[0], d[1], d[2]};
}

}  // namespace

float angleUnit() { return formats::angleUnit(); }

std::int16_t toUnits(float r) {
    const long v = std::lround(static_cast<double>(r) / static_cast<double>(angleUnit()));
    // A full turn is 65536 units: +32768 is the same angle as -32768.
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<unsigned long>(v) & 0xFFFFu));
}

EncodedFrame encodeFrame(const Pose& intended) {
    const auto& bones = skeleton();
    EncodedFrame out;
    out.bones.resize(bones.size());
    out.parentOffset = toFile(intended.position[bone::Pelvis]);
    for (std::size_t i = 0; i < bones.size(); ++i) {
        const Bone& b = bones[i];
        formats::CompressedBoneFrame& f = out.bones[i];
        const Mat3 turn = b.attachment ? transposed(intended.orientation[i]) : intended.orientation[i];
        float p = 0, y = 0, r = 0;
        anglesOf(turn, p, y, r);
        f.Pitch = toUnits(p);
        f.Yaw = toUnits(y);
        f.Roll = toUnits(r);
        f.Zero = 0;
        // Where the decoder places the parent (or the root's origin).
        const Vec3 from = b.parent < 0 ? fromFile(out.parentOffset[0], out.parentOffset[1], out.parentOffset[2])
                                       : drawingPosition(evaluate(out, i)[static_cast<std::size_t>(b.parent)]);
        const float dist = restLength(static_cast<int>(i));
        if (dist > 0.0f) {
            // d = dist · (-cos op sin oy, -sin op, cos op cos oy)
            const Vec3 d = normalized(intended.position[i] - from);
            f.OffsetPitch = toUnits(std::atan2(-d.y, std::hypot(d.x, d.z)));
            f.OffsetYaw = toUnits(std::atan2(-d.x, d.z));
        }
    }
    return out;
}

DecodedFrame decodeFrame(const EncodedFrame& frame) {
    const std::vector<formats::BonePose3> poses = evaluate(frame, frame.bones.size());
    DecodedFrame out;
    out.rotation.resize(poses.size());
    out.position.resize(poses.size());
    for (std::size_t i = 0; i < poses.size(); ++i) {
        formats::drawingTurn(poses[i].turn, out.rotation[i].m);
        out.position[i] = drawingPosition(poses[i]);
    }
    return out;
}

void raise(EncodedFrame& frame, float dy) { frame.parentOffset[2] += dy; }

}  // namespace mp
