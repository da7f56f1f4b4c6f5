// One picture of a drawn scene: the scene posed at a step, each view of
// the picture framed, drawn by the renderer and read back from the
// surface (twice over black and white for a transparent background), the
// views side by side; and pictures written as PNG files by stb_image_write
// (zlib's deflate).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framing.h"
#include "image.h"

class D3D;
class GlSurface;
namespace scene {
class DrawnScene;
}

namespace kr {

struct Options;
class Backdrop;
class PictureCamera;

class Shot {
public:
    // The renderer holds the camera, the backdrop first in its scene list,
    // and the scene's renderables; none is owned.
    Shot(D3D& renderer, scene::DrawnScene& scene, GlSurface& surface, PictureCamera& camera, Backdrop& backdrop,
         const Options& options);

    scene::DrawnScene& scene() const { return scene_; }

    // Without --camera: frames each view on the box of everything drawn at
    // any of `steps` (each below scene().numSteps()), so that every picture
    // of a range or an animation is seen from the same place. With --camera
    // the camera stays where it was put.
    void aim(const std::vector<std::uint32_t>& steps);

    // Poses the scene at `step`, draws every view and reads it back into
    // `picture` (RGB, or RGBA for a transparent background; the views side
    // by side); on failure returns a one-line reason, otherwise "".
    std::string take(std::uint32_t step, Image& picture) const;

private:
    std::string drawView(Image& cell) const;
    std::string readBack(std::uint32_t colour, unsigned char* rgb) const;

    D3D& renderer_;
    scene::DrawnScene& scene_;
    GlSurface& surface_;
    PictureCamera& camera_;
    Backdrop& backdrop_;
    const Options& options_;
    std::vector<Eye> eyes_;  // one per view once aimed; none with --camera
};

// Writes `picture` (RGB or RGBA) to `path` as PNG; a reason or "".
std::string writePng(const Image& picture, const std::string& path);

}  // namespace kr
