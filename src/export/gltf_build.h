// An asset (asset.h) as a glTF 2.0 model (TinyGLTF's in-memory form).
//
// Axes: glTF's +Y is the game's up (z), +Z its left (y), +X its forward
// (x): (x, y, z)_glTF = scale x (y, z, x)_game, a proper rotation, written
// into every position, node and animation value (no conversion node), so
// a client sees metres (scale 0.0254: a game unit is an inch) with Y up.
// Triangles are written counter-clockwise, the game's front.
//
// Nodes: one joint per bone under one armature node (the joints' common
// root); tags under the bone or model they hang on; each attached model a
// node under its bone or tag, its surfaces and tags under it; each surface
// one mesh in a node of its own, the skinned ones at the scene's root.
// Animations: one per clip, sampled once per frame with LINEAR; a model
// that follows the clips shows its frames as morph targets.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <tiny_gltf.h>

#include "export/asset.h"
#include "export/bind_pose.h"

namespace exporter {

struct ExportOptions {
    double scale = 0.0254;
    // What the nodes show without an animation: a frame, or a step of the
    // legs/torso pair when the first clip is one.
    std::uint32_t frame = 0;
    std::optional<std::uint32_t> bindFrame;  // unset: the frame of least residual
    int weightsPerVertex = 4;                // 4, or 8 (a second set of joints and weights)
    // Empty: images go into buffer 0 (a .glb's binary chunk). Otherwise one
    // URI per asset image (a .gltf with its images beside it).
    std::vector<std::string> imageUris;
    std::string generator = "korvane-export";
};

struct ExportReport {
    bool skinned = false;
    BindFrame bind;
    WeightLoss loss;
    std::size_t meshes = 0, nodes = 0, animations = 0, morphTargets = 0;
};

// False with one line when the options do not fit the asset (a frame past
// its frames).
bool buildGltf(const Asset& asset, const ExportOptions& options, tinygltf::Model& model, ExportReport& report,
               std::string& error);

}  // namespace exporter
