#include "platform/gl/gl_texture.h"

#include "platform/sys/sys.h"

#include <cstring>
#include <utility>

GlTexture::GlTexture(GlContextRef context, UINT width, UINT height, UINT levels, D3DFORMAT format)
    : context_(std::move(context)), format_(format) {
    levels_.reserve(levels);
    for (UINT i = 0; i < levels; ++i) {
        const UINT w = (width >> i) != 0 ? (width >> i) : 1;
        const UINT h = (height >> i) != 0 ? (height >> i) : 1;
        levels_.push_back(Level{w, h, nullptr});
        Level& level = levels_.back();
        level.texels = std::make_unique_for_overwrite<BYTE[]>(level.bytes());
        sys::adviseLargePages(level.texels.get(), level.bytes());
    }
}

GlTexture::~GlTexture() {
    if (name_ != 0 && context_->makeCurrent()) {
        context_->gl.DeleteTextures(1, &name_);
    }
}

UINT GlTexture::fullChainLevels(UINT width, UINT height) {
    UINT size = width > height ? width : height;
    UINT levels = 1;
    while (size > 1) {
        size >>= 1;
        ++levels;
    }
    return levels;
}

HRESULT GlTexture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) {
    (void)Flags;
    if (pLockedRect == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    pLockedRect->pBits = nullptr;
    pLockedRect->Pitch = 0;
    if (Level >= levels_.size()) {
        return D3DERR_INVALIDCALL;
    }
    auto& level = levels_[Level];
    std::size_t offset = 0;
    if (pRect != nullptr) {
        const bool inside = pRect->left >= 0 && pRect->top >= 0 && pRect->left < pRect->right &&
                            pRect->top < pRect->bottom && static_cast<UINT>(pRect->right) <= level.width &&
                            static_cast<UINT>(pRect->bottom) <= level.height;
        if (!inside) {
            return D3DERR_INVALIDCALL;
        }
        offset = (static_cast<std::size_t>(pRect->top) * level.width + static_cast<std::size_t>(pRect->left)) * 4;
    }
    ++level.locks;
    level.written = true;
    pLockedRect->Pitch = static_cast<INT>(level.width * 4);
    pLockedRect->pBits = level.texels.get() + offset;
    return D3D_OK;
}

HRESULT GlTexture::UnlockRect(UINT Level) {
    if (Level >= levels_.size() || levels_[Level].locks == 0) {
        return D3DERR_INVALIDCALL;
    }
    --levels_[Level].locks;
    levels_[Level].dirty = true;
    return D3D_OK;
}

void GlTexture::bind() {
    const GlFunctions& gl = context_->gl;
    if (name_ == 0) {
        gl.GenTextures(1, &name_);
        gl.BindTexture(GL_TEXTURE_2D, name_);
        // Direct3D 8's default sampler: point sampling, no mipmap filtering,
        // wrapping coordinates. Without mipmap filtering only level 0 is
        // ever sampled, so only level 0 goes to the GL; the other levels
        // stay here for LockRect.
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        if (format_ == D3DFMT_X8R8G8B8) {
            gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
        }
    } else {
        gl.BindTexture(GL_TEXTURE_2D, name_);
    }
    // Unpack state may have been changed by other users of the context.
    gl.BindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    gl.PixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    gl.PixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    Level& level = levels_[0];
    if (level.dirty) {
        if (!level.written) {
            std::memset(level.texels.get(), 0, level.bytes());
            level.written = true;
        }
        gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(level.width), static_cast<GLsizei>(level.height),
                      0, GL_BGRA, GL_UNSIGNED_BYTE, level.texels.get());
        level.dirty = false;
    }
}
