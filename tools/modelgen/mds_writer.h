// Writes MDS files from plain descriptions, with control over the layout
// (section order, gaps between sections and inside surfaces) and over the
// stored counts, so that tests can make valid files and damaged twins.
//
//   mg::MdsModel m = mg::sampleMds();
//   m.order = {mg::MdsSection::Tags, mg::MdsSection::Surfaces, ...};
//   mg::MdsImage img = mg::writeMds(m);
//   mg::put<std::int32_t>(img.bytes, offsetof(formats::MdsHeader, NumTags), -1);  // damage
//   img.bytes.resize(img.bytes.size() - 10);                                 // truncate
//
// Everything the description holds is written as given: bone indices,
// parents and triangle indices are not checked, so out-of-range values can
// be written on purpose. Names of 64 characters or more are stored without a
// terminator (the first 64 characters).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/mds_layout.h"
#include "modelgen/bytes.h"

namespace mg {

// The collapse-map entry a writer gives vertex v unless told otherwise:
// the vertex before it (vertex 0 itself), so that reducing a surface folds
// every vertex into one already reduced, as LOD needs.
inline std::int32_t defaultCollapse(std::size_t v) { return v == 0 ? 0 : static_cast<std::int32_t>(v - 1); }

struct MdsBoneDesc {
    std::string name;
    std::int32_t parent = -1;
    float torsoWeight = 0.0f;
    float parentDist = 0.0f;
    std::uint32_t flags = 0;
};

struct MdsFrameDesc {
    std::array<float, 3> bboxMin{}, bboxMax{}, localOrigin{};
    float radius = 0.0f;
    std::array<float, 3> parentOffset{};
    // One record per bone of the model; missing ones are written as zeros,
    // extra ones are dropped (every frame has exactly NumBones records).
    std::vector<formats::CompressedBoneFrame> boneFrames;
};

struct MdsTagDesc {
    std::string name;
    float torsoWeight = 0.0f;
    std::int32_t boneIndex = 0;
};

struct MdsVertexDesc {
    std::array<float, 3> normal{0.0f, 0.0f, 1.0f};
    std::array<float, 2> texCoords{};
    std::int32_t fixedParent = 0;
    float fixedDist = 0.0f;
    std::vector<formats::MdsWeight> weights;
    // Stored NumWeights; defaults to weights.size(). Only `weights` are
    // written, so a larger value makes the weights run past their records.
    std::optional<std::int32_t> numWeights;
};

struct MdsSurfaceDesc {
    std::int32_t id = 0;
    std::string name;
    std::string shader;
    std::int32_t shaderIndex = 0;
    std::int32_t minLod = 0;
    std::vector<MdsVertexDesc> vertices;
    std::vector<formats::MdsTriangle> triangles;
    // One entry per vertex; missing entries are written as defaultCollapse.
    std::vector<std::int32_t> collapseMap;
    std::vector<std::int32_t> boneRefs;
    std::uint32_t gapAfterHeader = 0;  // filler between the header and vertex 0
    std::uint32_t gapAfter = 0;        // filler after the lists, covered by OffsetEnd
    std::optional<std::int32_t> offsetEnd;  // stored OffsetEnd; defaults to the real one
};

enum class MdsSection { Frames = 0, Bones = 1, Surfaces = 2, Tags = 3 };

struct MdsModel {
    std::array<char, 4> ident{'M', 'D', 'S', 'W'};
    std::int32_t version = formats::kMdsVersion;
    std::string name;
    float lodScale = 1.0f;
    float lodBias = 0.0f;
    std::int32_t torsoParent = 0;
    std::vector<MdsBoneDesc> bones;
    std::vector<MdsFrameDesc> frames;
    std::vector<MdsTagDesc> tags;
    std::vector<MdsSurfaceDesc> surfaces;
    // Sections in file order after the header, and the filler bytes written
    // before each (indexed by MdsSection).
    std::array<MdsSection, 4> order{MdsSection::Frames, MdsSection::Bones, MdsSection::Surfaces, MdsSection::Tags};
    std::array<std::uint32_t, 4> gapBefore{};
    std::uint32_t gapAtEnd = 0;
};

// Where the writer put things (byte offsets into `bytes`).
struct MdsImage {
    Bytes bytes;
    std::int64_t frames = 0, bones = 0, tags = 0, surfacesStart = 0;
    struct Surface {
        std::int64_t header = 0, vertices = 0, triangles = 0, collapseMap = 0, boneRefs = 0, end = 0;
        std::vector<std::int64_t> vertex;  // each vertex's position
    };
    std::vector<Surface> surfaces;
};

MdsImage writeMds(const MdsModel& model);

}  // namespace mg
