// Data sets the size of a game's, for measuring a whole-collection check:
// files of every format in a game folder's layout, some of them in an
// archive, and many small models spread over archives.
#pragma once

#include <vector>

#include "modelgen/bytes.h"
#include "modelgen/texture_shapes.h"

namespace mg {

// A skeleton of `bones` bones in a chain over `frames` frames (53 bones and
// 4887 frames make 3.36 MB, as a real walk's body.mdx).
Bytes largeMdx(int bones, int frames);
// The sample MD3 head over `frames` frames.
Bytes largeMd3(int frames);
// The sample MDC head over `frames` frames, each its own base frame.
Bytes largeMdc(int frames);
// A body of `surfaces` surfaces of `vertices` vertices, two weights each,
// on the first `bones` bones.
Bytes largeMdm(int surfaces, int vertices, int bones);

struct DataSet {
    Folder loose;     // files below the game folder
    Folder archived;  // members of one archive in it
};

// About 93 MB in 536 files: 11 MDM bodies, 10 MDX skeletons of 3.4 MB,
// 171 MDC heads, 101 skins and the 10 textures they name and, in one
// archive, 243 MD3 props.
DataSet gameDataSet();

// `models` small MD3 and MDC models spread over `archives` archives.
std::vector<Folder> manyModelArchives(int models, int archives);

}  // namespace mg
