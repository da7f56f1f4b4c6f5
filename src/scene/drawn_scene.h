// What korvane-render (and the exporter) draw, whatever it is made of: a
// player folder, one model file, a character. The programs pose it by step,
// ask it for its box to frame it, and hand its renderables to the
// renderer; they need not know what it holds.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

class Renderable;

namespace scene {

// An axis-aligned box in the game's axes (x forward, y left, z up).
struct Box {
    float min[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                    std::numeric_limits<float>::max()};
    float max[3] = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                    std::numeric_limits<float>::lowest()};

    bool empty() const { return min[0] > max[0]; }
    void add(float x, float y, float z) {
        const float p[3] = {x, y, z};
        for (int i = 0; i < 3; ++i) {
            min[i] = std::min(min[i], p[i]);
            max[i] = std::max(max[i], p[i]);
        }
    }
    void add(const Box& other) {
        if (other.empty()) return;
        add(other.min[0], other.min[1], other.min[2]);
        add(other.max[0], other.max[1], other.max[2]);
    }
};

class DrawnScene {
public:
    virtual ~DrawnScene() = default;
    // What the renderer draws, in drawing order; owned by the scene.
    virtual std::vector<Renderable*> renderables() = 0;
    // The steps it can be posed at: a model's frames, or the steps of an
    // animation or of a legs/torso pair.
    virtual std::uint32_t numSteps() const = 0;
    // Poses everything at `step` (below numSteps()).
    virtual void setStep(std::uint32_t step) = 0;
    // The box of everything drawn at the current step, attachments included.
    virtual Box bounds() const = 0;
};

}  // namespace scene
