// Writes MDM files (the sibling game's skeletal meshes, "MDMW" version 3)
// from plain descriptions: surfaces with weighted vertices, triangles,
// collapse maps and bone references (skeletal.h, shared with MDS), and tags
// that each hang on one bone. Section order, gaps and stored overrides work
// as in mds_writer.h; damage is done afterwards with mg::put on the image.
//
//   mg::MdmImage img = mg::writeMdm(model);
//   mg::put<std::int32_t>(img.bytes, img.tags[0].at + offsetof(formats::MdmTag, BoneIndex), 999);
//
// Weight bone indices are the MDX file's bone indices; nothing is checked.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/mdm_layout.h"
#include "modelgen/bytes.h"
#include "modelgen/skeletal.h"

namespace mg {

struct MdmTagDesc {
    std::string name;
    std::array<float, 9> axis{1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};  // rows
    std::int32_t boneIndex = 0;
    std::array<float, 3> offset{};
    std::vector<std::int32_t> boneRefs;  // written right after the tag record
    std::uint32_t gapAfter = 0;          // filler after the bone references, covered by OffsetEnd
    std::optional<std::int32_t> offsetEnd;  // stored OffsetEnd; defaults to the real one
};

enum class MdmSection { Surfaces = 0, Tags = 1 };

struct MdmModel {
    std::array<char, 4> ident{'M', 'D', 'M', 'W'};
    std::int32_t version = 3;
    std::string name;
    float lodScale = 1.0f;
    float lodBias = 0.0f;
    std::vector<MdmSurfaceDesc> surfaces;
    std::vector<MdmTagDesc> tags;
    // Sections in file order after the header, and the filler bytes written
    // before each (indexed by MdmSection).
    std::array<MdmSection, 2> order{MdmSection::Surfaces, MdmSection::Tags};
    std::array<std::uint32_t, 2> gapBefore{};
    std::uint32_t gapAtEnd = 0;
};

struct MdmImage {
    Bytes bytes;
    std::int64_t surfacesStart = 0, tagsStart = 0;
    std::vector<WeightedSurfaceImage> surfaces;
    struct Tag {
        std::int64_t at = 0, boneRefs = 0, end = 0;
    };
    std::vector<Tag> tags;
};

MdmImage writeMdm(const MdmModel& model);

}  // namespace mg
