#include "browser/tree_builder.h"

#include "browser/labeler.h"
#include "formats/identify.h"

#include <cstddef>
#include <cstring>

namespace browser {

namespace {

// Thrown by a read that would leave the bytes; caught by the two entry
// points, which turn it into the exception label.
struct OutsideBytes {};

constexpr double kDegreesPerUnit = 0.0054931640625;  // 360 / 65536

struct NameField {
    char value[formats::kNameLength];
};

double d(float f) { return static_cast<double>(f); }
double degrees(std::int16_t units) { return static_cast<double>(units) * kDegreesPerUnit; }

// Every read of the builders goes through here: a record is read only when
// all its bytes lie inside the file.
class Reader {
public:
    explicit Reader(formats::ByteView bytes) : bytes_(bytes) {}

    template <class T>
    T at(std::int64_t offset) const {
        if (!bytes_.has(offset, static_cast<std::int64_t>(sizeof(T)))) throw OutsideBytes{};
        return bytes_.read<T>(offset);
    }

private:
    formats::ByteView bytes_;
};

// A name field as a terminated string (at most 64 characters, nothing from
// beyond the field).
struct Name {
    char text[formats::kNameLength + 1];
    explicit Name(const char (&field)[formats::kNameLength]) {
        std::size_t n = 0;
        while (n < formats::kNameLength && field[n] != '\0') ++n;
        std::memcpy(text, field, n);
        text[n] = '\0';
    }
};

class TreeBuilder {
public:
    TreeBuilder(const MdsFile& model, TreeSink& sink)
        : read_(model.bytes()), pos_(model.index()), out_(sink), header_(read_.at<formats::MdsHeader>(0)) {}

    void build(TreeNode root) {
        const auto& h = header_;
        out_.add(root, "Id: %d", read_.at<std::int32_t>(0));
        out_.add(root, "Version: %d", h.Version);
        out_.add(root, "Name: %s", Name(h.Name).text);
        out_.add(root, "LodScale: %f", d(h.LodScale));
        out_.add(root, "LodBias: %f", d(h.LodBias));
        out_.add(root, "TorsoParent: %d (%s)", h.TorsoParent, boneName(h.TorsoParent));
        tags(root);
        bones(root);
        const TreeNode surfaces = out_.add(root, "Surfaces (%d)", h.NumSurfaces);
        for (std::size_t i = 0; i < pos_.surfaces.size(); ++i)
            surface(surfaces, static_cast<int>(i), pos_.surfaces[i]);
        frames(root);
    }

private:
    // The name of bone i, or "invalid bone" for an index outside the list.
    const char* boneName(std::int32_t i) {
        if (i < 0 || i >= header_.NumBones) return kLabelInvalidBone;
        const Name name(read_.at<NameField>(pos_.bone(i)).value);
        std::memcpy(boneName_, name.text, sizeof(boneName_));
        return boneName_;
    }

    void tags(TreeNode root) {
        const TreeNode list = out_.add(root, "Tags (%d)", header_.NumTags);
        for (std::int32_t i = 0; i < header_.NumTags; ++i) {
            const auto t = read_.at<formats::MdsTag>(pos_.tag(i));
            const TreeNode node = out_.add(list, "Tag %d: %s", i, Name(t.Name).text);
            out_.add(node, "BoneIndex: %d (%s)", t.BoneIndex, boneName(t.BoneIndex));
            out_.add(node, "TorsoWeight: %f", d(t.TorsoWeight));
        }
    }

    void bones(TreeNode root) {
        const TreeNode list = out_.add(root, "Bones (%d)", header_.NumBones);
        for (std::int32_t i = 0; i < header_.NumBones; ++i) {
            const auto b = read_.at<formats::MdsBone>(pos_.bone(i));
            const TreeNode node = out_.add(list, "Bone %d: %s", i, Name(b.Name).text);
            if (b.ParentIndex == -1)
                out_.text(node, "ParentIndex: none");
            else
                out_.add(node, "ParentIndex: %d (%s)", b.ParentIndex, boneName(b.ParentIndex));
            out_.add(node, "Flags: %u", static_cast<unsigned>(b.Flags));
            out_.add(node, "ParentDist: %f", d(b.ParentDist));
            out_.add(node, "TorsoWeight: %f", d(b.TorsoWeight));
        }
    }

