// Each part's values per bone are first taken between its two frames, then
// the two parts are taken by the bone's torso weight. Angles are handled in
// stored units (65536 to the turn) as floats; a value that is not blended
// is the stored one, so the products round as in evaluateSkeleton.
#include "formats/families/split_pose.h"

#include <algorithm>

#include "formats/families/skeleton_math.h"

namespace formats {

namespace {

using namespace skeleton_math;

struct BoneValues {
    float pitch, yaw, roll, offsetPitch, offsetYaw;  // stored units
    float dir[3];   // the unit step from the parent, row-vector axes
    bool stored;    // the values are one frame's, unblended
};

// b - a the short way round, in stored units.
float shortWay(float a, float b) {
    float d = b - a;
    while (d > 32768.0f) d -= 65536.0f;
    while (d < -32768.0f) d += 65536.0f;
    return d;
}

float toward(float a, float b, float t) { return a + t * shortWay(a, b); }

void normalise(float (&v)[3], const float (&fallback)[3]) {
    const float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len > 1e-12f)
        for (float& c : v) c /= len;
    else
        std::copy(fallback, fallback + 3, v);
}

void storedDirection(float offsetPitch, float offsetYaw, float (&dir)[3]) {
    Mat offset;
    skeleton_math::offsetTurn(offsetPitch * angleUnit(), offsetYaw * angleUnit(), offset);
    offsetStep(offset, 1.0f, dir);
}

BoneValues valuesOf(const CompressedBoneFrame& f) {
    BoneValues v{static_cast<float>(f.Pitch),       static_cast<float>(f.Yaw),       static_cast<float>(f.Roll),
                 static_cast<float>(f.OffsetPitch), static_cast<float>(f.OffsetYaw), {0, 0, 0},
                 true};
    storedDirection(v.offsetPitch, v.offsetYaw, v.dir);
    return v;
}

// a moved t of the way to b; a itself for t = 0 and b itself for t = 1.
BoneValues blend(const BoneValues& a, const BoneValues& b, float t) {
    if (t <= 0.0f) return a;
    if (t >= 1.0f) return b;
    BoneValues v{toward(a.pitch, b.pitch, t),
                 toward(a.yaw, b.yaw, t),
                 toward(a.roll, b.roll, t),
                 toward(a.offsetPitch, b.offsetPitch, t),
                 toward(a.offsetYaw, b.offsetYaw, t),
                 {0, 0, 0},
                 false};
    for (int c = 0; c < 3; ++c) v.dir[c] = a.dir[c] + t * (b.dir[c] - a.dir[c]);
    normalise(v.dir, a.dir);
    return v;
}

BoneValues partValues(const PartFrame& part, const PartFrame& fallback, std::size_t bone) {
    const PartFrame& p = bone < part.frame.size() ? part : fallback;
    const BoneValues first = valuesOf(p.frame[bone]);
    if (p.lerp <= 0.0f || bone >= p.next.size()) return first;
    return blend(first, valuesOf(p.next[bone]), p.lerp);
}

}  // namespace

void anglesToAxis(float pitch, float yaw, float roll, float (&axis)[3][3]) {
    constexpr float kRadians = 3.14159265358979f / 180.0f;
    const float sp = std::sin(pitch * kRadians), cp = std::cos(pitch * kRadians);
    const float sy = std::sin(yaw * kRadians), cy = std::cos(yaw * kRadians);
    const float sr = std::sin(roll * kRadians), cr = std::cos(roll * kRadians);
    const float forward[3] = {cp * cy, cp * sy, -sp};
    const float right[3] = {-sr * sp * cy + cr * sy, -sr * sp * sy - cr * cy, -sr * cp};
    const float up[3] = {cr * sp * cy + sr * sy, cr * sp * sy - sr * cy, cr * cp};
    for (int c = 0; c < 3; ++c) {
        axis[0][c] = forward[c];
        axis[1][c] = -right[c];
        axis[2][c] = up[c];
    }
}

