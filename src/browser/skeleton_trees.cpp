// The trees of the skeleton formats' files that carry no surfaces of their
// own (MDX), and of the meshes that name their bones (MDM).
#include <string>

#include "browser/format_trees.h"
#include "browser/tree_writer.h"

namespace browser {

namespace {

using formats::CompressedBoneFrame;
using formats::MdsBone;

// A bone index with its name beside it when the name is known.
std::string boneLabel(std::int32_t bone, const std::string& name) {
    return std::to_string(bone) + (name.empty() ? std::string() : " (" + name + ")");
}

double degrees(std::int16_t units) { return units * kDegreesPerUnit; }

class MdxTree : TreeWriter {
public:
    MdxTree(formats::ByteView bytes, const formats::MdxIndex& index, TreeNode root, TreeSink& sink)
        : TreeWriter(bytes, index.refusal, root, sink), x_(index), names_(bytes, index) {}

    bool build() {
        if (!x_.readable) return damaged();
        addFields<formats::MdxHeader>(out_.sink(), root_, b_, 0);
        const TreeNode bones = out_.add(root_, "Bones (%d)", x_.header.NumBones);
        if (!x_.bones.inside) return damaged();
        for (std::int64_t i = 0; i < x_.bones.count; ++i) {
            const auto bone = b_.read<MdsBone>(x_.bone(i));
            const TreeNode node = out_.add(bones, "Bone %d: %s", n(i), formats::nameOf(bone.Name).c_str());
            out_.add(node, "ParentIndex: %s",
                     bone.ParentIndex == -1 ? "none" : boneLabel(bone.ParentIndex, names_(bone.ParentIndex)).c_str());
            addFields<MdsBone>(out_.sink(), node, b_, x_.bone(i), {"TorsoWeight", "ParentDist", "Flags"});
        }
        const TreeNode frames = out_.add(root_, "Frames (%d)", x_.header.NumFrames);
        if (!x_.frames.inside) return damaged();
        for (std::int64_t k = 0; k < x_.frames.count; ++k) out_.frameNode(frames, n(k));
        return finished();
    }

    void frame(TreeNode node, int k) {
        if (!x_.frames.inside || k < 0 || k >= x_.frames.count) return;
        addFields<formats::MdsFrame>(out_.sink(), node, b_, x_.frame(k));
        const TreeNode list = out_.add(node, "Bones (%d)", x_.header.NumBones);
        for (std::int64_t j = 0; j < x_.bones.count; ++j) {
            const auto c = b_.read<CompressedBoneFrame>(x_.boneFrame(k, j));
            out_.add(list, "Bone %d (%s): angles %d, %d, %d, %d (%f, %f, %f degrees)  offset angles %d, %d (%f, %f degrees)",
                     n(j), names_(static_cast<std::int32_t>(j)).c_str(), int{c.Pitch}, int{c.Yaw}, int{c.Roll},
                     int{c.Zero}, degrees(c.Pitch), degrees(c.Yaw), degrees(c.Roll), int{c.OffsetPitch},
                     int{c.OffsetYaw}, degrees(c.OffsetPitch), degrees(c.OffsetYaw));
        }
    }

private:
    const formats::MdxIndex& x_;
    BoneNames names_;
};

class MdmTree : TreeWriter {
public:
    MdmTree(formats::ByteView bytes, const formats::MdmIndex& index, const BoneNames& names, TreeNode root,
            TreeSink& sink)
        : TreeWriter(bytes, index.refusal, root, sink), x_(index), names_(names) {}

