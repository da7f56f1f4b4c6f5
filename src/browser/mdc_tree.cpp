#include "browser/format_trees.h"

#include <cstring>
#include <string>

#include "browser/tree_writer.h"

namespace browser {

namespace {

using formats::MdcIndex;
using formats::MdcSurfaceIndex;

constexpr double kScale = formats::kMdcVertexScale;

class MdcTree : TreeWriter {
public:
    MdcTree(formats::ByteView bytes, const MdcIndex& index, TreeNode root, TreeSink& sink)
        : TreeWriter(bytes, index.refusal, root, sink), x_(index) {}

    bool build() {
        if (!x_.readable) return damaged();
        const formats::MdcHeader& h = x_.header;
        addFields<formats::MdcHeader>(out_.sink(), root_, b_, 0, {"Id", "Version", "Name", "Flags", "NumSkins", "OffsetEnd"});
        if (!frames() || !tags()) return false;
        const TreeNode list = out_.add(root_, "Surfaces (%d)", h.NumSurfaces);
        for (std::size_t i = 0; i < x_.surfaces.size(); ++i)
            if (!surface(list, static_cast<int>(i), x_.surfaces[i])) return false;
        return finished();
    }

private:

    bool frames() {
        const TreeNode list = out_.add(root_, "Frames (%d)", x_.header.NumFrames);
        if (!x_.frames.inside) return damaged();
        for (std::int64_t k = 0; k < x_.frames.count; ++k) {
            const TreeNode node = out_.add(list, "Frame %d: %s", n(k),
                                           fieldOf<formats::MdcFrame>(b_, x_.frame(k), "Name").c_str());
            addFields<formats::MdcFrame>(out_.sink(), node, b_, x_.frame(k), {"bboxMin", "bboxMax", "LocalOrigin", "Radius"});
        }
        return true;
    }

    bool tags() {
        const TreeNode list = out_.add(root_, "Tags (%d)", x_.header.NumTags);
        if (!x_.tagNames.inside || !x_.tagFrames.inside) return damaged();
        for (std::int64_t i = 0; i < x_.tagNames.count; ++i) {
            const auto name = b_.read<formats::MdcTagName>(x_.tagName(i));
            const TreeNode tag = out_.add(list, "Tag %d: %s", n(i), formats::nameOf(name.Name).c_str());
            for (std::int64_t k = 0; k < x_.frames.count; ++k) {
                const auto t = b_.read<formats::MdcTagFrame>(x_.tagFrame(k, i));
                out_.add(tag, "Frame %d: xyz %d, %d, %d (%f, %f, %f)  angles %d, %d, %d (%f, %f, %f degrees)", n(k),
                         int{t.xyz[0]}, int{t.xyz[1]}, int{t.xyz[2]}, t.xyz[0] * kScale, t.xyz[1] * kScale,
                         t.xyz[2] * kScale, int{t.angles[0]}, int{t.angles[1]}, int{t.angles[2]},
                         t.angles[0] * kDegreesPerUnit, t.angles[1] * kDegreesPerUnit, t.angles[2] * kDegreesPerUnit);
            }
        }
        return true;
    }

    bool surface(TreeNode list, int index, const MdcSurfaceIndex& s) {
        const formats::MdcSurface& sf = s.header;
        const TreeNode node = out_.add(list, "Surface %d (%s)", index, s.name.c_str());
        addFields<formats::MdcSurface>(out_.sink(), node, b_, s.at, {"Id", "Flags", "NumCompFrames", "NumBaseFrames", "OffsetEnd"});

        const TreeNode shaders = out_.add(node, "Shaders (%d)", sf.NumShaders);
        if (!s.shaders.inside) return damaged();
        for (std::int64_t k = 0; k < s.shaders.count; ++k) {
            const auto shader = b_.read<formats::MdcShader>(s.shader(k));
            out_.add(shaders, "Shader %d: %s (index %d)", n(k), formats::nameOf(shader.Name).c_str(), shader.ShaderIndex);
        }
        const TreeNode triangles = out_.add(node, "Triangles (%d)", sf.NumTriangles);
        if (!s.triangles.inside) return damaged();
        for (std::int64_t t = 0; t < s.triangles.count; ++t) {
            const auto tri = b_.read<formats::MdcTriangle>(s.triangle(t));
            out_.add(triangles, "Triangle %d: %d, %d, %d", n(t), tri.Indices[0], tri.Indices[1], tri.Indices[2]);
        }
        const TreeNode texCoords = out_.add(node, "TexCoords (%d)", sf.NumVertices);
        if (!s.texCoords.inside) return damaged();
        for (std::int64_t v = 0; v < s.texCoords.count; ++v) {
            const auto tc = b_.read<formats::MdcTexCoord>(s.texCoord(v));
            out_.add(texCoords, "%d: %f, %f", n(v), d(tc.u), d(tc.v));
        }
        const std::int64_t numVertices = s.numVertices();
        const TreeNode bases = out_.add(node, "BaseVertices (%d frames x %d)", sf.NumBaseFrames, sf.NumVertices);
        if (!s.baseVertices.inside) return damaged();
        for (std::int64_t v = 0; v < s.baseVertices.count; ++v) {
            const auto bv = b_.read<formats::MdcBaseVertex>(s.baseVertex(0, v));
            out_.add(bases, "Base frame %d vertex %d: %d, %d, %d (%f, %f, %f) (normal %u)", n(v / numVertices),
                     n(v % numVertices), int{bv.x}, int{bv.y}, int{bv.z}, bv.x * kScale, bv.y * kScale, bv.z * kScale,
                     unsigned{bv.Normal});
        }
        const TreeNode comps = out_.add(node, "CompVertices (%d frames x %d)", sf.NumCompFrames, sf.NumVertices);
        if (!s.compVertices.inside) return damaged();
        for (std::int64_t v = 0; v < s.compVertices.count; ++v) {
            const auto cv = b_.read<formats::MdcCompVertex>(s.compVertex(0, v));
            out_.add(comps, "Comp frame %d vertex %d: %u, %u, %u (normal %u)", n(v / numVertices), n(v % numVertices),
                     cv & 0xFFu, (cv >> 8) & 0xFFu, (cv >> 16) & 0xFFu, cv >> 24);
        }
        const TreeNode baseTable = out_.add(node, "FrameBaseFrames (%d)", x_.header.NumFrames);
        if (!s.frameBaseFrames.inside) return damaged();
        for (std::int64_t f = 0; f < s.frameBaseFrames.count; ++f)
            out_.add(baseTable, "%d: %u", n(f), unsigned{b_.read<std::uint16_t>(s.frameBaseFrame(f))});
        const TreeNode compTable = out_.add(node, "FrameCompFrames (%d)", x_.header.NumFrames);
        if (!s.frameCompFrames.inside) return damaged();
        for (std::int64_t f = 0; f < s.frameCompFrames.count; ++f)
            out_.add(compTable, "%d: %d", n(f), int{b_.read<std::int16_t>(s.frameCompFrame(f))});
        return true;
    }

    const MdcIndex& x_;
};

}  // namespace

bool mdcTree(formats::ByteView bytes, const formats::MdcIndex& index, TreeNode root, TreeSink& sink) {
    return MdcTree(bytes, index, root, sink).build();
}

}  // namespace browser
