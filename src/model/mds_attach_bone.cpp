// Placing an attached model at a bone of the shown frame.
//
// Kept apart from mds_attach.cpp (loading the accessories, the head and the
// hat): this file is the one definition of MDS::attachToBone, used by
// draw, and of the placement it sets; mds_attach.cpp must not define it again.
#include "model/mdc.h"
#include "model/mds.h"

// The model's world matrix becomes the inverse of the bone's rotation (its
// transpose: a pure rotation) with the bone's position as the fourth row.
int MDS::attachToBone(MDC* model, std::uint32_t bone) {
    if (!loaded_) return -1;
    if (!model) return -2;
    if (bone >= static_cast<std::uint32_t>(header_.NumBones)) return -3;
    // No frame evaluated yet (a model without frames): nothing to place at,
    // refused like a bone outside the list and the matrix left as it is.
    if (bone >= poses_.size()) return -3;

    model->world = placementAt(bone);
    return 1;
}

D3DXMATRIX MDS::placementAt(std::uint32_t bone) const {
    const BonePose& pose = poses_[bone];
    D3DXMATRIX world;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) world(r, c) = pose.rotation(c, r);
    world(3, 0) = pose.position.x;
    world(3, 1) = pose.position.y;
    world(3, 2) = pose.position.z;
    world(3, 3) = 1.0f;
    return world;
}

D3DXMATRIX MDS::attachmentWorld(Slot slot) const {
    const std::uint32_t bone = kSlotBone[slot];
    const bool placed = loaded_ && bone < static_cast<std::uint32_t>(header_.NumBones) && bone < poses_.size();
    return placed ? placementAt(bone) : slots_[slot]->world;
}
