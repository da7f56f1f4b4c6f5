// The body model: skeleton, frames, tags and weighted surfaces as an MDS
// description for the fixture writer. Each surface's vertices are in
// progressive order with its collapse map (progressive.h).
#pragma once

#include <string>

#include "modelgen/mds_writer.h"

namespace mp {

// Shader (and texture) name of a body surface.
std::string bodyShader(const std::string& surface);

mg::MdsModel bodyModel();

}  // namespace mp
