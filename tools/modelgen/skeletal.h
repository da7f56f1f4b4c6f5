// The records MDS shares with the sibling game's split formats, as plain
// descriptions and their writers: bones and frames (MDS and MDX) and
// weighted surfaces (MDS and MDM; an MDM vertex lacks MDS's FixedParent and
// FixedDist). mds_writer, mdm_writer and mdx_writer write them through the
// functions below, so the three formats' shared records are written by one
// piece of code.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/mds_layout.h"
#include "modelgen/bytes.h"

namespace mg {

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

// A vertex of a weighted surface as MDM stores it.
struct WeightedVertexDesc {
    std::array<float, 3> normal{0.0f, 0.0f, 1.0f};
    std::array<float, 2> texCoords{};
    std::vector<formats::MdsWeight> weights;
    // Stored NumWeights; defaults to weights.size(). Only `weights` are
    // written, so a larger value makes the weights run past their records.
    std::optional<std::int32_t> numWeights;
};

// An MDS vertex adds two fields neither program reads.
struct MdsVertexDesc : WeightedVertexDesc {
    std::int32_t fixedParent = 0;
    float fixedDist = 0.0f;
};

// A surface (MdsSurface, which is also MDM's record) with its lists:
// vertices, triangles, collapse map, bone references.
template <class Vertex, std::int32_t kDefaultId>
struct WeightedSurfaceDesc {
    std::int32_t id = kDefaultId;
    std::string name;
    std::string shader;
    std::int32_t shaderIndex = 0;
    std::int32_t minLod = 0;
    std::vector<Vertex> vertices;
    std::vector<formats::MdsTriangle> triangles;
    // One entry per vertex; missing entries are written as j - 1 (0 for
    // vertex 0), a valid collapse order.
    std::vector<std::int32_t> collapseMap;
    std::vector<std::int32_t> boneRefs;
    std::uint32_t gapAfterHeader = 0;  // filler between the header and vertex 0
    std::uint32_t gapAfter = 0;        // filler after the lists, covered by OffsetEnd
    std::optional<std::int32_t> offsetEnd;  // stored OffsetEnd; defaults to the real one
};

using MdsSurfaceDesc = WeightedSurfaceDesc<MdsVertexDesc, 0>;
// MDM surfaces: the engine overwrites the ident at load; writers put 9.
using MdmVertexDesc = WeightedVertexDesc;
using MdmSurfaceDesc = WeightedSurfaceDesc<MdmVertexDesc, 9>;

// Where a weighted surface went (byte offsets into the image).
struct WeightedSurfaceImage {
    std::int64_t header = 0, vertices = 0, triangles = 0, collapseMap = 0, boneRefs = 0, end = 0;
    std::vector<std::int64_t> vertex;  // each vertex's position
};

// Append the records at the end of `out`.
void writeBones(const std::vector<MdsBoneDesc>& bones, Bytes& out);
void writeFrames(const std::vector<MdsFrameDesc>& frames, std::size_t numBones, Bytes& out);
WeightedSurfaceImage writeSurface(const MdsSurfaceDesc& surface, Bytes& out);
WeightedSurfaceImage writeSurface(const MdmSurfaceDesc& surface, Bytes& out);

}  // namespace mg
