// The glTF nodes of an asset and where each one is at a given pose: joints
// (node i is bone i), the armature, the asset's tags, the models and their
// tags, then the surface nodes, which never move on their own.
#pragma once

#include <vector>

#include "export/asset.h"
#include "export/transforms.h"

namespace exporter {

struct Node {
    enum class Kind { Joint, Armature, Tag, Model, ModelTag, Surface } kind;
    int index = -1;  // bone, tag, model
    int sub = -1;    // a model's tag or surface
    int parent = -1; // node, or -1 at the scene's root
    std::string name;
};

// What a pose is made of: the skeleton's bones at one frame, and the frame
// of the models that follow the clips.
struct PoseState {
    std::vector<formats::BonePose3> bones;
    std::uint32_t modelFrame = 0;
};

class NodeLayout {
public:
    explicit NodeLayout(const Asset& asset);

    const std::vector<Node>& nodes() const { return nodes_; }
    int armature() const { return armature_; }
    int modelNode(int model) const { return modelNodes_[static_cast<std::size_t>(model)]; }
    // The node's transform relative to its parent at `state`, for every
    // node that is not a surface (surface nodes: identity).
    void locals(const PoseState& state, std::vector<Xf>& out) const;
    // The frame a model shows at `state`.
    std::uint32_t frameOf(int model, const PoseState& state) const;
    int add(Node node);

private:
    Xf global(int node, const PoseState& state, std::vector<Xf>& memo, std::vector<char>& done) const;
    int mountNode(const Mount& mount) const;

    const Asset& asset_;
    std::vector<Node> nodes_;
    int armature_ = -1;
    std::vector<int> tagNodes_, modelNodes_;
    std::vector<std::vector<int>> modelTagNodes_;
};

}  // namespace exporter
