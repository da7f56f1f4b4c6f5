// Materials and their images for an asset: a texture file found as the
// viewer finds it (the JPEG, then the TGA, then, with a game folder set,
// the game path below it), decoded by the project's image decoder to check
// it, and kept as JPEG bytes or written as PNG (glTF takes no TGA). Each
// file becomes one image however many materials name it, each name one
// material.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "export/asset.h"
#include "platform/d3d8/pixel_allowance.h"

namespace exporter {

class Textures {
public:
    explicit Textures(Asset& asset) : asset_(asset) {}

    // The material `name` with the image of the first file that decodes
    // among `base` + ".jpg", `base` + ".tga", then `gamePath` + ".jpg" and
    // ".tga" below the game folder (when set). Without one a warning names
    // the files tried and `askedBy`; the material is made all the same.
    int material(const std::string& name, const std::string& base, const std::string& gamePath,
                 const std::string& askedBy);
    // A material without an image (a surface its skin does not name).
    int plainMaterial(const std::string& name);

private:
    int image(const std::string& path);

    Asset& asset_;
    std::map<std::string, int> materials_;
    std::map<std::string, int> images_;  // by file identity; -1: does not decode
    d3dx::PixelAllowance allowance_;
};

}  // namespace exporter
