// The skeleton is evaluated with row vectors in the axes (-y, z, x) - the
// orientation RotY(yaw) · RotX(-pitch) · RotZ(roll), the direction from the
// parent (0, 0, ParentDist) · RotX(offsetPitch) · RotY(-offsetYaw) - with
// every product summed in one fixed order, then expressed in the file's
// axes. Changing axes only moves and negates entries, so no value is
// rounded twice.
#include "formats/families/skeleton.h"

#include <bit>

#include "formats/families/skeleton_math.h"

namespace formats {

namespace {

using namespace skeleton_math;

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
        Mat turn, offset;
        boneTurn(radians(f.Pitch), radians(f.Yaw), radians(f.Roll), turn);
        skeleton_math::offsetTurn(radians(f.OffsetPitch), radians(f.OffsetYaw), offset);
        float d[3];
        offsetStep(offset, bones[i].parentDist, d);
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
