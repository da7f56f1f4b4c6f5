#include "mkplayer/encode.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "mkplayer/skeleton.h"

namespace mp {

namespace {

float radians(std::int16_t v) { return static_cast<float>(v) * angleUnit(); }

// Pitch, yaw and roll with RotY(yaw) · RotX(-pitch) · RotZ(roll) = m.
// Row 1 of that product is (-cos a sin r, cos a cos r, sin a) with a = -pitch,
// and its last column is (-sin y cos a, sin a, cos y cos a).
void anglesOf(const Mat3& m, float& pitch, float& yaw, float& roll) {
    const float a = std::asin(std::clamp(m.m[1][2], -1.0f, 1.0f));
    pitch = -a;
    roll = std::atan2(-m.m[1][0], m.m[1][1]);
    yaw = std::atan2(-m.m[0][2], m.m[2][2]);
}

Mat3 rotationOf(const formats::CompressedBoneFrame& f) {
    return rotY(radians(f.Yaw)) * rotX(-radians(f.Pitch)) * rotZ(radians(f.Roll));
}

Vec3 offsetOf(const formats::CompressedBoneFrame& f, float dist) {
    return Vec3{0.0f, 0.0f, dist} * (rotX(radians(f.OffsetPitch)) * rotY(-radians(f.OffsetYaw)));
}

Vec3 rootOrigin(const EncodedFrame& frame) {
    return fromFile(frame.parentOffset[0], frame.parentOffset[1], frame.parentOffset[2]);
}

}  // namespace

float angleUnit() { return std::bit_cast<float>(0x38C90FDBu); }

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
    std::vector<Vec3> decoded(bones.size());
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
        const Vec3 from = b.parent < 0 ? rootOrigin(out) : decoded[b.parent];
        const float dist = restLength(static_cast<int>(i));
        if (dist > 0.0f) {
            // d = dist · (-cos op sin oy, -sin op, cos op cos oy)
            const Vec3 d = normalized(intended.position[i] - from);
            f.OffsetPitch = toUnits(std::atan2(-d.y, std::hypot(d.x, d.z)));
            f.OffsetYaw = toUnits(std::atan2(-d.x, d.z));
        }
        decoded[i] = from + offsetOf(f, dist);
    }
    return out;
}

DecodedFrame decodeFrame(const EncodedFrame& frame) {
    const auto& bones = skeleton();
    DecodedFrame out;
    out.rotation.resize(bones.size());
    out.position.resize(bones.size());
    for (std::size_t i = 0; i < bones.size(); ++i) {
        const auto& f = frame.bones[i];
        out.rotation[i] = rotationOf(f);
        const Vec3 from = bones[i].parent < 0 ? rootOrigin(frame) : out.position[bones[i].parent];
        out.position[i] = from + offsetOf(f, restLength(static_cast<int>(i)));
    }
    return out;
}

void raise(EncodedFrame& frame, float dy) { frame.parentOffset[2] += dy; }

}  // namespace mp
