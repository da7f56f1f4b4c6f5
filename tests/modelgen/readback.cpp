#include "readback.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <string>

namespace readback {

namespace {

struct In {
    formats::ByteView v;
    explicit In(const mg::Bytes& b) : v(b.data(), b.size()) {}
    template <class T>
    T at(std::int64_t offset) const {
        if (!v.has(offset, static_cast<std::int64_t>(sizeof(T))))
            throw std::out_of_range("readback: a record outside the file at " + std::to_string(offset));
        return v.read<T>(offset);
    }
    template <class T>
    std::vector<T> list(std::int64_t offset, std::int64_t count) const {
        std::vector<T> out;
        for (std::int64_t i = 0; i < count; ++i) out.push_back(at<T>(offset + i * static_cast<std::int64_t>(sizeof(T))));
        return out;
    }
    std::int64_t size() const { return static_cast<std::int64_t>(v.size()); }
};

template <std::size_t N>
std::string text(const char (&field)[N]) {
    return std::string(field, static_cast<std::size_t>(std::find(field, field + N, '\0') - field));
}

// The file header, with the model's ident, version and name from it.
template <class Header, class Model>
Header readHeader(const In& in, Model& m) {
    const auto h = in.at<Header>(0);
    m.ident = {h.Id[0], h.Id[1], h.Id[2], h.Id[3]};
    m.version = h.Version;
    m.name = text(h.Name);
    return h;
}

template <std::size_t N>
std::array<float, N> floats(const float (&f)[N]) {
    std::array<float, N> out{};
    std::copy(f, f + N, out.begin());
    return out;
}

std::uint32_t gap(std::int64_t from, std::int64_t to) {
    if (to < from) throw std::runtime_error("readback: records overlap at " + std::to_string(to));
    return static_cast<std::uint32_t>(to - from);
}

// The model's section order and gaps from each section's start and length.
template <class Model, std::size_t N>
void layOut(Model& m, const In& in, std::int64_t headerSize, const std::array<std::int64_t, N>& start,
            const std::array<std::int64_t, N>& length) {
    using Section = typename decltype(m.order)::value_type;
    std::array<std::size_t, N> index{};
    std::iota(index.begin(), index.end(), std::size_t{0});
    std::sort(index.begin(), index.end(), [&](std::size_t a, std::size_t b) {
        return std::pair(start[a], length[a]) < std::pair(start[b], length[b]);
    });
    std::int64_t cursor = headerSize;
    for (std::size_t k = 0; k < N; ++k) {
        const std::size_t i = index[k];
        m.order[k] = static_cast<Section>(i);
        m.gapBefore[i] = gap(cursor, start[i]);
        cursor = start[i] + length[i];
    }
    m.gapAtEnd = gap(cursor, in.size());
}

// A chain of `count` records from `first`, each OffsetEnd on: returns the
// end of the last.
template <class Record, class Each>
std::int64_t chain(const In& in, std::int64_t first, std::int32_t count, std::int32_t Record::*offsetEnd, Each each) {
    std::int64_t at = first;
    for (std::int32_t i = 0; i < count; ++i) {
        each(at);
        at += in.at<Record>(at).*offsetEnd;
    }
    return at;
}

mg::WeightedSurfaceImage weightedSurface(const In& in, std::int64_t s, mg::MdmSurfaceDesc& d) {
    const auto h = in.at<formats::MdmSurface>(s);
    if (h.OffsetHeader != -s) throw std::runtime_error("readback: OffsetHeader does not lead to the file's start");
    d.id = h.Id;
    d.name = text(h.Name);
    d.shader = text(h.Shader);
    d.shaderIndex = h.ShaderIndex;
    d.minLod = h.MinLod;
    mg::WeightedSurfaceImage at;
    at.header = s;
    at.vertices = s + h.OffsetVertices;
    d.gapAfterHeader = gap(static_cast<std::int64_t>(sizeof h), h.OffsetVertices);
    std::int64_t p = at.vertices;
    for (std::int32_t v = 0; v < h.NumVertices; ++v) {
        at.vertex.push_back(p);
        const auto r = in.at<formats::MdmVertex>(p);
        mg::MdmVertexDesc vd;
        vd.normal = floats(r.Normal);
        vd.texCoords = floats(r.TexCoords);
        vd.weights = in.list<formats::MdmWeight>(p + static_cast<std::int64_t>(sizeof r), r.NumWeights);
        p += static_cast<std::int64_t>(sizeof r + vd.weights.size() * sizeof(formats::MdmWeight));
        d.vertices.push_back(std::move(vd));
    }
    at.triangles = s + h.OffsetTriangles;
    at.collapseMap = s + h.OffsetCollapseMap;
    at.boneRefs = s + h.OffsetBoneRefs;
    at.end = s + h.OffsetEnd;
    if (p != at.triangles) throw std::runtime_error("readback: the vertices do not end where the triangles begin");
    d.triangles = in.list<formats::MdmTriangle>(at.triangles, h.NumTriangles);
    d.collapseMap = in.list<std::int32_t>(at.collapseMap, h.NumVertices);
    d.boneRefs = in.list<std::int32_t>(at.boneRefs, h.NumBoneRefs);
    d.gapAfter = gap(at.boneRefs + 4 * static_cast<std::int64_t>(h.NumBoneRefs), at.end);
    return at;
}

}  // namespace

Read<mg::Md3Model, mg::Md3Image> md3(const mg::Bytes& bytes) {
    const In in(bytes);
    Read<mg::Md3Model, mg::Md3Image> r;
    mg::Md3Model& m = r.model;
    const auto h = readHeader<formats::Md3Header>(in, m);
    m.flags = h.Flags;
    m.numSkins = h.NumSkins;
    for (std::int32_t f = 0; f < h.NumFrames; ++f) {
        const auto fr = in.at<formats::Md3Frame>(h.OffsetFrames + f * static_cast<std::int64_t>(sizeof(formats::Md3Frame)));
        mg::Md3FrameDesc d{floats(fr.bboxMin), floats(fr.bboxMax), floats(fr.LocalOrigin), fr.Radius, text(fr.Name), {}};
        for (std::int32_t t = 0; t < h.NumTags; ++t) {
            const auto tag = in.at<formats::Md3Tag>(h.OffsetTags + (std::int64_t{f} * h.NumTags + t) *
                                                                     static_cast<std::int64_t>(sizeof(formats::Md3Tag)));
            d.tags.push_back({text(tag.Name), floats(tag.Origin), floats(tag.Axis)});
        }
        m.frames.push_back(std::move(d));
    }
    const std::int64_t end = chain(in, h.OffsetSurfaces, h.NumSurfaces, &formats::Md3Surface::OffsetEnd, [&](std::int64_t s) {
        const auto sh = in.at<formats::Md3Surface>(s);
        mg::Md3SurfaceDesc d;
        d.id = sh.Id;
        d.name = text(sh.Name);
        d.flags = sh.Flags;
        mg::Md3Image::Surface at{s, s + sh.OffsetShaders, s + sh.OffsetTriangles, s + sh.OffsetTexCoords,
                                 s + sh.OffsetXyzNormals, s + sh.OffsetEnd};
        d.gapAfterHeader = gap(static_cast<std::int64_t>(sizeof sh), sh.OffsetShaders);
        for (const auto& shader : in.list<formats::Md3Shader>(at.shaders, sh.NumShaders))
            d.shaders.push_back({text(shader.Name), shader.ShaderIndex});
        d.triangles = in.list<formats::Md3Triangle>(at.triangles, sh.NumTriangles);
        d.texCoords = in.list<formats::Md3TexCoord>(at.texCoords, sh.NumVertices);
        const std::int64_t frameBytes = std::int64_t{sh.NumVertices} * static_cast<std::int64_t>(sizeof(formats::Md3XyzNormal));
        for (std::int32_t f = 0; f < sh.NumFrames; ++f)
            d.frames.push_back(in.list<formats::Md3XyzNormal>(at.xyzNormals + f * frameBytes, sh.NumVertices));
        d.gapAfter = gap(at.xyzNormals + sh.NumFrames * frameBytes, at.end);
        m.surfaces.push_back(std::move(d));
        r.at.surfaces.push_back(at);
    });
    r.at.frames = h.OffsetFrames;
    r.at.tags = h.OffsetTags;
    r.at.surfacesStart = h.OffsetSurfaces;
    layOut<mg::Md3Model, 3>(m, in, sizeof h, {h.OffsetFrames, h.OffsetTags, h.OffsetSurfaces},
                            {h.NumFrames * std::int64_t{sizeof(formats::Md3Frame)},
                             std::int64_t{h.NumFrames} * h.NumTags * std::int64_t{sizeof(formats::Md3Tag)},
                             end - h.OffsetSurfaces});
    return r;
}

Read<mg::MdmModel, mg::MdmImage> mdm(const mg::Bytes& bytes) {
    const In in(bytes);
    Read<mg::MdmModel, mg::MdmImage> r;
    mg::MdmModel& m = r.model;
    const auto h = readHeader<formats::MdmHeader>(in, m);
    m.lodScale = h.LodScale;
    m.lodBias = h.LodBias;
    const std::int64_t surfacesEnd =
        chain(in, h.OffsetSurfaces, h.NumSurfaces, &formats::MdmSurface::OffsetEnd, [&](std::int64_t s) {
            m.surfaces.emplace_back();
            r.at.surfaces.push_back(weightedSurface(in, s, m.surfaces.back()));
        });
    const std::int64_t tagsEnd = chain(in, h.OffsetTags, h.NumTags, &formats::MdmTag::OffsetEnd, [&](std::int64_t t) {
        const auto tag = in.at<formats::MdmTag>(t);
        if (tag.OffsetBoneRefs != static_cast<std::int32_t>(sizeof tag))
            throw std::runtime_error("readback: a tag's bone references do not follow it");
        mg::MdmTagDesc d;
        d.name = text(tag.Name);
        d.axis = floats(tag.Axis);
        d.boneIndex = tag.BoneIndex;
        d.offset = floats(tag.Offset);
        d.boneRefs = in.list<std::int32_t>(t + tag.OffsetBoneRefs, tag.NumBoneRefs);
        d.gapAfter = gap(tag.OffsetBoneRefs + 4 * std::int64_t{tag.NumBoneRefs}, tag.OffsetEnd);
        m.tags.push_back(std::move(d));
        r.at.tags.push_back({t, t + tag.OffsetBoneRefs, t + tag.OffsetEnd});
    });
    r.at.surfacesStart = h.OffsetSurfaces;
    r.at.tagsStart = h.OffsetTags;
    layOut<mg::MdmModel, 2>(m, in, sizeof h, {h.OffsetSurfaces, h.OffsetTags},
                            {surfacesEnd - h.OffsetSurfaces, tagsEnd - h.OffsetTags});
    return r;
}

Read<mg::MdxModel, mg::MdxImage> mdx(const mg::Bytes& bytes) {
    const In in(bytes);
    Read<mg::MdxModel, mg::MdxImage> r;
    mg::MdxModel& m = r.model;
    const auto h = readHeader<formats::MdxHeader>(in, m);
    m.torsoParent = h.TorsoParent;
    const std::int64_t frameSize = formats::mdsFrameSize(h.NumBones);
    for (std::int32_t f = 0; f < h.NumFrames; ++f) {
        const std::int64_t at = h.OffsetFrames + f * frameSize;
        const auto fr = in.at<formats::MdxFrame>(at);
        m.frames.push_back({floats(fr.bboxMin), floats(fr.bboxMax), floats(fr.LocalOrigin), fr.Radius,
                            floats(fr.ParentOffset),
                            in.list<formats::MdxBoneFrame>(at + static_cast<std::int64_t>(sizeof fr), h.NumBones)});
    }
    for (const auto& b : in.list<formats::MdxBone>(h.OffsetBones, h.NumBones))
        m.bones.push_back({text(b.Name), b.ParentIndex, b.TorsoWeight, b.ParentDist, b.Flags});
    r.at.frames = h.OffsetFrames;
    r.at.bones = h.OffsetBones;
    layOut<mg::MdxModel, 2>(m, in, sizeof h, {h.OffsetFrames, h.OffsetBones},
                            {h.NumFrames * frameSize, h.NumBones * std::int64_t{sizeof(formats::MdxBone)}});
    return r;
}

}  // namespace readback
