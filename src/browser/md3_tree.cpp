// The tree of an MD3 file: header, frame nodes (each with its bounds, its
// tags and every surface's vertices in that frame), and the surfaces with
// their shaders, triangles and texture coordinates.
#include "browser/format_trees.h"
#include "browser/tree_writer.h"

namespace browser {

namespace {

constexpr double kScale = formats::kMd3VertexScale;

class Md3Tree : TreeWriter {
public:
    Md3Tree(formats::ByteView bytes, const formats::Md3Index& index, TreeNode root, TreeSink& sink)
        : TreeWriter(bytes, index.refusal, root, sink), x_(index) {}

    bool build() {
        if (!x_.readable) return damaged();
        addFields<formats::Md3Header>(out_.sink(), root_, b_, 0);
        const TreeNode frames = out_.add(root_, "Frames (%d)", x_.header.NumFrames);
        if (!x_.frames.inside || !x_.tags.inside) return damaged();
        for (std::int64_t k = 0; k < x_.frames.count; ++k) out_.frameNode(frames, n(k));
        const TreeNode surfaces = out_.add(root_, "Surfaces (%d)", x_.header.NumSurfaces);
        for (std::size_t i = 0; i < x_.surfaces.size(); ++i)
            if (!surface(surfaces, static_cast<int>(i), x_.surfaces[i])) return false;
        return finished();
    }

    void frame(TreeNode node, int k) {
        if (!x_.frames.inside || k < 0 || k >= x_.frames.count) return;
        addFields<formats::Md3Frame>(out_.sink(), node, b_, x_.frame(k));
        const TreeNode tags = out_.add(node, "Tags (%d)", x_.header.NumTags);
        for (std::int32_t t = 0; x_.tags.inside && t < x_.header.NumTags; ++t) {
            const std::int64_t at = x_.tag(k, t);
            const TreeNode tag = out_.add(tags, "Tag %d: %s", t, fieldOf<formats::Md3Tag>(b_, at, "Name").c_str());
            addFields<formats::Md3Tag>(out_.sink(), tag, b_, at, {"Origin", "Axis"});
        }
        for (std::size_t i = 0; i < x_.surfaces.size(); ++i) {
            const formats::Md3SurfaceIndex& s = x_.surfaces[i];
            if (!s.xyzNormals.inside || k >= s.header.NumFrames) continue;
            const TreeNode list = out_.add(node, "Surface %d (%s): vertices (%d)", static_cast<int>(i), s.name.c_str(),
                                           s.header.NumVertices);
            for (std::int64_t v = 0; v < s.numVertices(); ++v) {
                const auto p = b_.read<formats::Md3XyzNormal>(s.xyzNormal(k, v));
                float normal[3];
                formats::md3Normal(p.Normal, normal);
                out_.add(list, "%d: %d, %d, %d (%f, %f, %f)  normal %u (%f, %f, %f)", n(v), int{p.xyz[0]},
                         int{p.xyz[1]}, int{p.xyz[2]}, p.xyz[0] * kScale, p.xyz[1] * kScale, p.xyz[2] * kScale,
                         unsigned{p.Normal}, d(normal[0]), d(normal[1]), d(normal[2]));
            }
        }
    }

private:
    bool surface(TreeNode list, int index, const formats::Md3SurfaceIndex& s) {
        const TreeNode node = out_.add(list, "Surface %d (%s)", index, s.name.c_str());
        addFields<formats::Md3Surface>(out_.sink(), node, b_, s.at, {"Id", "Flags", "NumFrames", "OffsetEnd"});
        const TreeNode shaders = out_.add(node, "Shaders (%d)", s.header.NumShaders);
        if (!s.shaders.inside) return damaged();
        for (std::int64_t k = 0; k < s.shaders.count; ++k) {
            const auto shader = b_.read<formats::Md3Shader>(s.shader(k));
            out_.add(shaders, "Shader %d: %s (index %d)", n(k), formats::nameOf(shader.Name).c_str(), shader.ShaderIndex);
        }
        const TreeNode triangles = out_.add(node, "Triangles (%d)", s.header.NumTriangles);
        if (!s.triangles.inside) return damaged();
        for (std::int64_t t = 0; t < s.triangles.count; ++t) {
            const auto tri = b_.read<formats::Md3Triangle>(s.triangle(t));
            out_.add(triangles, "Triangle %d: %d, %d, %d", n(t), tri.Indices[0], tri.Indices[1], tri.Indices[2]);
        }
        const TreeNode texCoords = out_.add(node, "TexCoords (%d)", s.header.NumVertices);
        if (!s.texCoords.inside) return damaged();
        for (std::int64_t v = 0; v < s.texCoords.count; ++v) {
            const auto tc = b_.read<formats::Md3TexCoord>(s.texCoord(v));
            out_.add(texCoords, "%d: %f, %f", n(v), d(tc.u), d(tc.v));
        }
        out_.add(node, "VertexFrames (%d frames x %d)", s.header.NumFrames, s.header.NumVertices);
        return s.xyzNormals.inside || damaged();
    }

    const formats::Md3Index& x_;
};

}  // namespace

bool md3Tree(formats::ByteView bytes, const formats::Md3Index& index, TreeNode root, TreeSink& sink) {
    return Md3Tree(bytes, index, root, sink).build();
}

void fillMd3Frame(formats::ByteView bytes, const formats::Md3Index& index, TreeSink& sink, TreeNode node, int k) {
    Md3Tree(bytes, index, node, sink).frame(node, k);
}

}  // namespace browser
