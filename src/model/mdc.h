// The viewer's object for one MDC file (head, hat, accessory): the file held
// whole, one vertex and one index buffer per surface filled with frame 0's
// base-frame vertices, one texture per surface, drawn at a world matrix
// that its owner (the body model) sets.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/byte_view.h"
#include "formats/mdc_layout.h"
#include "formats/mdc_index.h"
#include "model/model_vertex.h"
#include "platform/d3d8/d3dx8.h"
#include "render/renderable.h"

class Skin;
namespace skin {
class TextureCache;
}

class MDC : public Renderable {
public:
    explicit MDC(IDirect3DDevice8* device);
    ~MDC() override;
    MDC(const MDC&) = delete;
    MDC& operator=(const MDC&) = delete;

    // 1 loaded; -1 failed (each failure logged).
    int loadFromFile(const char* path);
    // 1 done; -1 not loaded; -2 frame not below NumFrames.
    int setFrame(std::uint32_t frame);
    void draw(IDirect3DDevice8* device) override;
    // Textures from the surfaces' first shader names: 1 done; -1 not loaded.
    // The textures come from `cache` (the body's, for an attached model),
    // else from one made for this call.
    int loadShaderTextures(const char* modelName, const char* dir, skin::TextureCache* cache = nullptr);
    // Textures from a skin: 1 done; -1 not loaded. `cache` as above.
    int applySkin(const char* dir, const Skin* skin, skin::TextureCache* cache = nullptr);

    // Placement in the drawing axes; the identity until the owner sets it.
    D3DXMATRIX world;

    // ---- read access -------------------------------------------------------
    bool loaded() const { return loaded_; }
    std::uint32_t fileSize() const { return fileSize_; }
    const formats::MdcHeader& header() const { return header_; }
    std::uint32_t numSurfaces() const { return static_cast<std::uint32_t>(surfaces_.size()); }
    const formats::MdcSurface& surface(std::uint32_t s) const { return surfaces_[s].header; }
    std::int64_t surfacePosition(std::uint32_t s) const { return surfaces_[s].at; }
    formats::ByteView bytes() const { return formats::ByteView(fileBytes_, fileBytes_ ? fileSize_ : 0); }
    IDirect3DVertexBuffer8* vertexBuffer(std::uint32_t s) const { return vertexBuffers_[s]; }
    IDirect3DIndexBuffer8* indexBuffer(std::uint32_t s) const { return indexBuffers_[s]; }
    // Absent (hasTextures() false) until a texture operation first runs.
    bool hasTextures() const { return hasTextures_; }
    const std::vector<IDirect3DTexture8*>& textures() const { return textures_; }
    // Appends the vertex positions of the shown frame (the last setFrame's)
    // of every surface that draws, in the model's drawing axes before
    // `world`; nothing when not loaded.
    void shownPositions(std::vector<D3DXVECTOR3>& out) const;

private:
    // Gives the file block back; false (block still held) when that fails.
    bool releaseFile();
    // Everything a loaded model built: textures, buffers, surface list.
    void releaseModel();
    void releaseTextures();
    void releaseVertexBuffers();
    void releaseIndexBuffers();
    void createIndexBuffers();
    void createVertexBuffers();
    void writeIndices(std::uint32_t s, BYTE* out) const;
    void writeVertices(std::uint32_t s, BYTE* out) const;
    void writePositions(std::uint32_t s, std::uint32_t frame, BYTE* out) const;
    // Calls visit(k, position) for vertex k of surface s at `frame`, in
    // drawing axes: (-y, z, x) / 64 of its base frame.
    template <class Visit>
    void forEachPosition(std::uint32_t s, std::uint32_t frame, Visit&& visit) const;

    IDirect3DDevice8* device_;  // not owned
    bool loaded_ = false;
    std::uint32_t fileSize_ = 0xFFFFFFFFu;
    std::uint8_t* fileBytes_ = nullptr;  // owned block
    formats::MdcHeader header_{};
    std::vector<formats::MdcSurfaceIndex> surfaces_;  // chain order, checked by the walk
    std::vector<IDirect3DVertexBuffer8*> vertexBuffers_;
    std::vector<IDirect3DIndexBuffer8*> indexBuffers_;
    bool hasTextures_ = false;
    std::uint32_t shownFrame_ = 0;
    std::vector<IDirect3DTexture8*> textures_;
};
