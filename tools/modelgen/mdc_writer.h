// Writes MDC files from plain descriptions: header, surfaces with their
// triangles, first shader name, texture coordinates, base vertices for any
// number of base frames and the frame -> base frame table. Gaps between and
// inside surfaces are filled with kGapByte; damage is done afterwards with
// mg::put / resize on the image, using the recorded positions.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/mdc_layout.h"
#include "modelgen/bytes.h"

namespace mg {

struct MdcSurfaceDesc {
    std::string name;
    std::string shader;  // the first (only) shader name
    std::vector<formats::MdcTriangle> triangles;
    std::vector<formats::MdcTexCoord> texCoords;  // one per vertex; gives NumVertices
    // baseFrames[b][v]: vertex v of base frame b (each as long as texCoords).
    std::vector<std::vector<formats::MdcBaseVertex>> baseFrames;
    // One entry per model frame (header NumFrames); missing ones are 0.
    std::vector<std::uint16_t> frameBaseFrames;
    std::uint32_t gapAfterHeader = 0;  // filler between the header and the triangles
    std::uint32_t gapAfter = 0;        // filler after the lists, covered by OffsetEnd
    std::optional<std::int32_t> numVertices;  // stored NumVertices; defaults to texCoords.size()
};

struct MdcModel {
    std::array<char, 4> ident{'I', 'D', 'P', 'C'};
    std::int32_t version = 2;
    std::string name;
    std::int32_t numFrames = 1;
    std::vector<MdcSurfaceDesc> surfaces;
    std::uint32_t gapBeforeSurfaces = 0;
    // With frameRecords the file is whole: one frame record per frame (zero
    // bounds, named "frame"), the tag names and one zero record per tag and
    // frame, all after the surfaces (so the surfaces still start right after
    // the header and its gap). Without, the header's frame and tag offsets
    // point at the header's end and nothing is written for them: the viewer
    // does not read them.
    bool frameRecords = false;
    std::vector<std::string> tags;
};

struct MdcImage {
    Bytes bytes;
    struct Surface {
        std::int64_t header = 0, triangles = 0, shaders = 0, texCoords = 0, baseVertices = 0, frameBaseFrames = 0,
                     end = 0;
    };
    std::vector<Surface> surfaces;
    std::int64_t frames = 0, tagNames = 0, tagFrames = 0;
};

MdcImage writeMdc(const MdcModel& model);

// A base vertex from file-space units of 1/64.
inline formats::MdcBaseVertex baseVertex(std::int16_t x, std::int16_t y, std::int16_t z) { return {x, y, z, 0}; }

}  // namespace mg
