// The demo body as the sibling game stores a character: the mesh (its
// surfaces, weights and tags) as an MDM description and the skeleton with
// the walk cycle as an MDX description. The MDX's bones and frames are
// body.mds's bones and walk frames record for record; the MDM's weights are
// body.mds's, naming those bones, so the pair poses exactly as the body.
#pragma once

#include "modelgen/mdm_writer.h"
#include "modelgen/mdx_writer.h"

namespace mp {

// Surfaces legs, torso, arms and hands with the body's weights; each
// surface's bone references are the bones its weights name and all their
// ancestors (parents first), its collapse map is the body's (a progressive
// order) and it keeps at least a quarter of its vertices. The body's tags, each hanging on its bone with
// an identity axis and no offset.
mg::MdmModel bodyMdm();

// A tag hanging on `bone` at `offset` in the bone's axes (identity axis),
// with the bone and its ancestors as bone references.
mg::MdmTagDesc tagOnBone(const std::string& name, std::int32_t bone, const std::array<float, 3>& offset);

// The 56 bones and the 20 walk frames (body.mds frames 0 to 19).
mg::MdxModel walkMdx();

// The same bones and the 16 frames of the idle turn (body.mds frames 20 to
// 35): a second animation file of the same skeleton.
mg::MdxModel idleMdx();

}  // namespace mp
