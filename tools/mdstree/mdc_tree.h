// The structure of an MDC file as indented text in mdstree's style (two
// spaces per level): header, frames, tags per frame, and each surface with
// its shaders, triangles, texture coordinates, base and compressed vertices
// and its two frame tables. Lines are written as they are made.
//
// A record that does not lie inside the file ends the text with one line
// under the root that says which record and where. The records printed are
// charged against twice the file size (lists that share a few bytes still
// print whole), so a file whose lists repeat cannot make the output larger
// than about twice its own records.
#pragma once

#include <cstdio>

#include "formats/byte_view.h"

namespace mdstree {

// True for a file whose first four bytes are "IDPC".
bool isMdcFile(formats::ByteView bytes);

// Prints the tree under the root line `rootLabel`; false when the file is
// damaged (the last line says where).
bool printMdcTree(formats::ByteView bytes, const char* rootLabel, std::FILE* out);

// mdstree's MDC path: -1 when the file at `path` is not an MDC file (the MDS
// tree then takes it), else the exit status after printing its tree.
int printIfMdc(const char* path);

}  // namespace mdstree
