// Ready-made models for tests, seeds, benchmarks and the demo: a small valid
// MDS model, named damaged twins of it, a large synthetic MDS model, a small
// valid MDC model and a small valid MD3 model with its LOD files. (The MDM
// body and its MDX walk cycle are the demo player's: mkplayer/split_body.h.)
#pragma once

#include <cstdint>

#include "modelgen/md3_writer.h"
#include "modelgen/mdc_writer.h"
#include "modelgen/mds_writer.h"

namespace mg {

// 4 bones (one root), 3 frames, 2 tags, 2 surfaces of 4 vertices (1 or 2
// weights each, one vertex with none), 2 triangles each.
MdsModel sampleMds();

enum class MdsDamage {
    WrongIdent,         // "MDSX"
    Version3,           // version 3
    Truncated,          // cut to 100 bytes (shorter than the header)
    SurfaceEndOutside,  // surface 0's OffsetEnd points past the file
    WeightsPastEnd,     // the last vertex of the file claims 1000 weights
    BadBoneIndices,     // tag, weight, bone ref, parent and TorsoParent out of range
    NegativeCount,      // NumTags -1
    UnterminatedNames,  // every name exactly 64 characters, no terminator
};

// The sample model's file with one kind of damage.
Bytes damagedMds(MdsDamage damage);

// surfaces x vertices, each vertex with `weights` weights; `bones` bones in a
// chain; `frames` frames; every triangle list covers the vertices.
MdsModel syntheticMds(int surfaces, int vertices, int weights, int bones, int frames);

// A body the size of a real one (5.2 MB): 70 bones, 5400 frames, 16
// surfaces of 250 vertices with 2 weights each and 400 triangles.
Bytes largeBody();

// 2 surfaces of 3 vertices, 2 base frames, 3 frames.
MdcModel sampleMdc();

// A head nodding over 4 frames: surfaces h_head and h_neck (capped
// cylinders of 12 sides, 26 vertices and 48 triangles each), tags
// tag_mouth and tag_eyes turning with the head. lod 1 to 3 gives the LOD
// files head_1.md3 ... head_3.md3: the same frames and tags, 8, 6 and 4
// sides.
Md3Model sampleMd3(int lod = 0);

}  // namespace mg
