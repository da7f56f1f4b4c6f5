// Writes MD3 files ("IDP3" version 15: vertex-animated models) from plain
// descriptions: frames with their bounds and tags, surfaces with shaders,
// triangles, texture coordinates and one list of positions and packed
// normals per frame. Section order, gaps between and inside surfaces and
// overrides of a surface's stored counts make damaged twins; other damage
// is done afterwards with mg::put on the image.
//
//   mg::Md3Image img = mg::writeMd3(mg::sampleMd3());
//   mg::put<std::int32_t>(img.bytes, img.surfaces[0].header + offsetof(formats::Md3Surface, NumFrames), 99);
//
// Triangle indices, counts and names are written as given.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/md3_layout.h"
#include "modelgen/bytes.h"

namespace mg {

struct Md3TagDesc {
    std::string name;
    std::array<float, 3> origin{};
    std::array<float, 9> axis{1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};  // rows
};

struct Md3FrameDesc {
    std::array<float, 3> bboxMin{}, bboxMax{}, localOrigin{};
    float radius = 0.0f;
    std::string name;  // 16 bytes: at most 16 characters, the rest NUL
    // This frame's tags. The header's NumTags is the first frame's count;
    // every frame writes that many records (missing ones as zeros, extra
    // ones dropped), frame-major as the format stores them.
    std::vector<Md3TagDesc> tags;
};

struct Md3ShaderDesc {
    std::string name;
    std::int32_t index = 0;
};

struct Md3SurfaceDesc {
    std::int32_t id = 0x33504449;  // "IDP3"
    std::string name;
    std::int32_t flags = 0;
    std::vector<Md3ShaderDesc> shaders;
    std::vector<formats::Md3Triangle> triangles;
    std::vector<formats::Md3TexCoord> texCoords;  // one per vertex; gives NumVertices
    // frames[f][v]: vertex v of frame f. Every frame writes one record per
    // vertex (missing ones as zeros, extra ones dropped).
    std::vector<std::vector<formats::Md3XyzNormal>> frames;
    std::uint32_t gapAfterHeader = 0;  // filler between the header and the shaders
    std::uint32_t gapAfter = 0;        // filler after the lists, covered by OffsetEnd
    // Stored values; each defaults to what was written.
    std::optional<std::int32_t> numFrames, numVertices, offsetEnd;
};

enum class Md3Section { Frames = 0, Tags = 1, Surfaces = 2 };

struct Md3Model {
    std::array<char, 4> ident{'I', 'D', 'P', '3'};
    std::int32_t version = 15;
    std::string name;
    std::int32_t flags = 0;
    std::int32_t numSkins = 0;
    std::vector<Md3FrameDesc> frames;
    std::vector<Md3SurfaceDesc> surfaces;
    // Sections in file order after the header, and the filler bytes written
    // before each (indexed by Md3Section).
    std::array<Md3Section, 3> order{Md3Section::Frames, Md3Section::Tags, Md3Section::Surfaces};
    std::array<std::uint32_t, 3> gapBefore{};
    std::uint32_t gapAtEnd = 0;
};

// Where the writer put things (byte offsets into `bytes`). Tag t of frame
// f lies at tags + (f x NumTags + t) x 112.
struct Md3Image {
    Bytes bytes;
    std::int64_t frames = 0, tags = 0, surfacesStart = 0;
    struct Surface {
        std::int64_t header = 0, shaders = 0, triangles = 0, texCoords = 0, xyzNormals = 0, end = 0;
    };
    std::vector<Surface> surfaces;
};

Md3Image writeMd3(const Md3Model& model);

// A coordinate in the file's units of 1/64, rounded, clamped to 16 bits.
std::int16_t md3Units(float value);
// A unit normal packed as latitude (high byte) and longitude (low byte) in
// steps of 2 pi / 256, the nearest the format can hold.
std::uint16_t md3Normal(const std::array<float, 3>& normal);
formats::Md3XyzNormal md3Vertex(const std::array<float, 3>& position, const std::array<float, 3>& normal);

}  // namespace mg
