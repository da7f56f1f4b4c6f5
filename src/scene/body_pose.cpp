#include "scene/body_pose.h"

#include "formats/families/split_pose.h"

namespace scene {

namespace {

// The row of `name`, its frames inside its skeleton.
bool rowInside(const drawables::SkeletalBody& body, const FindRow& find, const std::string& name, Row& row,
               std::string& error) {
    if (!find(name, row, error)) return false;
    if (row.skeleton >= body.numSkeletons()) {
        error = "animation '" + name + "' (" + row.where + ") plays on a skeleton that was not loaded";
        return false;
    }
    if (row.playback.numFrames == 0) {
        error = "animation '" + name + "' (" + row.where + ") has no frames";
        return false;
    }
    const anim::Span span = anim::spanOf(row.playback);
    const std::uint32_t frames = body.numFrames(row.skeleton);
    if (span.low < 0 || span.high >= static_cast<std::int64_t>(frames)) {
        error = "animation '" + name + "' (" + row.where + ") uses frames " + std::to_string(span.low) + " to " +
                std::to_string(span.high) + ", past the " + std::to_string(frames) + " frames of " +
                body.skeletonPath(row.skeleton);
        return false;
    }
    return true;
}

}  // namespace

bool BodyPose::prepare(const drawables::SkeletalBody& body, const PoseRequest& request, const FindRow& find,
                       std::string& error) {
    if (request.aim) formats::anglesToAxis(request.aimPitch, request.aimYaw, 0.0f, axis_);
    if (!request.legs.empty()) {
        Row legs, torso;
        if (!rowInside(body, find, request.legs, legs, error) || !rowInside(body, find, request.torso, torso, error))
            return false;
        legsSkeleton_ = legs.skeleton;
        torsoSkeleton_ = torso.skeleton;
        steps_ = Steps::split(legs.playback, torso.playback);
        return true;
    }
    if (!request.anim.empty()) {
        Row row;
        if (!rowInside(body, find, request.anim, row, error)) return false;
        legsSkeleton_ = torsoSkeleton_ = row.skeleton;
        steps_ = Steps::clip(row.playback);
        return true;
    }
    steps_ = Steps::frames(body.numFrames(0));
    return true;
}

void BodyPose::apply(drawables::SkeletalBody& body, std::uint32_t step) const {
    const PartAt legs = steps_.legs(step), torso = steps_.torso(step);
    body.pose({legsSkeleton_, legs.frame, legs.next, legs.lerp}, {torsoSkeleton_, torso.frame, torso.next, torso.lerp},
              axis_);
}

}  // namespace scene
