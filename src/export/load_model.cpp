#include "export/load_model.h"

#include <cmath>
#include <cstring>

#include "formats/families/weighted_mesh.h"
#include "formats/identify.h"
#include "formats/md3_index.h"
#include "formats/mdc_index.h"
#include "formats/mdm_index.h"
#include "formats/mds_index.h"
#include "formats/mdx_index.h"

namespace exporter {

namespace {

using formats::ByteView;

ByteView viewOf(const sys::Block& file) { return ByteView(file.data(), file.size()); }

std::string damaged(const std::string& shown, const std::optional<formats::Finding>& refusal) {
    return shown + " is damaged: " + (refusal ? refusal->text() : std::string("it cannot be read"));
}

Skeleton skeletonOf(ByteView bytes, const formats::SkeletonIndex& index, std::int32_t torsoParent, bool mds,
                    const std::string& shown) {
    Skeleton s;
    s.bytes = bytes;
    s.index = index;
    s.torsoParent = torsoParent;
    s.mds = mds;
    s.shown = shown;
    s.numFrames = static_cast<std::uint32_t>(index.frames.count);
    for (std::int64_t i = 0; i < index.bones.count; ++i) {
        const auto bone = bytes.read<formats::MdsBone>(index.bone(i));
        s.names.push_back(formats::nameOf(bone.Name));
        // A parent must come first; any other index makes a root, as the
        // skeleton's evaluation has it.
        s.parents.push_back(bone.ParentIndex >= 0 && bone.ParentIndex < i ? bone.ParentIndex : -1);
    }
    return s;
}

// The triangles of a surface whose indices all name one of its vertices;
// false when one does not.
template <class Triangle>
bool readTriangles(ByteView bytes, const formats::ListAt& list, std::int64_t size, std::uint32_t numVertices,
                   std::vector<std::uint32_t>& out) {
    for (std::int64_t t = 0; t < list.count; ++t) {
        const auto tri = bytes.read<Triangle>(list.at + t * size);
        for (const std::int32_t i : tri.Indices) {
            if (i < 0 || static_cast<std::uint32_t>(i) >= numVertices) return false;
            out.push_back(static_cast<std::uint32_t>(i));
        }
    }
    return true;
}

bool addWeightedSurfaces(Asset& asset, ByteView bytes, const formats::WeightedSurfaces& mesh, const std::string& shown,
                         std::string& error) {
    for (const formats::WeightedSurfaceIndex& s : mesh.surfaces) {
        SkinnedSurface out;
        out.name = s.name;
        out.shader = formats::nameOf(s.header.Shader);
        if (!s.verticesInside || !s.triangles.inside || s.walkedVertices != s.header.NumVertices) {
            error = shown + " is damaged: surface \"" + s.name + "\" lies partly outside the file";
            return false;
        }
        const auto numVertices = static_cast<std::uint32_t>(s.walkedVertices);
        out.texCoords.reserve(2 * std::size_t{numVertices});
        out.normals.reserve(3 * std::size_t{numVertices});
        out.weightStart.reserve(std::size_t{numVertices} + 1);
        // The fixed part of a vertex begins with the normal and the texture
        // coordinates in both formats (formats::MdmVertex is its prefix).
        formats::forEachVertex(bytes, s, [&](std::size_t, std::int64_t at) {
            const auto vertex = bytes.read<formats::MdmVertex>(at);
            out.normals.insert(out.normals.end(), vertex.Normal, vertex.Normal + 3);
            out.texCoords.insert(out.texCoords.end(), vertex.TexCoords, vertex.TexCoords + 2);
            out.weightStart.push_back(static_cast<std::uint32_t>(out.weights.size()));
            for (std::int32_t k = 0; k < vertex.NumWeights; ++k) {
                const auto w = bytes.read<formats::MdsWeight>(s.weight(at, k));
                out.weights.push_back({w.BoneIndex, w.Weight, {w.xyz[0], w.xyz[1], w.xyz[2]}});
            }
        });
        out.weightStart.push_back(static_cast<std::uint32_t>(out.weights.size()));
        if (!readTriangles<formats::MdsTriangle>(bytes, s.triangles, sizeof(formats::MdsTriangle), numVertices,
                                                 out.indices)) {
            error = shown + ": surface \"" + s.name + "\" has a triangle naming a vertex it does not have";
            return false;
        }
        asset.skinned.push_back(std::move(out));
    }
    return true;
}

// Pitch, yaw and roll in degrees as axis rows forward, left, up (the
// family's angle convention).
void anglesToAxis(const float (&degrees)[3], float (&axis)[3][3]) {
    constexpr double kRadians = 3.14159265358979323846 / 180.0;
    const double sp = std::sin(degrees[0] * kRadians), cp = std::cos(degrees[0] * kRadians);
    const double sy = std::sin(degrees[1] * kRadians), cy = std::cos(degrees[1] * kRadians);
    const double sr = std::sin(degrees[2] * kRadians), cr = std::cos(degrees[2] * kRadians);
    const double rows[3][3] = {{cp * cy, cp * sy, -sp},
                               {sr * sp * cy - cr * sy, sr * sp * sy + cr * cy, sr * cp},
                               {cr * sp * cy + sr * sy, cr * sp * sy - sr * cy, cr * cp}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) axis[i][j] = static_cast<float>(rows[i][j]);
}

void appendNormal(std::uint16_t packed, std::vector<float>& out) {
    float n[3];
    formats::md3Normal(packed, n);
    out.insert(out.end(), n, n + 3);
}

std::string shaderAt(ByteView bytes, const formats::FrameMeshSurface& s) {
    if (!s.firstShaderName) return {};
    char name[formats::kNameLength];
    std::memcpy(name, bytes.data() + s.shaderName(), sizeof name);
    return formats::nameOf(name);
}

template <class Index>
bool frameSurfaceStart(ByteView bytes, const Index& s, std::uint32_t numVertices, const std::string& shown,
                       FrameSurface& out, std::string& error) {
    out.name = s.name;
    out.shader = shaderAt(bytes, s);
    if (!s.texCoords.inside || !s.triangles.inside) {
        error = shown + " is damaged: surface \"" + s.name + "\" lies partly outside the file";
        return false;
    }
    for (std::int64_t v = 0; v < s.texCoords.count; ++v) {
        const auto tc = bytes.read<formats::MdcTexCoord>(s.texCoord(v));
        out.texCoords.push_back(tc.u);
        out.texCoords.push_back(tc.v);
    }
    if (!readTriangles<formats::MdcTriangle>(bytes, s.triangles, sizeof(formats::MdcTriangle), numVertices,
                                             out.indices)) {
        error = shown + ": surface \"" + s.name + "\" has a triangle naming a vertex it does not have";
        return false;
    }
    return true;
}

template <class FrameRecord>
void frameNames(ByteView bytes, const formats::ListAt& frames, std::uint32_t numFrames, FrameModel& model) {
    for (std::uint32_t f = 0; f < numFrames; ++f) {
        std::string name;
        if (frames.inside && f < frames.count) {
            const auto record = bytes.read<FrameRecord>(frames.at + f * std::int64_t{sizeof(FrameRecord)});
            name.assign(record.Name, strnlen(record.Name, sizeof record.Name));
        }
        model.frameNames.push_back(name);
    }
}

bool addMd3(Asset& asset, ByteView bytes, const std::string& shown, std::string& error) {
    const formats::Md3Index x = formats::indexMd3(bytes, formats::Reader::Draw);
    if (!x.ok()) {
        error = damaged(shown, x.refusal);
        return false;
    }
    if (x.header.NumFrames < 1) {
        error = shown + ": the model has no frames";
        return false;
    }
    FrameModel model;
    model.name = formats::nameOf(x.header.Name);
    model.numFrames = static_cast<std::uint32_t>(x.header.NumFrames);
    frameNames<formats::Md3Frame>(bytes, x.frames, model.numFrames, model);
    for (const formats::Md3SurfaceIndex& s : x.surfaces) {
        FrameSurface out;
        const auto numVertices = static_cast<std::uint32_t>(s.numVertices());
        if (!frameSurfaceStart(bytes, s, numVertices, shown, out, error)) return false;
        if (!s.xyzNormals.inside || s.header.NumFrames < 1) {
            error = shown + " is damaged: surface \"" + s.name + "\" has no vertex frames inside the file";
            return false;
        }
        // A surface with fewer frames than the model keeps its last one.
        for (std::uint32_t f = 0; f < model.numFrames; ++f) {
            const std::int64_t sf = std::min<std::int64_t>(f, s.header.NumFrames - 1);
            for (std::uint32_t k = 0; k < numVertices; ++k) {
                const auto v = bytes.read<formats::Md3XyzNormal>(s.xyzNormal(sf, k));
                for (const std::int16_t c : v.xyz) out.positions.push_back(c * formats::kMd3VertexScale);
                appendNormal(v.Normal, out.normals);
            }
        }
        model.surfaces.push_back(std::move(out));
    }
    if (x.tags.inside && x.header.NumTags > 0) {
        for (std::int32_t t = 0; t < x.header.NumTags; ++t) {
            FrameTag tag;
            for (std::uint32_t f = 0; f < model.numFrames; ++f) {
                const auto record = bytes.read<formats::Md3Tag>(x.tag(f, t));
                if (f == 0) tag.name = formats::nameOf(record.Name);
                tag.origins.insert(tag.origins.end(), record.Origin, record.Origin + 3);
                tag.axes.insert(tag.axes.end(), record.Axis, record.Axis + 9);
            }
            model.tags.push_back(std::move(tag));
        }
    }
    asset.models.push_back(std::move(model));
    return true;
}

// MDC frames as the viewer shows them: each frame's base frame (the
// compressed corrections on top of it are not applied).
bool addMdc(Asset& asset, ByteView bytes, const std::string& shown, std::string& error) {
    const formats::MdcIndex x = formats::indexMdc(bytes, formats::Reader::Draw);
    if (!x.ok()) {
        error = damaged(shown, x.refusal);
        return false;
    }
    if (x.numFrames() < 1) {
        error = shown + ": the model has no frames";
        return false;
    }
    FrameModel model;
    model.name = formats::nameOf(x.header.Name);
    model.numFrames = x.numFrames();
    frameNames<formats::MdcFrame>(bytes, x.frames, model.numFrames, model);
    for (const formats::MdcSurfaceIndex& s : x.surfaces) {
        FrameSurface out;
        if (!frameSurfaceStart(bytes, s, s.numVertices(), shown, out, error)) return false;
        for (std::uint32_t f = 0; f < model.numFrames; ++f) {
            const std::uint16_t base = formats::mdcBaseFrame(bytes, s, f);
            for (std::uint32_t k = 0; k < s.numVertices(); ++k) {
                const auto v = bytes.read<formats::MdcBaseVertex>(s.baseVertex(base, k));
                for (const std::int16_t c : {v.x, v.y, v.z}) out.positions.push_back(c * formats::kMdcVertexScale);
                appendNormal(v.Normal, out.normals);
            }
        }
        model.surfaces.push_back(std::move(out));
    }
    const std::int32_t numTags = x.header.NumTags;
    if (numTags > 0 && x.tagNames.inside && x.tagFrames.inside) {
        for (std::int32_t t = 0; t < numTags; ++t) {
            FrameTag tag;
            tag.name = formats::nameOf(bytes.read<formats::MdcTagName>(x.tagName(t)).Name);
            for (std::uint32_t f = 0; f < model.numFrames; ++f) {
                const auto record = bytes.read<formats::MdcTagFrame>(x.tagFrame(f, t));
                float degrees[3], axis[3][3];
                for (int i = 0; i < 3; ++i) {
                    tag.origins.push_back(record.xyz[i] * formats::kMdcVertexScale);
                    degrees[i] = static_cast<float>(record.angles[i] * (360.0 / 65536.0));
                }
                anglesToAxis(degrees, axis);
                for (const auto& row : axis) tag.axes.insert(tag.axes.end(), row, row + 3);
            }
            model.tags.push_back(std::move(tag));
        }
    }
    asset.models.push_back(std::move(model));
    return true;
}

const char* readFailure(sys::ReadStep step) {
    switch (step) {
        case sys::ReadStep::Open: return "cannot open it (no such file?)";
        case sys::ReadStep::Size: return "cannot take its size";
        case sys::ReadStep::TooLarge: return "it is too large";
        case sys::ReadStep::Memory: return "no memory for it (or it is empty)";
        case sys::ReadStep::Read: return "cannot read it";
        case sys::ReadStep::Done: break;
    }
    return "cannot read it";
}

}  // namespace

std::shared_ptr<sys::Block> readModelFile(const std::string& path, const std::string& shown, std::string& error) {
    sys::WholeFile file = sys::readWholeFile(path.c_str());
    if (file.failed != sys::ReadStep::Done) {
        error = shown + ": " + readFailure(file.failed);
        return nullptr;
    }
    return std::make_shared<sys::Block>(std::move(file.bytes));
}

bool addMds(Asset& asset, std::shared_ptr<sys::Block> file, const std::string& shown, std::string& error) {
    const ByteView bytes = viewOf(*file);
    const formats::MdsIndex x = formats::indexMds(bytes, formats::Reader::Draw, false);
    if (!x.ok()) {
        error = damaged(shown, x.refusal);
        return false;
    }
    if (x.frames.count < 1) {
        error = shown + ": the body has no frames";
        return false;
    }
    asset.skeleton = skeletonOf(bytes, x, x.header.TorsoParent, true, shown);
    if (!addWeightedSurfaces(asset, bytes, x, shown, error)) return false;
    if (x.tags.inside) {
        for (std::int64_t t = 0; t < x.tags.count; ++t) {
            const auto record = bytes.read<formats::MdsTag>(x.tag(t));
            if (record.BoneIndex < 0 || record.BoneIndex >= x.bones.count) continue;
            Tag tag;
            tag.name = formats::nameOf(record.Name);
            tag.mount.bone = record.BoneIndex;
            tag.mount.inverseTurn = true;
            asset.tags.push_back(tag);
        }
    }
    asset.name = formats::nameOf(x.header.Name);
    asset.files.push_back(std::move(file));
    return true;
}

// An MDX skeleton with frames; false with one line.
bool readMdx(const sys::Block& file, const std::string& shown, Skeleton& out, std::string& error) {
    const ByteView bytes = viewOf(file);
    if (formats::identify(bytes).format != formats::Format::Mdx) {
        error = shown + ": not an MDX skeleton";
        return false;
    }
    const formats::MdxIndex sx = formats::indexMdx(bytes, formats::Reader::Draw);
    if (!sx.ok()) {
        error = damaged(shown, sx.refusal);
        return false;
    }
    if (sx.frames.count < 1) {
        error = shown + ": the skeleton has no frames";
        return false;
    }
    out = skeletonOf(bytes, sx, sx.header.TorsoParent, false, shown);
    return true;
}

bool addMdm(Asset& asset, std::shared_ptr<sys::Block> mesh, const std::string& meshShown,
            std::shared_ptr<sys::Block> skeleton, const std::string& skeletonShown, std::string& error) {
    Skeleton sx;
    if (!readMdx(*skeleton, skeletonShown, sx, error)) return false;
    const ByteView bytes = viewOf(*mesh);
    const formats::MdmIndex x = formats::indexMdm(bytes, formats::Reader::Draw, false);
    if (!x.ok()) {
        error = damaged(meshShown, x.refusal);
        return false;
    }
    const std::int64_t numBones = static_cast<std::int64_t>(sx.size());
    asset.skeleton = std::move(sx);
    if (!addWeightedSurfaces(asset, bytes, x, meshShown, error)) return false;
    for (const formats::MdmTagIndex& t : x.tags) {
        if (!bytes.has(t.at, sizeof(formats::MdmTag))) continue;
        const auto record = bytes.read<formats::MdmTag>(t.at);
        if (record.BoneIndex < 0 || record.BoneIndex >= numBones) continue;
        Tag tag;
        tag.name = t.name;
        tag.mount.bone = record.BoneIndex;
        std::memcpy(tag.origin, record.Offset, sizeof tag.origin);
        std::memcpy(tag.axis, record.Axis, sizeof tag.axis);
        asset.tags.push_back(tag);
    }
    asset.name = formats::nameOf(x.header.Name);
    asset.files.push_back(std::move(skeleton));
    return true;
}

int addRowSkeleton(Asset& asset, std::shared_ptr<sys::Block> file, const std::string& shown, std::string& error) {
    Skeleton s;
    if (!asset.skeleton || !readMdx(*file, shown, s, error)) return -1;
    if (s.size() != asset.skeleton->size()) {
        error = shown + " has " + std::to_string(s.size()) + " bones, the body's skeleton " +
                asset.skeleton->shown + " " + std::to_string(asset.skeleton->size());
        return -1;
    }
    asset.rowSkeletons.push_back(std::move(s));
    asset.files.push_back(std::move(file));
    return static_cast<int>(asset.rowSkeletons.size());
}

bool addFrameModel(Asset& asset, const sys::Block& file, const std::string& shown, std::string& error) {
    const ByteView bytes = viewOf(file);
    switch (formats::identify(bytes).format) {
        case formats::Format::Md3: return addMd3(asset, bytes, shown, error);
        case formats::Format::Mdc: return addMdc(asset, bytes, shown, error);
        default: error = shown + ": not an MD3 or MDC model"; return false;
    }
}

bool loadModelFile(const std::string& path, const std::string& skeletonPath, double fps, Asset& asset,
                   std::string& error, formats::Format* told) {
    std::shared_ptr<sys::Block> file = readModelFile(path, path, error);
    if (!file) return false;
    const formats::Format format = formats::identify(viewOf(*file)).format;
    if (told) *told = format;
    if (!skeletonPath.empty() && format != formats::Format::Mdm) {
        error = "--skeleton goes with an MDM mesh, and " + path + " is not one";
        return false;
    }
    bool ok = false;
    switch (format) {
        case formats::Format::Mds: ok = addMds(asset, file, path, error); break;
        case formats::Format::Md3:
        case formats::Format::Mdc:
            ok = addFrameModel(asset, *file, path, error);
            if (ok) {
                asset.models.back().followsClips = true;
                asset.name = asset.models.back().name;
            }
            break;
        case formats::Format::Mdm: {
            if (skeletonPath.empty()) {
                error = path + ": an MDM mesh needs its skeleton: give --skeleton FILE.mdx";
                return false;
            }
            std::shared_ptr<sys::Block> skeleton = readModelFile(skeletonPath, skeletonPath, error);
            ok = skeleton && addMdm(asset, file, path, std::move(skeleton), skeletonPath, error);
            break;
        }
        case formats::Format::Mdx:
            error = path + ": an MDX file is a skeleton without a mesh: export its MDM with --skeleton " + path;
            return false;
        default: error = path + ": not a model file (MDS, MDM, MD3 or MDC)"; return false;
    }
    if (!ok) return false;
    Clip all;
    all.name = "frames";
    all.numFrames = asset.numFrames();
    all.loopFrames = all.numFrames;
    all.fps = fps;
    asset.clips.push_back(all);
    return true;
}

std::uint32_t Asset::numFrames() const {
    if (skeleton) return skeleton->numFrames;
    for (const FrameModel& m : models)
        if (m.followsClips) return m.numFrames;
    return 1;
}

}  // namespace exporter