    void surface(TreeNode list, int index, const formats::MdsSurfaceIndex& sp) {
        const auto s = read_.at<formats::MdsSurface>(sp.at);
        const TreeNode node = out_.add(list, "Surface %d (%s)", index, Name(s.Name).text);
        out_.add(node, "Id: %d", s.Id);
        out_.add(node, "Shader: %s", Name(s.Shader).text);
        out_.add(node, "ShaderIndex: %d", s.ShaderIndex);
        out_.add(node, "MinLod: %d", s.MinLod);
        out_.add(node, "OffsetHeader: %d", s.OffsetHeader);
        vertices(node, s, sp);

        const TreeNode tris = out_.add(node, "Triangles (%d)", s.NumTriangles);
        for (std::int32_t t = 0; t < s.NumTriangles; ++t) {
            const auto tri = read_.at<formats::MdsTriangle>(sp.triangle(t));
            out_.add(tris, "Triangle %d: %u, %u, %u", t, static_cast<unsigned>(tri.Indices[0]),
                     static_cast<unsigned>(tri.Indices[1]), static_cast<unsigned>(tri.Indices[2]));
        }
        const TreeNode map = out_.add(node, "CollapseMap (%d)", s.NumVertices);
        for (std::int32_t v = 0; v < s.NumVertices; ++v) {
            const auto entry = read_.at<std::uint32_t>(sp.collapseEntry(v));
            out_.add(map, "%d: %u", v, static_cast<unsigned>(entry));
        }
        const TreeNode refs = out_.add(node, "BoneRefs (%d)", s.NumBoneRefs);
        for (std::int32_t r = 0; r < s.NumBoneRefs; ++r) {
            const auto bone = read_.at<std::int32_t>(sp.boneRef(r));
            out_.add(refs, "%d: %u (%s)", r, static_cast<unsigned>(bone), boneName(bone));
        }
    }

    void vertices(TreeNode node, const formats::MdsSurface& s, const formats::MdsSurfaceIndex& sp) {
        const TreeNode list = out_.add(node, "Vertices (%d)", s.NumVertices);
        for (std::int32_t v = 0; v < s.NumVertices; ++v) {
            // The walk reached every vertex of an accepted file; the reads
            // below still stop at the end of the bytes.
            if (static_cast<std::size_t>(v) >= sp.vertices.size()) throw OutsideBytes{};
            const std::int64_t at = sp.vertices[static_cast<std::size_t>(v)];
            const auto vx = read_.at<formats::MdsVertex>(at);
            const TreeNode vn = out_.add(list, "Vertex %d", v);
            out_.add(vn, "Normal: %f, %f, %f", d(vx.Normal[0]), d(vx.Normal[1]), d(vx.Normal[2]));
            out_.add(vn, "TexCoords: %f, %f", d(vx.TexCoords[0]), d(vx.TexCoords[1]));
            out_.add(vn, "FixedParent: %d", vx.FixedParent);
            const TreeNode weights = out_.add(vn, "Weights (%d)", vx.NumWeights);
            for (std::int32_t i = 0; i < vx.NumWeights; ++i) {
                const auto wt = read_.at<formats::MdsWeight>(sp.weight(at, i));
                const TreeNode wn = out_.add(weights, "Weight %d", i);
                out_.add(wn, "BoneIndex: %d (%s)", wt.BoneIndex, boneName(wt.BoneIndex));
                out_.add(wn, "Weight: %f", d(wt.Weight));
                out_.add(wn, "xyz: %f, %f, %f", d(wt.xyz[0]), d(wt.xyz[1]), d(wt.xyz[2]));
            }
        }
    }

