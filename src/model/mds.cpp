// Construction and destruction of the body model, and the release helpers
// that loading and destruction share.
#include "model/mds.h"

#include "log/log.h"
#include "model/mdc.h"
#include "platform/sys/sys.h"

MDS::MDS(IDirect3DDevice8* device, const char* modelName)
    : device_(device), modelName_(modelName), textureCache_(device) {}

// Attachments first, then what the frames built, then the load's own
// buffers and lists, and the file bytes last.
MDS::~MDS() {
    for (int slot = BeltLeft; slot < SlotCount; ++slot) deleteSlot(static_cast<Slot>(slot));
    releasePoses();
    releaseTextures();
    releaseVertexBuffers();
    releaseIndexBuffers();
    index_ = formats::MdsIndex{};
    if (fileBytes_ && !releaseFile()) pLog->printError("VirtualFree failed");
}

bool MDS::releaseFile() {
    if (!fileBytes_) return true;
    if (!sys::releaseBlock(fileBytes_)) return false;
    fileBytes_ = nullptr;
    return true;
}

void MDS::releaseIndexBuffers() {
    for (IDirect3DIndexBuffer8* ib : indexBuffers_)
        if (ib) ib->Release();
    indexBuffers_.clear();
}

void MDS::releaseVertexBuffers() {
    for (IDirect3DVertexBuffer8* vb : vertexBuffers_)
        if (vb) vb->Release();
    vertexBuffers_.clear();
}

// The surfaces' references, then the cache's.
void MDS::releaseTextures() {
    for (IDirect3DTexture8* texture : textures_)
        if (texture) texture->Release();
    textures_.clear();
    textureCache_.clear();
}

// The skeleton line buffer goes with the poses: both describe one frame.
void MDS::releasePoses() {
    if (skeletonLines_) {
        skeletonLines_->Release();
        skeletonLines_ = nullptr;
    }
    poses_.clear();
}

void MDS::deleteSlot(Slot slot) {
    delete slots_[slot];
    slots_[slot] = nullptr;
}