void evaluateSplitSkeleton(const PartFrame& legs, const PartFrame& torso, std::span<const SplitBone> bones,
                           const TorsoTurn& turn, std::vector<BonePose3>& out) {
    const std::size_t n = std::min(bones.size(), legs.frame.size());
    out.resize(n);
    std::vector<float> at(3 * n);  // positions in row-vector axes, for the children
    float rootFile[3];
    for (int c = 0; c < 3; ++c)
        rootFile[c] = legs.lerp > 0.0f ? legs.parentOffset[c] + legs.lerp * (legs.nextParentOffset[c] - legs.parentOffset[c])
                                       : legs.parentOffset[c];
    const float root[3] = {-rootFile[1], rootFile[2], rootFile[0]};
    for (std::size_t i = 0; i < n; ++i) {
        const float w = bones[i].torsoWeight;
        const BoneValues legsValues = partValues(legs, legs, i);
        const BoneValues v = w <= 0.0f ? legsValues : blend(legsValues, partValues(torso, legs, i), w);
        Mat m, offset;
        boneTurn(v.pitch * angleUnit(), v.yaw * angleUnit(), v.roll * angleUnit(), m);
        skeleton_math::offsetTurn(v.offsetPitch * angleUnit(), v.offsetYaw * angleUnit(), offset);
        float d[3];
        if (v.stored) {
            offsetStep(offset, bones[i].parentDist, d);
        } else {
            for (int c = 0; c < 3; ++c) d[c] = bones[i].parentDist * v.dir[c];
        }
        const std::int32_t parent = bones[i].parent;
        const bool hasParent = parent >= 0 && static_cast<std::size_t>(parent) < i;
        const float* from = hasParent ? &at[3 * static_cast<std::size_t>(parent)] : root;
        for (int c = 0; c < 3; ++c) at[3 * i + static_cast<std::size_t>(c)] = d[c] + from[c];
        BonePose3& p = out[i];
        toFile(m, p.turn);
        toFile(offset, p.offsetTurn);
        for (int c = 0; c < 3; ++c) p.origin[c] = kSign[c] * at[3 * i + static_cast<std::size_t>(kAxis[c])];
    }

    // The torso turn about the torso parent, each bone by its own weight.
    float centre[3] = {0, 0, 0};
    if (turn.torsoParent >= 0 && static_cast<std::size_t>(turn.torsoParent) < n)
        std::copy(out[static_cast<std::size_t>(turn.torsoParent)].origin,
                  out[static_cast<std::size_t>(turn.torsoParent)].origin + 3, centre);
    bool identity = true;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) identity = identity && turn.axis[r][c] == (r == c ? 1.0f : 0.0f);
    if (identity) return;
    for (std::size_t i = 0; i < n; ++i) {
        const float w = bones[i].torsoWeight;
        if (w <= 0.0f) continue;
        Mat s;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) s[r][c] = w * turn.axis[c][r] + (1.0f - w) * (r == c ? 1.0f : 0.0f);
        BonePose3& p = out[i];
        Mat m;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                m[r][c] = turn.tagsTurnRows && bones[i].tag
                              ? p.turn[r][0] * s[c][0] + p.turn[r][1] * s[c][1] + p.turn[r][2] * s[c][2]
                              : s[r][0] * p.turn[0][c] + s[r][1] * p.turn[1][c] + s[r][2] * p.turn[2][c];
        std::copy(&m[0][0], &m[0][0] + 9, &p.turn[0][0]);
        const float rel[3] = {p.origin[0] - centre[0], p.origin[1] - centre[1], p.origin[2] - centre[2]};
        for (int r = 0; r < 3; ++r) p.origin[r] = s[r][0] * rel[0] + s[r][1] * rel[1] + s[r][2] * rel[2] + centre[r];
    }
}

void evaluateSplitPose(const SkeletonIndex& skeleton, ByteView bytes, const IndexedFrame& legs,
                       const IndexedFrame& torso, const TorsoTurn& turn, bool mds, std::vector<BonePose3>& out) {
    const auto numBones = static_cast<std::size_t>(skeleton.bones.count);
    std::vector<SplitBone> bones(numBones);
    for (std::size_t j = 0; j < numBones; ++j) {
        const auto bone = bytes.read<MdsBone>(skeleton.bone(static_cast<std::int64_t>(j)));
        bones[j] = {bone.ParentIndex, bone.ParentDist, bone.TorsoWeight, (bone.Flags & 1u) != 0};
    }
    // One part's records: up to the bones of its own file.
    struct Records {
        std::vector<CompressedBoneFrame> frame, next;
        PartFrame part;
    };
    const auto read = [numBones](const IndexedFrame& f, Records& r) {
        const auto count = std::min(numBones, static_cast<std::size_t>(f.index->bones.count));
        const auto records = [&](std::uint32_t k, std::vector<CompressedBoneFrame>& to) {
            to.resize(count);
            for (std::size_t j = 0; j < count; ++j)
                to[j] = f.bytes.read<CompressedBoneFrame>(f.index->boneFrame(k, static_cast<std::int64_t>(j)));
            return f.bytes.read<MdsFrame>(f.index->frame(k));
        };
        const MdsFrame first = records(f.frame, r.frame);
        std::copy(first.ParentOffset, first.ParentOffset + 3, r.part.parentOffset);
        r.part.lerp = f.lerp;
        if (f.lerp > 0.0f) {
            const MdsFrame next = records(f.next, r.next);
            std::copy(next.ParentOffset, next.ParentOffset + 3, r.part.nextParentOffset);
        }
        r.part.frame = r.frame;
        r.part.next = r.next;
    };
    Records l, t;
    read(legs, l);
    read(torso, t);
    TorsoTurn withRule = turn;
    withRule.tagsTurnRows = mds;
    evaluateSplitSkeleton(l.part, t.part, bones, withRule, out);
}

}  // namespace formats