    // Reads nothing: one closed node per frame, with the progress bar moving.
    void frames(TreeNode root) {
        const int n = header_.NumFrames;
        out_.sink().progressRange(0, n - 1);
        out_.sink().progressPos(0);
        const TreeNode list = out_.add(root, "Frames (%d)", n);
        for (int k = 0; k < n; ++k) {
            out_.sink().progressPos(k);
            out_.frameNode(list, k);
        }
    }

    Reader read_;
    const formats::MdsIndex& pos_;
    Labeler<255> out_;
    formats::MdsHeader header_;
    char boneName_[formats::kNameLength + 1] = {};
};

void fillFrameContent(const MdsFile& model, TreeSink& sink, TreeNode node, int k) {
    const Reader read(model.bytes());
    const auto& pos = model.index();
    const auto header = read.at<formats::MdsHeader>(0);
    if (k < 0 || k >= header.NumFrames) throw OutsideBytes{};
    Labeler<256> out(sink);
    const auto f = read.at<formats::MdsFrame>(pos.frame(k));
    out.add(node, "bboxMin: %f, %f, %f", d(f.bboxMin[0]), d(f.bboxMin[1]), d(f.bboxMin[2]));
    out.add(node, "bboxMax: %f, %f, %f", d(f.bboxMax[0]), d(f.bboxMax[1]), d(f.bboxMax[2]));
    out.add(node, "LocalOrigin: %f, %f, %f", d(f.LocalOrigin[0]), d(f.LocalOrigin[1]), d(f.LocalOrigin[2]));
    out.add(node, "Radius: %f", d(f.Radius));
    out.add(node, "ParentOffset: %f, %f, %f", d(f.ParentOffset[0]), d(f.ParentOffset[1]), d(f.ParentOffset[2]));
    const TreeNode list = out.add(node, "CompressedBoneFrames (%d)", header.NumBones);
    for (std::int32_t j = 0; j < header.NumBones; ++j) {
        const auto c = read.at<formats::CompressedBoneFrame>(pos.boneFrame(k, j));
        const TreeNode cn = out.add(list, "CBF %d", j);
        out.add(cn, "Pitch: %f", degrees(c.Pitch));
        out.add(cn, "Yaw: %f", degrees(c.Yaw));
        out.add(cn, "Roll: %f", degrees(c.Roll));
        out.add(cn, "Zero: %d", static_cast<int>(c.Zero));
        out.add(cn, "OffsetPitch: %d", static_cast<int>(c.OffsetPitch));
        out.add(cn, "OffsetYaw: %d", static_cast<int>(c.OffsetYaw));
    }
}

bool hasIdent(formats::ByteView b) { return formats::identify(b).format == formats::Format::Mds; }

}  // namespace

bool toTreeView(const MdsFile& model, TreeNode root, TreeSink& sink) {
    const formats::ByteView bytes = model.bytes();
    const char* failure = nullptr;
    if (!model.held())
        failure = kLabelNotLoaded;
    else if (!hasIdent(bytes))
        failure = kLabelWrongId;
    else if (!bytes.has(0, 8) || bytes.read<std::int32_t>(4) != formats::kMdsVersion)
        failure = kLabelWrongVersion;
    else if (!model.alreadyConverted())
        failure = kLabelNotResolved;
    if (failure) {
        sink.appendLast(root, failure);
        return false;
    }
    try {
        TreeBuilder(model, sink).build(root);
    } catch (const OutsideBytes&) {
        sink.appendLast(root, kLabelException);
        return false;
    }
    return true;
}

void fillFrame(const MdsFile& model, TreeSink& sink, TreeNode frameNode, int k) {
    if (!model.held() || !model.alreadyConverted()) return;
    try {
        fillFrameContent(model, sink, frameNode, k);
    } catch (const OutsideBytes&) {
        sink.appendLast(frameNode, kLabelException);
    }
}

}  // namespace browser
