#include "picture.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "options.h"
#include "picture_camera.h"
#include "platform/d3d8/png_encode.h"
#include "platform/d3d8/surface.h"
#include "platform/sys/output_file.h"
#include "platform/sys/path.h"
#include "render/renderer.h"
#include "scene/drawn_scene.h"

namespace kr {

Shot::Shot(D3D& renderer, scene::DrawnScene& scene, GlSurface& surface, PictureCamera& camera, Backdrop& backdrop,
           const Options& options)
    : renderer_(renderer), scene_(scene), surface_(surface), camera_(camera), backdrop_(backdrop), options_(options) {}

void Shot::aim(const std::vector<std::uint32_t>& steps) {
    eyes_.clear();
    if (options_.camera) return;
    scene::Box box;
    for (std::uint32_t step : steps) {
        scene_.setStep(step);
        box.add(scene_.bounds());
    }
    for (View view : options_.picture.views) eyes_.push_back(frameBox(box, view, options_.width, options_.height));
}

std::string Shot::readBack(std::uint32_t colour, unsigned char* rgb) const {
    backdrop_.colour = 0xFF000000u | colour;
    renderer_.render();
    if (!surface_.readRgb(rgb)) return "cannot read the picture back from the OpenGL context";
    return {};
}

// One view at the surface's size into `cell`, sized by the caller.
std::string Shot::drawView(Image& cell) const {
    const PictureOptions& p = options_.picture;
    if (!p.transparent) return readBack(p.background, cell.pixels.data());
    Image overBlack;
    Image overWhite;
    std::string error = allocate(overBlack, cell.width, cell.height, 3);
    if (error.empty()) error = allocate(overWhite, cell.width, cell.height, 3);
    if (error.empty()) error = readBack(0x000000u, overBlack.pixels.data());
    if (error.empty()) error = readBack(0xFFFFFFu, overWhite.pixels.data());
    if (error.empty()) {
        unblend(overBlack.pixels.data(), overWhite.pixels.data(),
                static_cast<std::size_t>(cell.width) * static_cast<std::size_t>(cell.height), cell.pixels.data());
    }
    return error;
}

std::string Shot::take(std::uint32_t step, Image& picture) const {
    scene_.setStep(step);
    UINT width = 0;
    UINT height = 0;
    surface_.pixelSize(&width, &height);
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    const int channels = options_.picture.transparent ? 4 : 3;
    const std::size_t views = eyes_.empty() ? 1 : eyes_.size();
    std::string error = allocate(picture, w * static_cast<int>(views), h, channels);
    if (!error.empty()) return error;
    if (eyes_.empty()) return drawView(picture);
    Image cell;
    if (views > 1 && !(error = allocate(cell, w, h, channels)).empty()) return error;
    for (std::size_t v = 0; v < views; ++v) {
        camera_.aim(eyes_[v]);
        error = drawView(views > 1 ? cell : picture);
        if (!error.empty()) return error;
        if (views > 1) place(picture, cell, w * static_cast<int>(v));
    }
    return {};
}

std::string writePng(const Image& picture, const std::string& path) {
    const std::size_t row = picture.rowBytes();
    if (picture.width <= 0 || picture.height <= 0 || picture.pixels.size() != row * static_cast<std::size_t>(picture.height)) {
        return "no " + std::to_string(picture.width) + "x" + std::to_string(picture.height) + " picture to write to " + path;
    }
    // Pictures are zlib level 3: the writing time of a 500 x 500 picture
    // halves against level 6, for a few percent of size.
    const std::vector<std::uint8_t> png = d3dx::encodePng(picture.pixels, picture.width, picture.height,
                                                          picture.channels, {.zlibLevel = 3, .unfiltered = true});
    if (png.empty()) return "cannot encode the picture for " + path;
    std::FILE* file = sys::openForWriting(path);
    if (file == nullptr) return "cannot write " + path;
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    if (std::fclose(file) != 0 || !written) {
        std::error_code ec;
        std::filesystem::remove(sys::fsPath(path), ec);
        return "cannot write " + path;
    }
    return {};
}

}  // namespace kr
