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
}

}  // namespace exporter
