#include "modelgen/md3_writer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>


namespace mg {

namespace {

void writeFrameRecords(const Md3Model& m, Bytes& out) {
    for (const auto& f : m.frames) {
        formats::Md3Frame r{};
        for (std::size_t c = 0; c < 3; ++c) {
            r.bboxMin[c] = f.bboxMin[c];
            r.bboxMax[c] = f.bboxMax[c];
            r.LocalOrigin[c] = f.localOrigin[c];
        }
        r.Radius = f.radius;
        writeName(r.Name, f.name);
        append(out, r);
    }
}

std::size_t numTags(const Md3Model& m) { return m.frames.empty() ? 0 : m.frames.front().tags.size(); }

void writeTags(const Md3Model& m, Bytes& out) {
    for (const auto& f : m.frames)
        for (std::size_t t = 0; t < numTags(m); ++t) {
            formats::Md3Tag r{};
            if (t < f.tags.size()) {
                const Md3TagDesc& d = f.tags[t];
                writeName(r.Name, d.name);
                std::copy(d.origin.begin(), d.origin.end(), r.Origin);
                std::copy(d.axis.begin(), d.axis.end(), r.Axis);
            }
            append(out, r);
        }
}

Md3Image::Surface writeSurface(const Md3SurfaceDesc& s, Bytes& out) {
    Md3Image::Surface at;
    at.header = static_cast<std::int64_t>(out.size());
    out.resize(out.size() + sizeof(formats::Md3Surface));
    appendGap(out, s.gapAfterHeader);

    at.shaders = static_cast<std::int64_t>(out.size());
    for (const auto& sh : s.shaders) {
        formats::Md3Shader r{};
        writeName(r.Name, sh.name);
        r.ShaderIndex = sh.index;
        append(out, r);
    }
    at.triangles = static_cast<std::int64_t>(out.size());
    for (const auto& t : s.triangles) append(out, t);
    at.texCoords = static_cast<std::int64_t>(out.size());
    for (const auto& t : s.texCoords) append(out, t);
    at.xyzNormals = static_cast<std::int64_t>(out.size());
    for (const auto& frame : s.frames)
        for (std::size_t v = 0; v < s.texCoords.size(); ++v)
            append(out, v < frame.size() ? frame[v] : formats::Md3XyzNormal{});
    appendGap(out, s.gapAfter);
    at.end = static_cast<std::int64_t>(out.size());

    formats::Md3Surface h{};
    h.Id = s.id;
    writeName(h.Name, s.name);
    h.Flags = s.flags;
    h.NumFrames = s.numFrames.value_or(static_cast<std::int32_t>(s.frames.size()));
    h.NumShaders = static_cast<std::int32_t>(s.shaders.size());
    h.NumVertices = s.numVertices.value_or(static_cast<std::int32_t>(s.texCoords.size()));
    h.NumTriangles = static_cast<std::int32_t>(s.triangles.size());
    h.OffsetTriangles = rel(at.triangles, at.header);
    h.OffsetShaders = rel(at.shaders, at.header);
    h.OffsetTexCoords = rel(at.texCoords, at.header);
    h.OffsetXyzNormals = rel(at.xyzNormals, at.header);
    h.OffsetEnd = s.offsetEnd.value_or(rel(at.end, at.header));
    put(out, at.header, h);
    return at;
}

constexpr double kTwoPi = 6.283185307179586;

}  // namespace

Md3Image writeMd3(const Md3Model& m) {
    Md3Image img;
    Bytes& out = img.bytes;
    out.resize(sizeof(formats::Md3Header));
    const auto at = writeSections(out, m, [&](Md3Section section) {
        switch (section) {
            case Md3Section::Frames: writeFrameRecords(m, out); break;
            case Md3Section::Tags: writeTags(m, out); break;
            case Md3Section::Surfaces:
                for (const auto& s : m.surfaces) img.surfaces.push_back(writeSurface(s, out));
                break;
        }
    });
    img.frames = at[Md3Section::Frames];
    img.tags = at[Md3Section::Tags];
    img.surfacesStart = at[Md3Section::Surfaces];

    auto h = headerOf<formats::Md3Header>(m);
    h.Flags = m.flags;
    h.NumFrames = static_cast<std::int32_t>(m.frames.size());
    h.NumTags = static_cast<std::int32_t>(numTags(m));
    h.NumSurfaces = static_cast<std::int32_t>(m.surfaces.size());
    h.NumSkins = m.numSkins;
    h.OffsetFrames = static_cast<std::int32_t>(img.frames);
    h.OffsetTags = static_cast<std::int32_t>(img.tags);
    h.OffsetSurfaces = static_cast<std::int32_t>(img.surfacesStart);
    h.OffsetEnd = static_cast<std::int32_t>(out.size());
    put(out, 0, h);
    return img;
}

std::int16_t md3Units(float value) {
    const double units = std::round(static_cast<double>(value) * 64.0);
    return static_cast<std::int16_t>(std::clamp(units, -32768.0, 32767.0));
}

std::uint16_t md3Normal(const std::array<float, 3>& n) {
    const double len = std::sqrt(static_cast<double>(n[0]) * n[0] + static_cast<double>(n[1]) * n[1] +
                                 static_cast<double>(n[2]) * n[2]);
    if (len == 0.0) return 0;
    // n = (cos lat sin lng, sin lat sin lng, cos lng)
    const double lng = std::acos(std::clamp(n[2] / len, -1.0, 1.0));
    const auto lngUnits = static_cast<unsigned>(std::lround(lng * 256.0 / kTwoPi));  // 0 .. 128
    long latUnits = 0;
    if (lngUnits % 128 != 0) latUnits = std::lround(std::atan2(n[1], n[0]) * 256.0 / kTwoPi);
    return static_cast<std::uint16_t>((static_cast<unsigned>(latUnits) & 0xFFu) << 8 | lngUnits);
}

formats::Md3XyzNormal md3Vertex(const std::array<float, 3>& position, const std::array<float, 3>& normal) {
    return {{md3Units(position[0]), md3Units(position[1]), md3Units(position[2])}, md3Normal(normal)};
}

}  // namespace mg
