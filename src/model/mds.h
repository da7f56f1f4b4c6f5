// The viewer's body model: one MDS file held whole and read in place, one
// index and one vertex buffer per surface, the bone poses of the shown
// frame, the skeleton line buffer, the surface textures and five attached
// MDC models hung on fixed bones.
//
// Where things live: loading and destruction in mds.cpp / mds_load.cpp,
// skeleton evaluation in skeleton.cpp, skinning and drawing in
// skinning.cpp / mds_draw.cpp, textures in mds_textures.cpp, placement at
// bones in mds_attach_bone.cpp, loading the attachments in mds_attach.cpp.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/byte_view.h"
#include "formats/mds_layout.h"
#include "formats/mds_index.h"
#include "model/bone_pose.h"
#include "model/model_vertex.h"
#include "platform/d3d8/d3d8.h"
#include "render/renderable.h"
#include "skin/texture_cache.h"

class MDC;
class Skin;

class MDS : public Renderable {
public:
    // The attachment slots in drawing order, with their fixed bones.
    enum Slot { BeltLeft = 0, BeltRight, Back, Head, Hat, SlotCount };
    static constexpr std::uint32_t kSlotBone[SlotCount] = {55, 54, 51, 7, 8};

    MDS(IDirect3DDevice8* device, const char* modelName);
    ~MDS() override;
    MDS(const MDS&) = delete;
    MDS& operator=(const MDS&) = delete;

    // 1 on success, -1 on failure (each failure logged).
    int loadFromFile(const char* path);
    // 1 done; -1 not loaded; -2 frame not below NumFrames.
    int setFrame(std::uint32_t frame);
    // 1 done; -1 the skeleton line buffer could not be made (poses complete).
    int evaluateSkeleton(std::uint32_t frame);
    // 1 done; -1 the surface's vertex buffer could not be locked.
    int skinSurface(std::uint32_t surface);
    void draw(IDirect3DDevice8* device) override;

    // 1 placed; -1 not loaded; -2 no model; -3 bone not below NumBones.
    int attachToBone(MDC* model, std::uint32_t bone);
    // Surface textures from a skin: 1 done; -1 not loaded. Textures come
    // from the load's cache, which the attachments share.
    int applySkin(const char* dir, const Skin* skin);
    // Belt left, belt right and back from the body skin: 1 done; -1 not loaded.
    int loadAccessories(const char* dir, const Skin* skin);
    // Head and hat from the head skin: 1 done; -1 not loaded.
    int loadHead(const char* dir, const Skin* skin);

    // Whether draw shows the textured surfaces (the N key inverts it). The
    // surfaces show from the start.
    bool meshVisible = true;

    // ---- read access -------------------------------------------------------
    bool loaded() const { return loaded_; }
    std::uint32_t fileSize() const { return fileSize_; }
    const formats::MdsHeader& header() const { return header_; }
    std::uint32_t numFrames() const { return loaded_ ? static_cast<std::uint32_t>(header_.NumFrames) : 0; }
    std::uint32_t numBones() const { return loaded_ ? static_cast<std::uint32_t>(header_.NumBones) : 0; }
    std::uint32_t numSurfaces() const { return static_cast<std::uint32_t>(index_.surfaces.size()); }
    formats::ByteView bytes() const { return formats::ByteView(fileBytes_, fileBytes_ ? fileSize_ : 0); }
    const formats::MdsIndex& index() const { return index_; }
    const formats::MdsSurface& surface(std::uint32_t s) const { return index_.surfaces[s].header; }
    const std::vector<BonePose>& poses() const { return poses_; }
    IDirect3DVertexBuffer8* vertexBuffer(std::uint32_t s) const { return vertexBuffers_[s]; }
    IDirect3DIndexBuffer8* indexBuffer(std::uint32_t s) const { return indexBuffers_[s]; }
    IDirect3DVertexBuffer8* skeletonLines() const { return skeletonLines_; }
    const std::vector<IDirect3DTexture8*>& textures() const { return textures_; }
    // The textures of this load, made once per file for the body and its
    // attachments; emptied by each loadFromFile.
    skin::TextureCache& textureCache() { return textureCache_; }
    MDC* attachment(Slot slot) const { return slots_[slot]; }
    // The world matrix draw gives the model in `slot` (not null) at the
    // shown frame: placed at the slot's bone, or as it stands where that
    // bone has no pose.
    D3DXMATRIX attachmentWorld(Slot slot) const;
    // Appends the skinned vertex positions of the shown frame of every
    // surface that draws (what setFrame writes), in drawing axes.
    void skinnedPositions(std::vector<D3DXVECTOR3>& out) const;
    const char* modelName() const { return modelName_; }
    IDirect3DDevice8* device() const { return device_; }

private:
    // Gives the file block back; false (block still held) when that fails.
    bool releaseFile();
    void releaseIndexBuffers();
    void releaseVertexBuffers();
    void releaseTextures();
    void releasePoses();
    void deleteSlot(Slot slot);
    bool buildSkeletonLines();
    void createIndexBuffers();
    void createVertexBuffers();
    void writeSurfaceIndices(std::uint32_t k, BYTE* out) const;
    void writeSurfaceVertices(std::uint32_t k, BYTE* out) const;
    // The vertex at `at` carried by the shown frame's bones.
    D3DXVECTOR3 skinnedVertex(const formats::MdsSurfaceIndex& surface, std::int64_t at) const;
    // The inverse of the bone's rotation with its position as the fourth row.
    D3DXMATRIX placementAt(std::uint32_t bone) const;

    IDirect3DDevice8* device_;  // not owned
    bool loaded_ = false;
    const char* modelName_;  // not owned
    std::uint32_t fileSize_ = 0xFFFFFFFFu;
    std::uint8_t* fileBytes_ = nullptr;  // owned block
    formats::MdsHeader header_{};            // the header record of the held file
    formats::MdsIndex index_;                // frames, bones, surfaces with every vertex, chain order
    std::vector<IDirect3DVertexBuffer8*> vertexBuffers_;
    std::vector<IDirect3DIndexBuffer8*> indexBuffers_;
    std::vector<IDirect3DTexture8*> textures_;
    skin::TextureCache textureCache_;
    std::vector<BonePose> poses_;
    IDirect3DVertexBuffer8* skeletonLines_ = nullptr;
    MDC* slots_[SlotCount] = {};
};
