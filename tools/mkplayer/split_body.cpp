#include "mkplayer/split_body.h"

#include <cstddef>
#include <set>

#include "mkplayer/animation.h"
#include "mkplayer/body.h"

namespace mp {

namespace {

// The bones and all their ancestors, in index order (parents come first).
std::vector<std::int32_t> withAncestors(const std::vector<mg::MdsBoneDesc>& bones, std::set<std::int32_t> refs) {
    for (std::int32_t b : std::set<std::int32_t>(refs))
        for (std::int32_t p = bones[static_cast<std::size_t>(b)].parent; p >= 0;
             p = bones[static_cast<std::size_t>(p)].parent)
            refs.insert(p);
    return {refs.begin(), refs.end()};
}

}  // namespace

mg::MdmModel bodyMdm() {
    const mg::MdsModel body = bodyModel();
    mg::MdmModel m;
    m.name = body.name;
    m.lodScale = body.lodScale;
    m.lodBias = body.lodBias;
    for (std::size_t i = 0; i < body.surfaces.size(); ++i) {
        const mg::MdsSurfaceDesc& s = body.surfaces[i];
        mg::MdmSurfaceDesc d;
        d.name = s.name;
        d.shader = s.shader;
        d.shaderIndex = s.shaderIndex;
        d.minLod = static_cast<std::int32_t>(s.vertices.size() / 4);
        d.vertices.assign(s.vertices.begin(), s.vertices.end());  // without FixedParent and FixedDist
        d.triangles = s.triangles;
        d.collapseMap = s.collapseMap;
        d.boneRefs = withAncestors(body.bones, {s.boneRefs.begin(), s.boneRefs.end()});
        m.surfaces.push_back(std::move(d));
    }
    for (const auto& t : body.tags) {
        mg::MdmTagDesc d;
        d.name = t.name;
        d.boneIndex = t.boneIndex;
        d.boneRefs = withAncestors(body.bones, {t.boneIndex});
        m.tags.push_back(std::move(d));
    }
    return m;
}

namespace {

mg::MdxModel framesMdx(int first, int end) {
    const mg::MdsModel body = bodyModel();
    mg::MdxModel m;
    m.name = body.name;
    m.torsoParent = body.torsoParent;
    m.bones = body.bones;
    m.frames.assign(body.frames.begin() + first, body.frames.begin() + end);
    return m;
}

}  // namespace

mg::MdmTagDesc tagOnBone(const std::string& name, std::int32_t bone, const std::array<float, 3>& offset) {
    mg::MdmTagDesc d;
    d.name = name;
    d.boneIndex = bone;
    d.offset = offset;
    d.boneRefs = withAncestors(bodyModel().bones, {bone});
    return d;
}

mg::MdxModel walkMdx() { return framesMdx(0, kWalkFrames); }

mg::MdxModel idleMdx() { return framesMdx(kWalkFrames, kFrameCount); }

}  // namespace mp
