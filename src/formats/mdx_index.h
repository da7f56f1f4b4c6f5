// The index of an MDX file (the sibling game's skeleton and animation): the
// bones and every frame's bone records (families/skeleton.h), built once by
// the walk and read by every program.
#pragma once

#include <optional>

#include "formats/byte_view.h"
#include "formats/diagnostics.h"
#include "formats/families/skeleton.h"
#include "formats/mdx_layout.h"

namespace formats {

struct MdxIndex : SkeletonIndex {
    bool readable = false;  // the file is MDX and holds its whole header
    MdxHeader header{};     // valid when readable
    std::optional<Finding> refusal;

    bool ok() const { return !refusal.has_value(); }
};

MdxIndex indexMdx(ByteView bytes, Reader reader);
MdxIndex indexMdx(ByteView bytes, Report& report);

}  // namespace formats
