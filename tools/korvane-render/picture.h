// One picture of the player: the body posed at a frame, one frame of the
// renderer, the surface's pixels read back; and RGB rows written as a PNG
// file by stb_image_write (zlib's deflate).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class D3D;
class GlSurface;
class MDS;

namespace kr {

// The renderer with the player in its scene list and the surface it draws on.
struct Shot {
    D3D& renderer;
    MDS& body;
    GlSurface& surface;

    // Poses the body at `frame`, renders and reads the surface back into
    // `rgb` (opaque RGB rows, the top row first); on failure returns a
    // one-line reason, otherwise an empty string.
    std::string take(std::uint32_t frame, std::vector<unsigned char>& rgb) const;
};

// Writes RGB rows (top row first) to `path` as PNG; a reason or empty.
std::string writePng(const std::vector<unsigned char>& rgb, int width, int height, const std::string& path);

}  // namespace kr
