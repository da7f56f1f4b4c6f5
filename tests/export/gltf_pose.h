// An independent reading of an exported file: TinyGLTF's loader (not the
// writer's code) and a small evaluator of node transforms, skins and morph
// targets, in glTF's own conventions (column vectors, column-major
// matrices, quaternions x y z w). Positions come back per mesh node as
// world points.
#pragma once

#include <array>
#include <string>
#include <vector>

#include <tiny_gltf.h>

namespace gltftest {

using Vec3 = std::array<double, 3>;

struct PosedMesh {
    std::string name;
    std::vector<Vec3> points;  // world positions at the nodes' default pose and the meshes' default weights
};

// Loads a .glb or .gltf file; false with the loader's message.
bool load(const std::string& path, tinygltf::Model& model, std::string& error);
// Every node with a mesh, in node order; with `animation` (an index), its
// translation and rotation channels sampled at `seconds` (LINEAR: lerp and
// slerp between the keys around it, the end keys beyond them).
std::vector<PosedMesh> posedMeshes(const tinygltf::Model& model, int animation = -1, double seconds = 0.0);
// Floats of an accessor (any stride; normalised integers scaled).
std::vector<double> readAccessor(const tinygltf::Model& model, int accessor);

}  // namespace gltftest
