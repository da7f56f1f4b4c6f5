// The index of an MDM file (the sibling game's skeletal mesh): the chain of
// weighted surfaces (families/weighted_mesh.h) and the chain of tags, each
// with its bone references, built once by the walk and read by every
// program. Its weights name the bones of an MDX file that the character
// files pair it with.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "formats/byte_view.h"
#include "formats/diagnostics.h"
#include "formats/families/weighted_mesh.h"
#include "formats/mdm_layout.h"

namespace formats {

struct MdmTagIndex {
    std::int64_t at = 0;
    std::string name;
    ListAt boneRefs;
};

struct MdmIndex : WeightedSurfaces {
    bool readable = false;  // the file is MDM and holds its whole header
    MdmHeader header{};     // valid when readable
    std::vector<MdmTagIndex> tags;
    bool allTags = false;
    std::optional<Finding> refusal;

    bool ok() const { return !refusal.has_value(); }
};

MdmIndex indexMdm(ByteView bytes, Reader reader, bool vertexPositions = true);
MdmIndex indexMdm(ByteView bytes, Report& report);

}  // namespace formats
