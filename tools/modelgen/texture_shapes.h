// Model folders whose surfaces drive the texture loader: one texture file
// named by thousands of surfaces (the body through its skin, the head
// through the head skin, an accessory through its shader names), the same
// with the texture missing, one very large image, and archives whose small
// size hides large members. Each folder is what the viewer takes as its
// model folder (ModelDir); tests, benchmarks and mkmodel write them.
#pragma once

#include <string>
#include <vector>

#include "modelgen/bytes.h"

namespace mg {

struct FolderFile {
    std::string name;  // relative to the folder, '/' between components
    Bytes bytes;
};
using Folder = std::vector<FolderFile>;

// Writes every file below dir, making the folders it needs.
bool writeFolder(const std::string& dir, const Folder& folder);

// A side x side RGB JPEG of eight by eight flat tiles: about the fewest
// bytes a JPEG of that size takes with the standard Huffman tables.
Bytes tiledJpeg(int side);

// A side x side uncompressed 24-bit TGA of one colour: deflate shrinks it
// about a thousand times.
Bytes flatTga(int side);

// Every model is one textured quad and as many more surfaces without
// vertices or triangles as asked for: each a record of its own, so the
// files are valid and hold every surface they count.
struct TexturedModel {
    int bodySurfaces = 1;       // body.mds, all named "shared"
    int headSurfaces = 0;       // head.mdc, all named "h_head"; 0: no head file
    int accessorySurfaces = 0;  // acc/belt.mdc (md3_beltl), whose shader names name the texture
    int textureSide = 64;       // texture.jpg, which every surface names; 0: named but not written
    // Instead: each body surface has a name of its own ("s<k>"), and the
    // body skin names a TGA file for each (tex<k>.tga, flatTga(distinctSide)).
    int distinctSide = 0;
};

// body.mds, body_default.skin, head_default.skin and, as asked for,
// head.mdc, acc/belt.mdc, texture.jpg and the distinct TGA files.
Folder texturedModel(const TexturedModel& model);

#ifdef KV_HAVE_LIBZIP
// Writes the files as one deflated zip archive at path (making its folder);
// false on failure.
bool writeZip(const std::string& path, const Folder& members);
#endif

}  // namespace mg
