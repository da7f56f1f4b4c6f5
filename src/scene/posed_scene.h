// A scene that korvane-render poses step by step and can say more about
// than a DrawnScene: what each step shows (Steps: frames, an animation, or
// legs and torso apart) and the level of detail of its skeletal meshes.
#pragma once

#include <string>
#include <vector>

#include "drawables/skinned_mesh.h"
#include "scene/drawn_scene.h"
#include "scene/pose_steps.h"

namespace scene {

class PosedScene : public DrawnScene {
public:
    virtual const Steps& steps() const = 0;
    std::uint32_t numSteps() const override { return steps().count(); }
    // Per surface of each skeletal mesh drawn, at the current step: the
    // model's name and its surfaces' vertices and triangles, kept and in all.
    struct MeshLod {
        std::string model;
        float factor = 1.0f;
        std::vector<drawables::SurfaceLod> surfaces;
    };
    virtual std::vector<MeshLod> lod() const { return {}; }
};

}  // namespace scene
