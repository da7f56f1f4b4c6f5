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
#include <string>
#include <vector>

#include "formats/mds_layout.h"
#include "modelgen/bytes.h"
#include "modelgen/skeletal.h"

namespace mg {

// Bones, frames, vertices and surfaces: skeletal.h (shared with MDM and MDX).

struct MdsTagDesc {
    std::string name;
    float torsoWeight = 0.0f;
    std::int32_t boneIndex = 0;
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
    using Surface = WeightedSurfaceImage;
    std::vector<Surface> surfaces;
};

MdsImage writeMds(const MdsModel& model);

}  // namespace mg
