// The soldier's skeleton: 56 named bones in a parent-before-child list,
// each with its rest position. In the rest pose every bone has the identity
// orientation, so a bone's orientation in any frame is the turn of its limb
// away from the rest pose.
//
// The viewer hangs its five attachments at fixed bones (belt left 55, belt
// right 54, back 51, head 7, hat 8); those bones carry no surface vertices
// and exist only to place the attached models.
#pragma once

#include <string>
#include <vector>

#include "mkplayer/math3.h"

namespace mp {

struct Bone {
    std::string name;
    int parent = -1;
    Vec3 rest;  // rest position, drawing axes
    float torsoWeight = 0.0f;
    bool attachment = false;  // only places an attached model
};

// Indices used by the animation and the meshes.
namespace bone {
enum : int {
    Pelvis = 0, SpineLower, SpineMiddle, SpineUpper, Chest, NeckLower, Neck,
    TagHead = 7,  // head slot
    Head = 8,     // hat slot
    HipL = 9, KneeL, AnkleL, FootL, ToeL,
    HipR = 14, KneeR, AnkleR, FootR, ToeR,
    ClavicleL = 19, ShoulderL, ElbowL, WristL, HandL,
    FingersL = 24,  // thumb, index, middle, ring, little: two bones each (24..33)
    ClavicleR = 34, ShoulderR, ElbowR, WristR,
    HandR = 38,     // "tag_armright"
    FingersR = 39,  // 39..48
    TagChest = 49, TagWeapon = 50,
    TagBack = 51,   // back slot
    TagLegL = 52, TagLegR = 53,
    TagBeltR = 54,  // belt right slot
    TagBeltL = 55,  // belt left slot
    Count = 56
};
}

const std::vector<Bone>& skeleton();

// Distance from the bone's parent in the rest pose (0 for the root).
float restLength(int index);

}  // namespace mp
