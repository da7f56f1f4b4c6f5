// A drawn frame into a PNG file: the surface's framebuffer read back
// through its own OpenGL entry points and written as opaque RGB by
// stb_image_write, the same way whichever surface drew it.
#pragma once

#include <string>
#include <vector>

#include "platform/d3d8/surface.h"

namespace kr {

// Reads the width × height framebuffer of `surface` into `rgb` as opaque
// RGB rows, the top row first; on failure returns a one-line reason,
// otherwise an empty string.
std::string readPicture(GlSurface& surface, int width, int height, std::vector<unsigned char>& rgb);

// Writes RGB rows (top row first) to `path` as PNG; a reason or empty.
std::string writePng(const std::vector<unsigned char>& rgb, int width, int height, const std::string& path);

// readPicture, then writePng.
std::string savePicture(GlSurface& surface, int width, int height, const std::string& path);

}  // namespace kr
