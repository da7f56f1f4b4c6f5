#include "export/clip_steps.h"

#include <algorithm>

#include "formats/families/split_pose.h"

namespace exporter {

anim::Playback playbackOf(const Row& row) {
    anim::Playback p;
    p.firstFrame = row.firstFrame;
    p.numFrames = row.numFrames;
    p.loopFrames = row.loopFrames;
    p.reversed = row.reversed;
    p.frameMilliseconds = static_cast<std::uint32_t>(std::clamp(1000.0 / row.fps, 1.0, 60000.0));
    return p;
}

namespace {

// An aimed torso turns a bone of partial torso weight by a blend of two
// rotations, which shrinks it a little across the turn: no rotation, and
// a joint carries rotations only. The nearest one (the polar factor, by
// averaging with the inverse transpose) keeps the joints rigid, so each
// child's place relative to its parent stays what the game has.
void nearestRotation(float (&m)[3][3]) {
    double r[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = m[i][j];
    for (int iteration = 0; iteration < 12; ++iteration) {
        const double c[3][3] = {{r[1][1] * r[2][2] - r[1][2] * r[2][1], r[1][2] * r[2][0] - r[1][0] * r[2][2],
                                 r[1][0] * r[2][1] - r[1][1] * r[2][0]},
                                {r[0][2] * r[2][1] - r[0][1] * r[2][2], r[0][0] * r[2][2] - r[0][2] * r[2][0],
                                 r[0][1] * r[2][0] - r[0][0] * r[2][1]},
                                {r[0][1] * r[1][2] - r[0][2] * r[1][1], r[0][2] * r[1][0] - r[0][0] * r[1][2],
                                 r[0][0] * r[1][1] - r[0][1] * r[1][0]}};
        const double det = r[0][0] * c[0][0] + r[0][1] * c[0][1] + r[0][2] * c[0][2];
        if (!(det > 1e-12)) return;  // degenerate: left as it is
        // The inverse transpose is the cofactor matrix over the determinant.
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) r[i][j] = 0.5 * (r[i][j] + c[i][j] / det);
    }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = static_cast<float>(r[i][j]);
}

}  // namespace

ClipSteps::ClipSteps(const Asset& asset, const Clip& clip) : asset_(asset), clip_(clip) {
    if (clip.torso) steps_ = scene::Steps::split(playbackOf(clip), playbackOf(*clip.torso));
}

std::uint32_t ClipSteps::count() const { return isPair() ? steps_.count() : clip_.numFrames; }

double ClipSteps::seconds(std::uint32_t k) const {
    return isPair() ? k * (steps_.milliseconds() / 1000.0) : k / clip_.fps;
}

double ClipSteps::fps() const { return isPair() ? 1000.0 / steps_.milliseconds() : clip_.fps; }

std::uint32_t ClipSteps::frameAt(std::uint32_t k) const { return isPair() ? steps_.legs(k).frame : clip_.frameAt(k); }

void ClipSteps::pose(std::uint32_t k, std::vector<formats::BonePose3>& bones) const {
    if (!isPair()) {
        asset_.skeletonOf(clip_.skeleton).pose(clip_.frameAt(k), bones);
        return;
    }
    const Skeleton& legs = asset_.skeletonOf(clip_.skeleton);
    const Skeleton& torso = asset_.skeletonOf(clip_.torso->skeleton);
    const auto part = [](const Skeleton& s, const scene::PartAt& at) {
        formats::IndexedFrame f;
        f.index = &s.index;
        f.bytes = s.bytes;
        f.frame = at.frame;
        f.next = at.next;
        f.lerp = at.lerp;
        return f;
    };
    formats::TorsoTurn turn;
    turn.torsoParent = legs.torsoParent;
    std::copy(&clip_.torsoAxis[0][0], &clip_.torsoAxis[0][0] + 9, &turn.axis[0][0]);
    formats::evaluateSplitPose(legs.index, legs.bytes, part(legs, steps_.legs(k)), part(torso, steps_.torso(k)), turn,
                               legs.mds, bones);
    if (turn.axis[0][0] != 1.0f || turn.axis[1][1] != 1.0f || turn.axis[2][2] != 1.0f)
        for (formats::BonePose3& b : bones) nearestRotation(b.turn);
}

}  // namespace exporter
