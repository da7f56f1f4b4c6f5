// korvane-render's camera and backdrop. The camera is the viewer's free
// camera (so --camera places it exactly as before) that also sets the
// projection for the picture's own aspect, where the renderer assumes the
// viewer's square window, and the clip distances of a framed view. The
// backdrop is the first object drawn: it clears to the picture's
// background colour instead of the renderer's white.
#pragma once

#include <cstdint>

#include "app/camera.h"
#include "framing.h"
#include "render/renderable.h"

namespace kr {

class PictureCamera final : public FreeCamera {
public:
    // The viewer's projection (45 degrees, near 1, far 500) for a picture
    // of width x height pixels.
    PictureCamera(int width, int height) : aspect_(static_cast<float>(width) / static_cast<float>(height)) {}

    // Stands at `eye`, with its clip distances.
    void aim(const Eye& eye);
    // The projection for the picture, then the free camera's view.
    void apply(IDirect3DDevice8* device) override;

private:
    float aspect_;
    float near_ = 1.0f;
    float far_ = 500.0f;
};

class Backdrop final : public Renderable {
public:
    // 0xAARRGGBB; the renderer's own clear is opaque white.
    std::uint32_t colour = 0xFFFFFFFFu;
    void draw(IDirect3DDevice8* device) override;
};

}  // namespace kr
