// The structure of an MDC file as a tree in mdstree's style: header, frames
// (bounds, origin, radius), tags per frame, and each surface with its
// shaders, triangles, texture coordinates, base and compressed vertices and
// its two frame tables. Positions stored in units of 1/64 and angles in
// units of 360/65536 degrees show their value beside the stored number.
//
// It reads what the index (formats/mdc_index.h, walked for Reader::Print)
// found; where the walk stopped, one last line under the root says why
// ("Damaged: " and the finding).
#pragma once

#include "browser/tree_sink.h"
#include "formats/byte_view.h"
#include "formats/mdc_index.h"

namespace browser {

// False when the file is damaged (the last line under `root` says where).
bool mdcTree(formats::ByteView bytes, const formats::MdcIndex& index, TreeNode root, TreeSink& sink);

}  // namespace browser
