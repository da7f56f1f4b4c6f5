#include "mkplayer/body_mesh.h"

#include "mkplayer/skeleton.h"

namespace mp {

namespace {

Vec3 restOf(int b) { return skeleton()[b].rest; }
Vec3 lerp(Vec3 a, Vec3 b, float t) { return a + (b - a) * t; }
// A point on the rest line from bone a to bone b.
Vec3 along(int a, int b, float t) { return lerp(restOf(a), restOf(b), t); }
Vec3 file(float x, float y, float z) { return fromFile(x, y, z); }

Influences one(int b) { return {{b, 1.0f}}; }
Influences two(int a, int b, float wa) { return {{a, wa}, {b, 1.0f - wa}}; }
Influences three(int a, float wa, int b, float wb, int c) { return {{a, wa}, {b, wb}, {c, 1.0f - wa - wb}}; }

void addLeg(Mesh& m, int hip, float side) {
    const int knee = hip + 1, ankle = hip + 2, foot = hip + 3, toe = hip + 4;
    const Vec3 top = restOf(hip) + file(0.0f, -0.3f * side, 1.0f);
    std::vector<Ring> rings = {
        {top, 4.0f, 4.2f, 0.0f, two(bone::Pelvis, hip, 0.5f)},
        {along(hip, knee, 0.25f), 3.9f, 4.1f, 0.15f, one(hip)},
        {along(hip, knee, 0.65f), 3.2f, 3.4f, 0.33f, one(hip)},
        {along(hip, knee, 0.9f), 2.8f, 3.0f, 0.44f, two(hip, knee, 0.75f)},
        {restOf(knee), 2.7f, 2.9f, 0.5f, two(hip, knee, 0.5f)},
        {along(knee, ankle, 0.1f), 2.6f, 2.8f, 0.55f, two(knee, hip, 0.75f)},
        {along(knee, ankle, 0.4f), 2.5f, 2.7f, 0.66f, one(knee)},
        // boot shaft
        {along(knee, ankle, 0.55f), 2.6f, 2.7f, 0.72f, one(knee)},
        {along(knee, ankle, 0.85f), 2.3f, 2.5f, 0.85f, one(knee)},
        {restOf(ankle), 2.2f, 2.4f, 0.9f, three(knee, 0.5f, ankle, 0.25f, foot)},
    };
    addTube(m, rings, {8, 0.0f, 1.0f, {0, 0, 1}, false, true});
    // The foot runs forward from the heel; its depth direction is up.
    const float y = restOf(ankle).x;  // drawing x of the ankle
    std::vector<Ring> boot = {
        {file(-2.6f, 0.0f, 2.3f) + Vec3{y, 0, 0}, 2.1f, 2.2f, 0.88f, one(ankle)},
        {file(1.0f, 0.0f, 2.1f) + Vec3{y, 0, 0}, 2.4f, 2.1f, 0.92f, two(ankle, foot, 0.5f)},
        {file(restOf(foot).z, 0.0f, 1.5f) + Vec3{y, 0, 0}, 2.5f, 1.5f, 0.96f, one(foot)},
        {file(restOf(toe).z + 0.6f, 0.0f, 1.0f) + Vec3{y, 0, 0}, 1.9f, 1.0f, 1.0f, two(toe, foot, 0.5f)},
    };
    addTube(m, boot, {8, 0.0f, 1.0f, {0, 1, 0}, true, true});
}

Mesh legs() {
    Mesh m{"legs", {}, {}};
    addLeg(m, bone::HipL, 1.0f);
    addLeg(m, bone::HipR, -1.0f);
    return m;
}

// Texture row of a torso height (file z): the collar at the top, the hips at
// the bottom.
float torsoV(float z) { return (64.0f - z) / 30.0f; }

Ring torsoRing(float x, float z, float side, float depth, Influences inf) {
    return {file(x, 0.0f, z), side, depth, torsoV(z), std::move(inf)};
}

Mesh torso() {
    using namespace bone;
    Mesh m{"torso", {}, {}};
    std::vector<Ring> rings = {
        torsoRing(0.0f, 34.5f, 6.4f, 4.0f, one(Pelvis)),
        torsoRing(0.0f, 37.5f, 7.2f, 4.6f, one(Pelvis)),
        torsoRing(-0.1f, 40.5f, 7.0f, 4.4f, two(Pelvis, SpineLower, 0.5f)),
        torsoRing(-0.3f, 44.0f, 6.8f, 4.2f, two(SpineLower, SpineMiddle, 0.5f)),
        torsoRing(-0.4f, 48.0f, 7.3f, 4.6f, two(SpineMiddle, SpineUpper, 0.5f)),
        torsoRing(-0.3f, 52.0f, 7.9f, 4.9f, two(SpineUpper, Chest, 0.5f)),
        torsoRing(0.0f, 56.0f, 8.6f, 5.0f, one(Chest)),
        torsoRing(0.0f, 58.4f, 8.2f, 4.4f, two(Chest, NeckLower, 0.75f)),
        torsoRing(0.1f, 59.9f, 4.0f, 3.6f, three(NeckLower, 0.5f, Chest, 0.25f, Neck)),
        torsoRing(0.3f, 61.5f, 2.4f, 2.5f, one(Neck)),
        torsoRing(0.4f, 63.6f, 2.2f, 2.3f, one(Neck)),
    };
    addTube(m, rings, {12, 0.0f, 1.0f, {0, 0, 1}, true, true});
    return m;
}

void addSleeve(Mesh& m, int clavicle) {
    const int shoulder = clavicle + 1, elbow = clavicle + 2, wrist = clavicle + 3;
    std::vector<Ring> rings = {
        {restOf(shoulder) + file(0.0f, 0.0f, 1.2f), 2.6f, 2.8f, 0.0f, three(bone::Chest, 0.25f, clavicle, 0.25f, shoulder)},
        {along(shoulder, elbow, 0.15f), 2.6f, 2.7f, 0.1f, one(shoulder)},
        {along(shoulder, elbow, 0.7f), 2.2f, 2.4f, 0.36f, one(shoulder)},
        {along(shoulder, elbow, 0.9f), 2.1f, 2.2f, 0.44f, two(shoulder, elbow, 0.75f)},
        {restOf(elbow), 2.1f, 2.2f, 0.5f, two(shoulder, elbow, 0.5f)},
        {along(elbow, wrist, 0.15f), 2.0f, 2.1f, 0.57f, two(elbow, shoulder, 0.75f)},
        {along(elbow, wrist, 0.7f), 1.9f, 2.0f, 0.82f, one(elbow)},
        {along(elbow, wrist, 0.85f), 2.0f, 2.1f, 0.88f, one(elbow)},
        {restOf(wrist), 1.8f, 1.9f, 1.0f, two(elbow, wrist, 0.5f)},
    };
    addTube(m, rings, {8, 0.0f, 1.0f, {0, 0, 1}, true, true});
}

Mesh arms() {
    Mesh m{"arms", {}, {}};
    addSleeve(m, bone::ClavicleL);
    addSleeve(m, bone::ClavicleR);
    return m;
}

void addHand(Mesh& m, int wrist, int fingers) {
    const int hand = wrist + 1;
    // The palm is flat across (towards the body) and wide front to back.
    std::vector<Ring> palm = {
        {along(wrist, hand, -0.2f), 0.9f, 1.5f, 0.0f, two(wrist, hand, 0.5f)},
        {restOf(hand), 1.0f, 2.0f, 0.3f, one(hand)},
        {restOf(hand) + file(0.1f, 0.0f, -1.9f), 0.8f, 2.0f, 0.55f, one(hand)},
    };
    addTube(m, palm, {8, 0.0f, 0.5f, {0, 0, 1}, true, true});
    for (int f = 0; f < 5; ++f) {
        const int b1 = fingers + 2 * f, b2 = b1 + 1;
        const float r = f == 0 ? 0.5f : 0.42f;
        const Vec3 tip = restOf(b2) + (restOf(b2) - restOf(b1)) * 0.7f;
        std::vector<Ring> finger = {
            {restOf(b1), r, r, 0.55f, two(hand, b1, 0.25f)},
            {restOf(b2), r * 0.95f, r * 0.95f, 0.8f, two(b1, b2, 0.5f)},
            {tip, r * 0.8f, r * 0.8f, 1.0f, one(b2)},
        };
        const float u0 = 0.5f + 0.1f * static_cast<float>(f);
        addTube(m, finger, {4, u0, u0 + 0.1f, {0, 0, 1}, false, true});
    }
}

Mesh hands() {
    Mesh m{"hands", {}, {}};
    addHand(m, bone::WristL, bone::FingersL);
    addHand(m, bone::WristR, bone::FingersR);
    return m;
}

}  // namespace

std::vector<Mesh> bodyMeshes() { return {legs(), torso(), arms(), hands()}; }

}  // namespace mp
