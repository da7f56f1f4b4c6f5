// A framebuffer object of one size (an RGBA8 colour and a depth-stencil
// renderbuffer, multisampled on request) in a surface's context, and
// reading it back as RGB rows, top row first: the drawing target of the
// surfaces that have no window to draw into (src/platform/egl,
// src/platform/wgl).
#pragma once

#include <string>

#include "platform/d3d8/surface.h"

namespace gloffscreen {

class Framebuffer {
public:
    // Makes the buffers in `surface`'s context, which must be current, and
    // binds them; false with a one-line reason when the context lacks
    // framebuffer objects or cannot make one of this size. With `samples`
    // above 1 the buffers are multisampled, with as many samples as asked,
    // at most what the context can give (samples() says how many it has),
    // and readRgb resolves them first.
    bool create(GlSurface& surface, int width, int height, int samples, std::string& why);
    // Deletes the buffers; `surface`'s context must be current.
    void destroy(GlSurface& surface);
    UINT name() const { return framebuffer_; }
    int samples() const { return samples_; }
    // Copies width x height pixels into `rgb` (see GlSurface::readRgb).
    bool readRgb(GlSurface& surface, unsigned char* rgb) const;

private:
    bool makeTarget(GlSurface& surface, UINT& framebuffer, UINT (&renderbuffers)[2], int samples, bool withDepth);

    UINT framebuffer_ = 0;
    UINT renderbuffers_[2] = {0, 0};  // colour, depth and stencil
    // The single-sampled copy a multisampled framebuffer resolves into.
    UINT resolved_ = 0;
    UINT resolvedColour_[2] = {0, 0};
    int width_ = 0;
    int height_ = 0;
    int samples_ = 1;
};

}  // namespace gloffscreen
