// A drawn frame into a PNG file: the surface's framebuffer read back
// through its own OpenGL entry points and written as opaque RGB by
// stb_image_write, the same way whichever surface drew it.
#pragma once

#include <string>

#include "platform/d3d8/surface.h"

namespace kr {

// Writes the width × height framebuffer of `surface` to `path`; on failure
// returns a one-line reason, otherwise an empty string.
std::string savePicture(GlSurface& surface, int width, int height, const std::string& path);

}  // namespace kr
