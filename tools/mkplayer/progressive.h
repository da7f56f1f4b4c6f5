// A mesh as a progressive mesh, the vertex order game exporters write for
// skeletal surfaces: the vertex that is cheapest to remove comes last, and
// every vertex collapses onto one that stays longer, so the first n vertices
// are the best coarse mesh of n vertices the collapses found.
#pragma once

#include <cstdint>
#include <vector>

#include "mkplayer/mesh.h"

namespace mp {

// Puts `mesh`'s vertices in progressive order (triangles are renumbered,
// their order kept) and returns the collapse map: entry j is the vertex that
// vertex j collapses onto, always below j (0 for vertex 0).
//
// Collapses run on the surface as drawn, with vertices at one place (a
// texture seam) moved together; each step removes the place whose move onto
// a neighbouring place changes the shape least, measured by the squared
// distances to the planes of the triangles it and its target have absorbed
// (surface error quadrics, with planes across open edges so that those stay
// put). A move that would turn a remaining triangle over counts as very dear.
std::vector<std::int32_t> progressiveOrder(Mesh& mesh);

}  // namespace mp
