// Files whose records are each valid but whose structure multiplies the work
// of a naive reader: lists shared by many surfaces or tags, surface and tag
// chains that come back to the same record or run backwards, chains of
// bones and collapses a reader may walk again for every link, a long skin
// over many surfaces. Each is small; read naively it costs far more than
// its size. Tests, seeds and mkmodel use them to check
// that every reader's work stays in proportion to the bytes.
#pragma once

#include <string>

#include "modelgen/bytes.h"

namespace mg {

// One bone, one frame, three vertices and one list of `triangles`
// triangles, then `surfaces` surface headers back to back (each OffsetEnd
// 176) that all point at that one vertex list and that one triangle list.
Bytes sharedListsMds(int surfaces, int triangles);

// One small valid surface whose OffsetEnd is 0: NumSurfaces `surfaces`
// all resolve to that same header.
Bytes sharedHeaderMds(int surfaces);

// The sample model with its two surfaces stored in reverse order: the chain
// starts at the second one stored and its OffsetEnd points backwards. A
// valid file.
Bytes backwardChainMds();

// The sample model with its frames stored last and its last frame repeated
// until there are `frames` (at least 3): a valid file of 100 bytes per frame
// that deflates a few hundred times.
Bytes repeatedFramesMds(int frames);

// One MDC surface with `triangles` triangles, then `surfaces` - 1 more
// surface headers that all point at its lists.
Bytes sharedListsMdc(int surfaces, int triangles);

// A body of `surfaces` surfaces named surface0, surface1, ... (three
// vertices each, one bone, one frame): 340 bytes a surface.
Bytes manySurfacesMds(int surfaces);

// A skin of `lines` entries "surface<i>,models/players/synthetic/t<i>.tga",
// the highest i first: each surface of manySurfacesMds is then named near
// the end, so a lookup that walks the entries walks nearly all of them.
std::string longSkin(int lines);

// MD3: one surface of 3 vertices in `frames` frames and `triangles`
// triangles, then `surfaces` - 1 more surface headers that all point at its
// shaders, triangles, texture coordinates and positions.
Bytes sharedListsMd3(int surfaces, int triangles, int frames);

// MD3: one small surface whose OffsetEnd is 0, named by `surfaces` surfaces.
Bytes sharedHeaderMd3(int surfaces);

// MDM: one surface (3 vertices on bone 0, `triangles` triangles), then
// `surfaces` - 1 more headers that all point at its lists.
Bytes sharedListsMdm(int surfaces, int triangles);

// MDM: one surface and one tag, each with OffsetEnd 0, named by `surfaces`
// surfaces and `tags` tags.
Bytes sharedHeaderMdm(int surfaces, int tags);

// MDM: one tag with `refs` bone references (0, 1, ... 127, 0, ...), then
// `tags` - 1 more tags that all point at that list.
Bytes sharedTagRefsMdm(int tags, int refs);

// MDM: one surface of `vertices` vertices, a strip of triangles and the
// collapse map j -> j - 1 (valid: a chain as long as the surface, which a
// reduction that follows each vertex to its end walks again per vertex),
// named by `surfaces` surface headers as in sharedListsMdm.
Bytes collapseChainMdm(int surfaces, int vertices);

// MDX: `bones` bones in one chain (each the child of the one before) and
// `frames` frames: an evaluation that walks each bone up to the root pays
// bones^2 / 2 per frame.
Bytes boneChainMdx(int bones, int frames);

}  // namespace mg
