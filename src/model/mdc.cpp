// The MDC model object's life outside loading: construction, release in a
// fixed order, choosing the shown frame and drawing.
#include <cstring>

#include "log/log.h"
#include "model/mdc.h"
#include "model/surface_draw.h"
#include "platform/sys/sys.h"

MDC::MDC(IDirect3DDevice8* device) : device_(device) { D3DXMatrixIdentity(&world); }

MDC::~MDC() {
    releaseModel();
    if (fileBytes_ && !releaseFile()) pLog->printError("VirtualFree failed");
}

bool MDC::releaseFile() {
    if (!fileBytes_) return true;
    if (!sys::releaseBlock(fileBytes_)) return false;
    fileBytes_ = nullptr;
    return true;
}

// Textures, vertex buffers, index buffers, then the surface list.
void MDC::releaseModel() {
    releaseTextures();
    releaseVertexBuffers();
    releaseIndexBuffers();
    surfaces_.clear();
}

void MDC::releaseTextures() {
    for (IDirect3DTexture8* texture : textures_)
        if (texture) texture->Release();
    textures_.clear();
    hasTextures_ = false;
}

void MDC::releaseVertexBuffers() {
    for (IDirect3DVertexBuffer8* vb : vertexBuffers_)
        if (vb) vb->Release();
    vertexBuffers_.clear();
}

void MDC::releaseIndexBuffers() {
    for (IDirect3DIndexBuffer8* ib : indexBuffers_)
        if (ib) ib->Release();
    indexBuffers_.clear();
}

// Base frame vertices of the frame, in drawing axes: (-y, z, x) / 64. Only
// the positions are written; colours and texture coordinates stay.
template <class Visit>
void MDC::forEachPosition(std::uint32_t s, std::uint32_t frame, Visit&& visit) const {
    const formats::ByteView bytes = this->bytes();
    const formats::MdcSurfaceIndex& surface = surfaces_[s];
    const std::uint16_t base = formats::mdcBaseFrame(bytes, surface, frame);
    for (std::uint32_t k = 0; k < surface.numVertices(); ++k) {
        const auto v = bytes.read<formats::MdcBaseVertex>(surface.baseVertex(base, k));
        const float position[3] = {-static_cast<float>(v.y) * formats::kMdcVertexScale,
                                   static_cast<float>(v.z) * formats::kMdcVertexScale,
                                   static_cast<float>(v.x) * formats::kMdcVertexScale};
        visit(k, position);
    }
}

void MDC::writePositions(std::uint32_t s, std::uint32_t frame, BYTE* out) const {
    forEachPosition(s, frame, [out](std::uint32_t k, const float (&position)[3]) {
        std::memcpy(out + kModelVertexStride * static_cast<std::size_t>(k), position, sizeof(position));
    });
}

void MDC::shownPositions(std::vector<D3DXVECTOR3>& out) const {
    if (!loaded_) return;
    for (std::uint32_t s = 0; s < surfaces_.size(); ++s) {
        if (!vertexBuffers_[s] || !indexBuffers_[s]) continue;
        forEachPosition(s, shownFrame_, [&out](std::uint32_t, const float (&p)[3]) {
            out.emplace_back(p[0], p[1], p[2]);
        });
    }
}

int MDC::setFrame(std::uint32_t frame) {
    if (!loaded_) return -1;
    if (frame >= static_cast<std::uint32_t>(header_.NumFrames)) return -2;
    shownFrame_ = frame;
    for (std::uint32_t s = 0; s < surfaces_.size(); ++s) {
        IDirect3DVertexBuffer8*& vb = vertexBuffers_[s];
        if (!vb) continue;
        BYTE* data = nullptr;
        const UINT size = surfaces_[s].numVertices() * kModelVertexStride;
        if (vb->Lock(0, size, &data, 0) < 0 || !data) {
            pLog->printError("Lock failed!");
            vb->Release();
            vb = nullptr;
            continue;
        }
        writePositions(s, frame, data);
        if (vb->Unlock() < 0) pLog->printError("Unlock failed - buffer still locked");
    }
    return 1;
}

void MDC::draw(IDirect3DDevice8* device) {
    if (!loaded_) return;
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTransform(D3DTS_WORLD, &world);
    for (std::uint32_t s = 0; s < surfaces_.size(); ++s) {
        if (!vertexBuffers_[s] || !indexBuffers_[s]) continue;
        bindSurface(device, vertexBuffers_[s], indexBuffers_[s], hasTextures_, hasTextures_ ? textures_[s] : nullptr);
        // The fifth surface keeps its buffers and texture but is never shown.
        // A surface without vertices has nothing its triangles could name
        // (their indices were written as 0): drawing it would read past its
        // empty vertex buffer.
        if (s == 4 || surfaces_[s].numVertices() == 0) continue;
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, surfaces_[s].numVertices(), 0,
                                     surfaces_[s].numTriangles());
    }
    device->SetTexture(0, nullptr);
}
