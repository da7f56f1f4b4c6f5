// 2D textures in A8R8G8B8 (or X8R8G8B8) with their mipmap chain. Each level
// keeps its texels in CPU memory (bytes B, G, R, A, pitch = width × 4);
// LockRect hands that memory out, UnlockRect marks the level for upload,
// and the device uploads before a draw samples the texture.
#pragma once

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

    // Binds to GL_TEXTURE_2D on the active unit, uploading dirty levels.
    void bind();

    // Levels of a full chain down to 1 × 1 for a width × height base.
    static UINT fullChainLevels(UINT width, UINT height);

private:
    struct Level {
        UINT width;
        UINT height;
        std::vector<BYTE> texels;
        UINT locks = 0;
        bool dirty = true;
    };

    GlContextRef context_;
    std::vector<Level> levels_;
    D3DFORMAT format_;
    GLuint name_ = 0;
};
