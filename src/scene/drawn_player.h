// The player scene as the command-line programs draw it: one body (which
// draws its head, hat and accessories itself), posed by body frame, boxed
// with everything it draws at that frame.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d8/d3dx8.h"
#include "scene/drawn_scene.h"
#include "scene/player_scene.h"

class MDC;

namespace scene {

// Adds the points `model` shows (drawing axes) placed by `world` to `box`
// (game axes): an attached model as it is drawn.
void addPlaced(Box& box, const MDC& model, const D3DXMATRIX& world);

class DrawnPlayer final : public DrawnScene {
public:
    // The scene is not owned and outlives this; its body is read at each
    // call, so a body skin changed in between is drawn and boxed.
    explicit DrawnPlayer(PlayerScene& player) : player_(player) {}

    std::vector<Renderable*> renderables() override;
    // The body's frames (0 while it is not loaded).
    std::uint32_t numSteps() const override;
    void setStep(std::uint32_t step) override;
    // The skinned surfaces (while the body shows them), the skeleton lines
    // and the attached models where the body places them.
    Box bounds() const override;

private:
    PlayerScene& player_;
};

}  // namespace scene
