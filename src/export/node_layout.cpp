#include "export/node_layout.h"

namespace exporter {

int NodeLayout::add(Node node) {
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size() - 1);
}

int NodeLayout::mountNode(const Mount& m) const {
    if (m.bone >= 0 && asset_.skeleton && static_cast<std::size_t>(m.bone) < asset_.skeleton->size()) return m.bone;
    if (m.tag >= 0 && static_cast<std::size_t>(m.tag) < tagNodes_.size()) return tagNodes_[static_cast<std::size_t>(m.tag)];
    if (m.model >= 0 && static_cast<std::size_t>(m.model) < modelTagNodes_.size()) {
        const auto& tags = modelTagNodes_[static_cast<std::size_t>(m.model)];
        if (m.modelTag >= 0 && static_cast<std::size_t>(m.modelTag) < tags.size())
            return tags[static_cast<std::size_t>(m.modelTag)];
    }
    return -1;
}

NodeLayout::NodeLayout(const Asset& asset) : asset_(asset) {
    if (asset.skeleton) {
        const Skeleton& s = *asset.skeleton;
        for (std::size_t b = 0; b < s.size(); ++b) add({Node::Kind::Joint, static_cast<int>(b), -1, s.parents[b], s.names[b]});
        armature_ = add({Node::Kind::Armature, -1, -1, -1, asset.name.empty() ? "armature" : asset.name});
        for (std::size_t b = 0; b < s.size(); ++b)
            if (nodes_[b].parent < 0) nodes_[b].parent = armature_;
    }
    // Tags and models are hung in the asset's order; a mount names only
    // what comes before it.
    for (std::size_t t = 0; t < asset.tags.size(); ++t)
        tagNodes_.push_back(add({Node::Kind::Tag, static_cast<int>(t), -1, mountNode(asset.tags[t].mount), asset.tags[t].name}));
    for (std::size_t m = 0; m < asset.models.size(); ++m) {
        const FrameModel& model = asset.models[m];
        const int node = add({Node::Kind::Model, static_cast<int>(m), -1, mountNode(model.mount), model.name});
        modelNodes_.push_back(node);
        modelTagNodes_.emplace_back();
        for (std::size_t k = 0; k < model.tags.size(); ++k)
            modelTagNodes_.back().push_back(
                add({Node::Kind::ModelTag, static_cast<int>(m), static_cast<int>(k), node, model.tags[k].name}));
    }
}

std::uint32_t NodeLayout::frameOf(int model, const PoseState& state) const {
    const FrameModel& m = asset_.models[static_cast<std::size_t>(model)];
    const std::uint32_t f = m.followsClips ? state.modelFrame : m.shownFrame;
    return f < m.numFrames ? f : 0;
}

Xf NodeLayout::global(int node, const PoseState& state, std::vector<Xf>& memo, std::vector<char>& done) const {
    if (node < 0) return Xf{};
    const auto n = static_cast<std::size_t>(node);
    if (done[n]) return memo[n];
    const Node& info = nodes_[n];
    Xf out;
    const auto mountGlobal = [&](const Mount& m) {
        if (m.bone >= 0 && static_cast<std::size_t>(m.bone) < state.bones.size())
            return poseOf(state.bones[static_cast<std::size_t>(m.bone)], m.inverseTurn);
        return global(mountNode(m), state, memo, done);
    };
    switch (info.kind) {
        case Node::Kind::Joint: out = poseOf(state.bones[static_cast<std::size_t>(info.index)]); break;
        case Node::Kind::Tag: {
            const Tag& tag = asset_.tags[static_cast<std::size_t>(info.index)];
            out = compose(mountGlobal(tag.mount), placeOf(tag.origin, &tag.axis[0][0]));
            break;
        }
        case Node::Kind::Model: out = mountGlobal(asset_.models[static_cast<std::size_t>(info.index)].mount); break;
        case Node::Kind::ModelTag: {
            const FrameTag& tag = asset_.models[static_cast<std::size_t>(info.index)].tags[static_cast<std::size_t>(info.sub)];
            const std::size_t f = frameOf(info.index, state);
            out = compose(global(info.parent, state, memo, done), placeOf(&tag.origins[3 * f], &tag.axes[9 * f]));
            break;
        }
        case Node::Kind::Armature:
        case Node::Kind::Surface: out = global(info.parent, state, memo, done); break;
    }
    memo[n] = out;
    done[n] = 1;
    return out;
}

void NodeLayout::locals(const PoseState& state, std::vector<Xf>& out) const {
    std::vector<Xf> memo(nodes_.size());
    std::vector<char> done(nodes_.size(), 0);
    out.assign(nodes_.size(), Xf{});
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
        const Node& info = nodes_[n];
        if (info.kind == Node::Kind::Surface || info.kind == Node::Kind::Armature) continue;
        const Xf g = global(static_cast<int>(n), state, memo, done);
        out[n] = info.parent < 0 ? g : compose(inverse(global(info.parent, state, memo, done)), g);
    }
}

}  // namespace exporter
