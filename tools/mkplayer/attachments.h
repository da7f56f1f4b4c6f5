// The rigid models hung on the body: the head (at the neck, bone 7), the
// helmet (at the head, bone 8), the two belt pouches (bones 55 and 54) and
// the back pack (bone 51). Each is built around its bone's position in the
// file's axes (x forward, y left, z up).
#pragma once

#include "mkplayer/mesh.h"
#include "modelgen/mdc_writer.h"

namespace mp {

// The surface names are the keys of the head and hat skins.
inline constexpr const char* kHeadSurface = "h_head";
inline constexpr const char* kHatSurface = "hat";

// The meshes, each around its bone (drawing axes), and the MDC models made
// of them.
Mesh headMesh();
Mesh hatMesh();
Mesh beltMesh(bool left);
Mesh packMesh();

mg::MdcModel headModel();
mg::MdcModel hatModel();
mg::MdcModel beltModel(bool left);
mg::MdcModel packModel();

}  // namespace mp