    bool build() {
        if (!x_.readable) return damaged();
        addFields<formats::MdmHeader>(out_.sink(), root_, b_, 0);
        const TreeNode surfaces = out_.add(root_, "Surfaces (%d)", x_.header.NumSurfaces);
        for (std::size_t i = 0; i < x_.surfaces.size(); ++i)
            if (!surface(surfaces, static_cast<int>(i), x_.surfaces[i])) return false;
        if (!x_.allSurfaces) return damaged();
        const TreeNode tags = out_.add(root_, "Tags (%d)", x_.header.NumTags);
        for (std::size_t i = 0; i < x_.tags.size(); ++i) {
            const formats::MdmTagIndex& t = x_.tags[i];
            const auto tag = b_.read<formats::MdmTag>(t.at);
            const TreeNode node = out_.add(tags, "Tag %d: %s", static_cast<int>(i), t.name.c_str());
            addFields<formats::MdmTag>(out_.sink(), node, b_, t.at, {"Axis"});
            out_.add(node, "BoneIndex: %s", boneLabel(tag.BoneIndex, names_(tag.BoneIndex)).c_str());
            addFields<formats::MdmTag>(out_.sink(), node, b_, t.at, {"Offset", "OffsetEnd"});
            if (!boneRefs(node, t.boneRefs, tag.NumBoneRefs)) return false;
        }
        return finished();
    }

private:
    bool boneRefs(TreeNode parent, const formats::ListAt& refs, std::int32_t count) {
        const TreeNode list = out_.add(parent, "BoneRefs (%d)", count);
        if (!refs.inside) return damaged();
        for (std::int64_t r = 0; r < refs.count; ++r) {
            const auto bone = b_.read<std::int32_t>(refs.at + 4 * r);
            out_.add(list, "%d: %s", n(r), boneLabel(bone, names_(bone)).c_str());
        }
        return true;
    }

    bool surface(TreeNode list, int index, const formats::WeightedSurfaceIndex& s) {
        const TreeNode node = out_.add(list, "Surface %d (%s)", index, s.name.c_str());
        addFields<formats::MdmSurface>(out_.sink(), node, b_, s.at, {"Id", "Shader", "ShaderIndex", "MinLod", "OffsetHeader"});
        const TreeNode verts = out_.add(node, "Vertices (%d)", s.header.NumVertices);
        bool whole = s.verticesInside;
        formats::forEachVertex(b_, s, [&](std::size_t v, std::int64_t at) {
            if (!whole && v + 1 == static_cast<std::size_t>(s.walkedVertices)) return;
            const auto vx = b_.read<formats::MdmVertex>(at);
            const TreeNode vn = out_.add(verts, "Vertex %d: normal %f, %f, %f  tex %f, %f", static_cast<int>(v),
                                         d(vx.Normal[0]), d(vx.Normal[1]), d(vx.Normal[2]), d(vx.TexCoords[0]),
                                         d(vx.TexCoords[1]));
            for (std::int32_t k = 0; k < vx.NumWeights; ++k) {
                const auto w = b_.read<formats::MdsWeight>(s.weight(at, k));
                out_.add(vn, "Weight %d: bone %s  weight %f  offset %f, %f, %f", k,
                         boneLabel(w.BoneIndex, names_(w.BoneIndex)).c_str(), d(w.Weight), d(w.xyz[0]), d(w.xyz[1]),
                         d(w.xyz[2]));
            }
        });
        if (!whole) return damaged();
        const TreeNode tris = out_.add(node, "Triangles (%d)", s.header.NumTriangles);
        if (!s.triangles.inside) return damaged();
        for (std::int64_t t = 0; t < s.triangles.count; ++t) {
            const auto tri = b_.read<formats::MdsTriangle>(s.triangle(t));
            out_.add(tris, "Triangle %d: %d, %d, %d", n(t), tri.Indices[0], tri.Indices[1], tri.Indices[2]);
        }
        const TreeNode map = out_.add(node, "CollapseMap (%d)", s.header.NumVertices);
        if (!s.collapseMap.inside) return damaged();
        for (std::int64_t v = 0; v < s.collapseMap.count; ++v)
            out_.add(map, "%d: %d", n(v), b_.read<std::int32_t>(s.collapseEntry(v)));
        return boneRefs(node, s.boneRefs, s.header.NumBoneRefs);
    }

    const formats::MdmIndex& x_;
    const BoneNames& names_;
};

}  // namespace

std::string BoneNames::operator()(std::int32_t bone) const {
    if (!index_ || !index_->bones.inside || bone < 0 || bone >= index_->bones.count) return {};
    return formats::nameOf(bytes_.read<MdsBone>(index_->bone(bone)).Name);
}

bool mdxTree(formats::ByteView bytes, const formats::MdxIndex& index, TreeNode root, TreeSink& sink) {
    return MdxTree(bytes, index, root, sink).build();
}

void fillMdxFrame(formats::ByteView bytes, const formats::MdxIndex& index, TreeSink& sink, TreeNode node, int k) {
    MdxTree(bytes, index, node, sink).frame(node, k);
}

bool mdmTree(formats::ByteView bytes, const formats::MdmIndex& index, const BoneNames& names, TreeNode root,
             TreeSink& sink) {
    return MdmTree(bytes, index, names, root, sink).build();
}

}  // namespace browser
