// 2D textures in A8R8G8B8 (or X8R8G8B8) with their mipmap chain. Each level
// keeps its texels in CPU memory (bytes B, G, R, A, pitch = width × 4);
// LockRect hands that memory out, UnlockRect marks the level for upload,
// and the device uploads level 0 (the only one its sampler reads) before a
// draw samples the texture.
//
// As in Direct3D, a new level's texels are undefined until written: the
// memory is not cleared, since whoever locks it (the texture loader) writes
// every texel. A level 0 uploaded without ever having been locked is
// cleared to zero first, so that nothing undefined reaches the screen.
#pragma once

#include <memory>
#include <vector>

#include "platform/d3d8/d3d8.h"
#include "platform/gl/gl_context.h"

class GlTexture final : public GlRefCounted<IDirect3DTexture8> {
public:
    // levels must already be resolved (1 … fullChainLevels).
    GlTexture(GlContextRef context, UINT width, UINT height, UINT levels, D3DFORMAT format);
    ~GlTexture() override;

    DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
    HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
    HRESULT UnlockRect(UINT Level) override;

    // Binds to GL_TEXTURE_2D on the active unit, uploading level 0 if dirty.
    void bind();

    // Levels of a full chain down to 1 × 1 for a width × height base.
    static UINT fullChainLevels(UINT width, UINT height);

private:
    struct Level {
        UINT width;
        UINT height;
        std::unique_ptr<BYTE[]> texels;  // width × height × 4, not cleared
        UINT locks = 0;
        bool dirty = true;
        bool written = false;  // locked at least once
        std::size_t bytes() const { return static_cast<std::size_t>(width) * height * 4; }
    };

    GlContextRef context_;
    std::vector<Level> levels_;
    D3DFORMAT format_;
    GLuint name_ = 0;
};
