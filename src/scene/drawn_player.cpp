#include "scene/drawn_player.h"

#include "model/mdc.h"
#include "model/mds.h"

namespace scene {

namespace {

// Drawing axes (x, y, z) are the game's (-y, z, x).
void addDrawn(Box& box, const D3DXVECTOR3& p) { box.add(p.z, -p.x, p.y); }

}  // namespace

void addPlaced(Box& box, const MDC& model, const D3DXMATRIX& world) {
    std::vector<D3DXVECTOR3> points;
    model.shownPositions(points);
    for (const D3DXVECTOR3& p : points) {
        D3DXVECTOR3 placed;
        D3DXVec3TransformCoord(&placed, &p, &world);
        addDrawn(box, placed);
    }
}

std::vector<Renderable*> DrawnPlayer::renderables() {
    MDS* body = player_.body();
    if (body == nullptr || !body->loaded()) return {};
    return {body};
}

std::uint32_t DrawnPlayer::numSteps() const {
    const MDS* body = player_.body();
    return body != nullptr ? body->numFrames() : 0;
}

void DrawnPlayer::setStep(std::uint32_t step) {
    if (MDS* body = player_.body()) body->setFrame(step);
}

Box DrawnPlayer::bounds() const {
    Box box;
    const MDS* body = player_.body();
    if (body == nullptr || !body->loaded()) return box;
    std::vector<D3DXVECTOR3> points;
    if (body->meshVisible) body->skinnedPositions(points);
    // Each bone's line runs from its parent, a root's from the origin.
    if (!body->poses().empty()) points.emplace_back(0.0f, 0.0f, 0.0f);
    for (const BonePose& pose : body->poses()) points.push_back(pose.position);
    for (const D3DXVECTOR3& p : points) addDrawn(box, p);

    for (int slot = MDS::BeltLeft; slot < MDS::SlotCount; ++slot) {
        const MDC* model = body->attachment(static_cast<MDS::Slot>(slot));
        if (model == nullptr) continue;
        addPlaced(box, *model, body->attachmentWorld(static_cast<MDS::Slot>(slot)));
    }
    return box;
}

}  // namespace scene
