#include "mkplayer/skeleton.h"

namespace mp {

namespace {

// Rest positions are written in file units (x forward, y left, z up; the
// feet stand on z = 0) and kept in drawing axes.
Bone at(const char* name, int parent, float x, float y, float z, float torso = 0.0f, bool attachment = false) {
    return {name, parent, fromFile(x, y, z), torso, attachment};
}

// One side's leg, arm and fingers; side is +1 for left (file +y), -1 for right.
void addLeg(std::vector<Bone>& b, const char* suffix, float side) {
    const std::string s = suffix;
    const int hip = static_cast<int>(b.size());
    b.push_back(at(("hip_" + s).c_str(), bone::Pelvis, 0.0f, 4.0f * side, 36.0f));
    b.push_back(at(("knee_" + s).c_str(), hip, 0.6f, 4.2f * side, 19.5f));
    b.push_back(at(("ankle_" + s).c_str(), hip + 1, 0.0f, 4.2f * side, 3.5f));
    b.push_back(at(("foot_" + s).c_str(), hip + 2, 4.5f, 4.3f * side, 1.0f));
    b.push_back(at(("toe_" + s).c_str(), hip + 3, 7.5f, 4.3f * side, 0.8f));
}

void addArm(std::vector<Bone>& b, const char* suffix, float side, const char* handName) {
    const std::string s = suffix;
    const int clav = static_cast<int>(b.size());
    b.push_back(at(("clavicle_" + s).c_str(), bone::Chest, 0.0f, 2.0f * side, 57.5f, 1.0f));
    b.push_back(at(("shoulder_" + s).c_str(), clav, -0.3f, 8.0f * side, 57.0f, 1.0f));
    b.push_back(at(("elbow_" + s).c_str(), clav + 1, -0.3f, 9.6f * side, 46.0f, 1.0f));
    b.push_back(at(("wrist_" + s).c_str(), clav + 2, 0.4f, 10.0f * side, 36.5f, 1.0f));
    b.push_back(at(handName, clav + 3, 0.5f, 10.1f * side, 34.0f, 1.0f));
    const int hand = clav + 4;
    // Finger bases along the hand's front edge, the thumb forward and in.
    static const char* const names[5] = {"thumb", "index", "middle", "ring", "little"};
    const float baseX[5] = {2.0f, 1.6f, 0.6f, -0.4f, -1.3f};
    const float baseY[5] = {9.3f, 10.0f, 10.1f, 10.1f, 10.0f};
    const float baseZ[5] = {33.4f, 31.8f, 31.6f, 31.8f, 32.2f};
    const float tipZ[5] = {31.6f, 29.5f, 29.1f, 29.4f, 30.2f};
    for (int f = 0; f < 5; ++f) {
        const std::string n = std::string(names[f]) + "_" + s;
        const int base = static_cast<int>(b.size());
        b.push_back(at((n + "_1").c_str(), hand, baseX[f] + (f == 0 ? 0.5f : 0.0f), baseY[f] * side, baseZ[f], 1.0f));
        b.push_back(at((n + "_2").c_str(), base, baseX[f] + (f == 0 ? 1.0f : 0.0f), baseY[f] * side, tipZ[f], 1.0f));
    }
}

std::vector<Bone> build() {
    std::vector<Bone> b;
    b.push_back(at("pelvis", -1, 0.0f, 0.0f, 38.0f));
    b.push_back(at("spine_lower", 0, -0.3f, 0.0f, 42.0f, 0.3f));
    b.push_back(at("spine_middle", 1, -0.5f, 0.0f, 47.0f, 0.6f));
    b.push_back(at("spine_upper", 2, -0.4f, 0.0f, 52.0f, 0.9f));
    b.push_back(at("chest", 3, 0.0f, 0.0f, 56.0f, 1.0f));
    b.push_back(at("neck_lower", 4, 0.0f, 0.0f, 59.0f, 1.0f));
    b.push_back(at("neck", 5, 0.3f, 0.0f, 61.5f, 1.0f));
    b.push_back(at("tag_head", 6, 0.4f, 0.0f, 63.0f, 1.0f, true));
    b.push_back(at("head", 7, 0.4f, 0.0f, 72.2f, 1.0f, true));
    addLeg(b, "left", 1.0f);
    addLeg(b, "right", -1.0f);
    addArm(b, "left", 1.0f, "hand_left");
    addArm(b, "right", -1.0f, "tag_armright");
    b.push_back(at("tag_chest", bone::Chest, 4.0f, 0.0f, 55.0f, 1.0f));
    b.push_back(at("tag_weapon", bone::HandR, 1.5f, -10.1f, 33.0f, 1.0f));
    b.push_back(at("tag_back", bone::SpineUpper, -5.0f, 0.0f, 51.0f, 0.9f, true));
    b.push_back(at("tag_leg_left", bone::KneeL, 2.3f, 4.6f, 27.0f));
    b.push_back(at("tag_leg_right", bone::KneeR, 2.3f, -4.6f, 27.0f));
    b.push_back(at("tag_belt_right", bone::Pelvis, 3.0f, -5.0f, 40.5f, 0.0f, true));
    b.push_back(at("tag_belt_left", bone::Pelvis, 3.0f, 5.0f, 40.5f, 0.0f, true));
    return b;
}

}  // namespace

const std::vector<Bone>& skeleton() {
    static const std::vector<Bone> bones = build();
    return bones;
}

float restLength(int index) {
    const Bone& b = skeleton()[index];
    return b.parent < 0 ? 0.0f : length(b.rest - skeleton()[b.parent].rest);
}

}  // namespace mp
