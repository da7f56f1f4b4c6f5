#include "platform/gl/gl_offscreen.h"

#include <algorithm>
#include <cstddef>

#include "platform/gl/gl_functions.h"

namespace gloffscreen {
namespace {

template <class Function>
Function entry(GlSurface& surface, const char* name) {
    return reinterpret_cast<Function>(surface.getProcAddress(name));
}

}  // namespace

bool Framebuffer::makeTarget(GlSurface& surface, UINT& framebuffer, UINT (&renderbuffers)[2], int samples,
                             bool withDepth) {
    auto genFramebuffers = entry<PFNGLGENFRAMEBUFFERSPROC>(surface, "glGenFramebuffers");
    auto bindFramebuffer = entry<PFNGLBINDFRAMEBUFFERPROC>(surface, "glBindFramebuffer");
    auto genRenderbuffers = entry<PFNGLGENRENDERBUFFERSPROC>(surface, "glGenRenderbuffers");
    auto bindRenderbuffer = entry<PFNGLBINDRENDERBUFFERPROC>(surface, "glBindRenderbuffer");
    auto storage = entry<PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC>(surface, "glRenderbufferStorageMultisample");
    auto attach = entry<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(surface, "glFramebufferRenderbuffer");
    auto status = entry<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(surface, "glCheckFramebufferStatus");
    if (!genFramebuffers || !bindFramebuffer || !genRenderbuffers || !bindRenderbuffer || !storage || !attach ||
        !status) {
        return false;
    }
    GLuint names[2] = {0, 0};
    genRenderbuffers(withDepth ? 2 : 1, names);
    renderbuffers[0] = names[0];
    renderbuffers[1] = names[1];
    bindRenderbuffer(GL_RENDERBUFFER, names[0]);
    storage(GL_RENDERBUFFER, samples, GL_RGBA8, width_, height_);
    if (withDepth) {
        bindRenderbuffer(GL_RENDERBUFFER, names[1]);
        storage(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, width_, height_);
    }
    bindRenderbuffer(GL_RENDERBUFFER, 0);

    GLuint made = 0;
    genFramebuffers(1, &made);
    framebuffer = made;
    bindFramebuffer(GL_FRAMEBUFFER, made);
    attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, names[0]);
    if (withDepth) attach(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, names[1]);
    return status(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

bool Framebuffer::create(GlSurface& surface, int width, int height, int samples, std::string& why) {
    width_ = width;
    height_ = height;
    samples_ = std::max(samples, 1);
    if (samples_ > 1) {
        // As many samples as asked, at most what the context offers for
        // both colour and depth.
        auto getInteger = entry<PFNGLGETINTEGERVPROC>(surface, "glGetIntegerv");
        GLint most = 1;
        if (getInteger != nullptr) getInteger(GL_MAX_SAMPLES, &most);
        samples_ = std::max(1, std::min(samples_, static_cast<int>(most)));
    }
    const auto failed = [&] {
        why = "the OpenGL context cannot make a " + std::to_string(width_) + "x" + std::to_string(height_) +
              " framebuffer" + (samples_ > 1 ? " of " + std::to_string(samples_) + " samples" : "");
        return false;
    };
    if (!makeTarget(surface, framebuffer_, renderbuffers_, samples_ > 1 ? samples_ : 0, true)) return failed();
    if (samples_ > 1 && !makeTarget(surface, resolved_, resolvedColour_, 0, false)) return failed();
    if (samples_ > 1) {
        // The driver may give more samples than asked (llvmpipe: 2 gives 4).
        auto bindRenderbuffer = entry<PFNGLBINDRENDERBUFFERPROC>(surface, "glBindRenderbuffer");
        auto parameter = entry<PFNGLGETRENDERBUFFERPARAMETERIVPROC>(surface, "glGetRenderbufferParameteriv");
        GLint given = samples_;
        if (bindRenderbuffer != nullptr && parameter != nullptr) {
            bindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
            parameter(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &given);
            bindRenderbuffer(GL_RENDERBUFFER, 0);
        }
        samples_ = std::max(1, static_cast<int>(given));
    }
    // Drawing binds the surface's framebuffer itself.
    entry<PFNGLBINDFRAMEBUFFERPROC>(surface, "glBindFramebuffer")(GL_FRAMEBUFFER, framebuffer_);
    return true;
}

void Framebuffer::destroy(GlSurface& surface) {
    auto deleteFramebuffers = entry<PFNGLDELETEFRAMEBUFFERSPROC>(surface, "glDeleteFramebuffers");
    auto deleteRenderbuffers = entry<PFNGLDELETERENDERBUFFERSPROC>(surface, "glDeleteRenderbuffers");
    const GLuint framebuffers[2] = {framebuffer_, resolved_};
    const GLuint renderbuffers[3] = {renderbuffers_[0], renderbuffers_[1], resolvedColour_[0]};
    if (deleteFramebuffers) deleteFramebuffers(2, framebuffers);
    if (deleteRenderbuffers) deleteRenderbuffers(3, renderbuffers);
    framebuffer_ = resolved_ = 0;
    renderbuffers_[0] = renderbuffers_[1] = resolvedColour_[0] = 0;
}

bool Framebuffer::readRgb(GlSurface& surface, unsigned char* rgb) const {
    auto bindFramebuffer = entry<PFNGLBINDFRAMEBUFFERPROC>(surface, "glBindFramebuffer");
    auto pixelStore = entry<PFNGLPIXELSTOREIPROC>(surface, "glPixelStorei");
    auto readPixels = entry<PFNGLREADPIXELSPROC>(surface, "glReadPixels");
    auto blit = entry<PFNGLBLITFRAMEBUFFERPROC>(surface, "glBlitFramebuffer");
    if (width_ <= 0 || height_ <= 0 || !bindFramebuffer || !pixelStore || !readPixels || (resolved_ != 0 && !blit)) {
        return false;
    }
    bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    if (resolved_ != 0) {
        // A multisampled buffer cannot be read: average its samples into
        // the single-sampled copy and read that.
        bindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved_);
        blit(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        bindFramebuffer(GL_READ_FRAMEBUFFER, resolved_);
    }
    pixelStore(GL_PACK_ALIGNMENT, 1);
    readPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    // OpenGL's rows run bottom-up.
    const std::size_t row = static_cast<std::size_t>(width_) * 3;
    for (std::size_t top = 0, bottom = static_cast<std::size_t>(height_) - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(rgb + top * row, rgb + (top + 1) * row, rgb + bottom * row);
    }
    return true;
}

}  // namespace gloffscreen
