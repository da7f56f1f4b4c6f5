#include "modelgen/mdc_writer.h"

#include "formats/mdc_layout.h"

namespace mg {

namespace {

MdcImage::Surface writeSurface(const MdcSurfaceDesc& s, std::int32_t numFrames, Bytes& out) {
    MdcImage::Surface at;
    at.header = static_cast<std::int64_t>(out.size());
    out.resize(out.size() + sizeof(formats::MdcSurface));
    appendGap(out, s.gapAfterHeader);

    at.triangles = static_cast<std::int64_t>(out.size());
    for (const auto& t : s.triangles) append(out, t);
    at.shaders = static_cast<std::int64_t>(out.size());
    char shaderName[64];
    writeName(shaderName, s.shader);
    append(out, shaderName);
    append(out, std::int32_t{0});  // shader index
    at.texCoords = static_cast<std::int64_t>(out.size());
    for (const auto& t : s.texCoords) append(out, t);
    at.baseVertices = static_cast<std::int64_t>(out.size());
    for (const auto& frame : s.baseFrames)
        for (const auto& v : frame) append(out, v);
    at.frameBaseFrames = static_cast<std::int64_t>(out.size());
    for (std::int32_t f = 0; f < numFrames; ++f)
        append(out, f < static_cast<std::int32_t>(s.frameBaseFrames.size()) ? s.frameBaseFrames[f] : std::uint16_t{0});
    const std::int64_t compFrames = static_cast<std::int64_t>(out.size());
    for (std::int32_t f = 0; f < numFrames; ++f) append(out, std::int16_t{-1});
    while (out.size() % 4 != 0) out.push_back(0);
    appendGap(out, s.gapAfter);
    at.end = static_cast<std::int64_t>(out.size());

    formats::MdcSurface h{};
    h.Id = 0x43504449;
    writeName(h.Name, s.name);
    h.NumCompFrames = 0;
    h.NumBaseFrames = static_cast<std::int32_t>(s.baseFrames.size());
    h.NumShaders = 1;
    h.NumVertices = s.numVertices.value_or(static_cast<std::int32_t>(s.texCoords.size()));
    h.NumTriangles = static_cast<std::int32_t>(s.triangles.size());
    h.OffsetTriangles = rel(at.triangles, at.header);
    h.OffsetShaders = rel(at.shaders, at.header);
    h.OffsetTexCoords = rel(at.texCoords, at.header);
    h.OffsetBaseVertices = rel(at.baseVertices, at.header);
    h.OffsetCompVertices = rel(at.frameBaseFrames, at.header);
    h.OffsetFrameBaseFrames = rel(at.frameBaseFrames, at.header);
    h.OffsetFrameCompFrames = rel(compFrames, at.header);
    h.OffsetEnd = rel(at.end, at.header);
    put(out, at.header, h);
    return at;
}

// Frame bounds, tag names and tag frames after the surfaces.
void writeFramesAndTags(const MdcModel& m, MdcImage& img, Bytes& out) {
    img.frames = static_cast<std::int64_t>(out.size());
    for (std::int32_t f = 0; f < m.numFrames; ++f) {
        formats::MdcFrame frame{};
        std::memcpy(frame.Name, "frame", 5);
        append(out, frame);
    }
    img.tagNames = static_cast<std::int64_t>(out.size());
    for (const auto& tag : m.tags) {
        formats::MdcTagName name{};
        writeName(name.Name, tag);
        append(out, name);
    }
    img.tagFrames = static_cast<std::int64_t>(out.size());
    for (std::int32_t f = 0; f < m.numFrames; ++f)
        for (std::size_t t = 0; t < m.tags.size(); ++t) append(out, formats::MdcTagFrame{});
}

}  // namespace

MdcImage writeMdc(const MdcModel& m) {
    MdcImage img;
    Bytes& out = img.bytes;
    out.resize(sizeof(formats::MdcHeader));
    appendGap(out, m.gapBeforeSurfaces);
    const auto surfacesStart = static_cast<std::int64_t>(out.size());
    for (const auto& s : m.surfaces) img.surfaces.push_back(writeSurface(s, m.numFrames, out));
    img.frames = img.tagNames = img.tagFrames = static_cast<std::int64_t>(sizeof(formats::MdcHeader));
    if (m.frameRecords) writeFramesAndTags(m, img, out);

    auto h = headerOf<formats::MdcHeader>(m);
    h.NumFrames = m.numFrames;
    h.NumSurfaces = static_cast<std::int32_t>(m.surfaces.size());
    h.NumTags = m.frameRecords ? static_cast<std::int32_t>(m.tags.size()) : 0;
    h.OffsetFrames = static_cast<std::int32_t>(img.frames);
    h.OffsetTagNames = static_cast<std::int32_t>(img.tagNames);
    h.OffsetTagFrames = static_cast<std::int32_t>(img.tagFrames);
    h.OffsetSurfaces = static_cast<std::int32_t>(surfacesStart);
    h.OffsetEnd = static_cast<std::int32_t>(out.size());
    put(out, 0, h);
    return img;
}

}  // namespace mg
