// The skeleton is evaluated with row vectors in the axes (-y, z, x) - the
// orientation RotY(yaw) · RotX(-pitch) · RotZ(roll), the direction from the
// parent (0, 0, ParentDist) · RotX(offsetPitch) · RotY(-offsetYaw) - with
// every product summed in one fixed order, then expressed in the file's
// axes. Changing axes only moves and negates entries, so no value is
// rounded twice.
#include "formats/families/skeleton.h"

#include <bit>
#include <cmath>

namespace formats {

namespace {

using Mat = float[3][3];

void rotX(float a, Mat& m) {
    const float c = std::cos(a), s = std::sin(a);
    m[0][0] = 1, m[0][1] = 0, m[0][2] = 0;
    m[1][0] = 0, m[1][1] = c, m[1][2] = s;
    m[2][0] = 0, m[2][1] = -s, m[2][2] = c;
}
void rotY(float a, Mat& m) {
    const float c = std::cos(a), s = std::sin(a);
    m[0][0] = c, m[0][1] = 0, m[0][2] = -s;
    m[1][0] = 0, m[1][1] = 1, m[1][2] = 0;
    m[2][0] = s, m[2][1] = 0, m[2][2] = c;
}
void rotZ(float a, Mat& m) {
    const float c = std::cos(a), s = std::sin(a);
    m[0][0] = c, m[0][1] = s, m[0][2] = 0;
    m[1][0] = -s, m[1][1] = c, m[1][2] = 0;
    m[2][0] = 0, m[2][1] = 0, m[2][2] = 1;
}

// out = a · b, each entry summed as the 4 x 4 product of two rotations
// would (its fourth term is 0 · 0).
void multiply(const Mat& a, const Mat& b, Mat& out) {
    Mat r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + 0.0f * 0.0f;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out[i][j] = r[i][j];
}

// File axis i is the row-vector axis kAxis[i], with sign kSign[i]:
// (x, y, z) of the file is (-y, z, x) of the row-vector axes.
constexpr int kAxis[3] = {2, 0, 1};
constexpr float kSign[3] = {1.0f, -1.0f, 1.0f};

// The row-vector turn r as a column turn in file axes.
void toFile(const Mat& r, float (&out)[3][3]) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out[i][j] = kSign[i] * kSign[j] * r[kAxis[j]][kAxis[i]];
}

float radians(std::int16_t v) { return static_cast<float>(v) * angleUnit(); }

}  // namespace

float angleUnit() { return std::bit_cast<float>(0x38C90FDBu); }

void drawingTurn(const float (&turn)[3][3], float (&out)[3][3]) {
    // The inverse of toFile: row-vector axis a is file axis kFileAxis[a].
    constexpr int kFileAxis[3] = {1, 2, 0};
    constexpr float kDrawingSign[3] = {-1.0f, 1.0f, 1.0f};
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) out[a][b] = kDrawingSign[a] * kDrawingSign[b] * turn[kFileAxis[b]][kFileAxis[a]];
}

void drawingPoint(const float (&point)[3], float (&out)[3]) {
    out[0] = -point[1];
    out[1] = point[2];
    out[2] = point[0];
}

void evaluateSkeleton(std::span<const CompressedBoneFrame> frame, std::span<const SkeletonBone> bones,
                      const float (&parentOffset)[3], std::vector<BonePose3>& out) {
    out.resize(bones.size());
    // Positions in the row-vector axes, kept for the children.
    std::vector<float> at(3 * bones.size());
    const float root[3] = {-parentOffset[1], parentOffset[2], parentOffset[0]};
    for (std::size_t i = 0; i < bones.size(); ++i) {
        const CompressedBoneFrame& f = frame[i];
        Mat a, b, turn, offset;
        rotY(radians(f.Yaw), a);
        rotX(-radians(f.Pitch), b);
        multiply(a, b, turn);
        rotZ(radians(f.Roll), b);
        multiply(turn, b, turn);
        rotX(radians(f.OffsetPitch), a);
        rotY(-radians(f.OffsetYaw), b);
        multiply(a, b, offset);

        // (0, 0, dist, 1) · offset, divided by its fourth component (1).
        const float dist = bones[i].parentDist;
        const float w = 0.0f * 0.0f + 0.0f * 0.0f + dist * 0.0f + 1.0f;
        float d[3];
        for (int c = 0; c < 3; ++c) d[c] = (0.0f * offset[0][c] + 0.0f * offset[1][c] + dist * offset[2][c] + 0.0f) / w;
        const std::int32_t parent = bones[i].parent;
        const bool hasParent = parent >= 0 && static_cast<std::size_t>(parent) < i;
        const float* from = hasParent ? &at[3 * static_cast<std::size_t>(parent)] : root;
        for (int c = 0; c < 3; ++c) at[3 * i + static_cast<std::size_t>(c)] = d[c] + from[c];

        BonePose3& p = out[i];
        toFile(turn, p.turn);
        toFile(offset, p.offsetTurn);
        for (int c = 0; c < 3; ++c) p.origin[c] = kSign[c] * at[3 * i + static_cast<std::size_t>(kAxis[c])];
    }
}

void walkSkeleton(Walker& w, const SkeletonFields& f, SkeletonIndex& out) {
    out.frameSize = mdsFrameSize(f.numBones);
    out.bones = w.list(Need::Draw, f.offsetBones, f.numBones, sizeof(MdsBone), "bones", "header", f.bones, 0);
    if (out.bones.inside && w.collecting())
        for (std::int64_t i = 0; i < out.bones.count; ++i) {
            const std::string label = strf("bone %lld", static_cast<long long>(i));
            const std::string name = w.name(out.bone(i), kNameLength, label + " .Name", "bone names");
            w.values<MdsBone>(out.bone(i), label + " " + quoted(name), "bone values");
        }
    if (w.stopped()) return;
    out.frames = w.list(ListNeed(Need::Draw, Need::Walk), f.offsetFrames, f.numFrames, out.frameSize, "frames",
                        "header", f.frames, 0);
    if (out.frames.inside && w.collecting())
        for (std::int64_t k = 0; k < out.frames.count; ++k)
            w.values<MdsFrame>(out.frame(k), strf("frame %lld", static_cast<long long>(k)), "frame values");
}

void evaluatePose(const SkeletonIndex& index, ByteView bytes, std::uint32_t frame, std::vector<BonePose3>& out) {
    const auto numBones = static_cast<std::size_t>(index.bones.count);
    std::vector<CompressedBoneFrame> records(numBones);
    std::vector<SkeletonBone> bones(numBones);
    for (std::size_t j = 0; j < numBones; ++j) {
        records[j] = bytes.read<CompressedBoneFrame>(index.boneFrame(frame, static_cast<std::int64_t>(j)));
        const auto bone = bytes.read<MdsBone>(index.bone(static_cast<std::int64_t>(j)));
        bones[j] = {bone.ParentIndex, bone.ParentDist};
    }
    const auto record = bytes.read<MdsFrame>(index.frame(frame));
    evaluateSkeleton(records, bones, record.ParentOffset, out);
}

}  // namespace formats
