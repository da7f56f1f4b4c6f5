#include "drawables/surface_buffers.h"

#include <algorithm>
#include <cstring>

#include "model/surface_draw.h"
#include "skin/texture_loader.h"

namespace drawables {

SurfaceBuffers::~SurfaceBuffers() {
    skin::releaseTextures(textures_);
    for (Surface& s : surfaces_) {
        if (s.vb) s.vb->Release();
        if (s.ib) s.ib->Release();
    }
}

bool SurfaceBuffers::add(std::uint32_t vertices, std::uint32_t triangles) {
    Surface s;
    const bool fits = vertices > 0 && triangles > 0 && vertices <= 65536u && triangles <= 0x7FFFFFFFu / 6u &&
                      vertices <= 0xFFFFFFFFu / kModelVertexStride;
    if (fits && device_) {
        if (FAILED(device_->CreateVertexBuffer(vertices * kModelVertexStride, 0, kModelVertexFvf, D3DPOOL_MANAGED,
                                               &s.vb)))
            s.vb = nullptr;
        if (s.vb && FAILED(device_->CreateIndexBuffer(triangles * 6u, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &s.ib)))
            s.ib = nullptr;
        if (!s.ib && s.vb) {
            s.vb->Release();
            s.vb = nullptr;
        }
    }
    if (s.vb) {
        s.maxVertices = vertices;
        s.maxTriangles = triangles;
    }
    surfaces_.push_back(s);
    return s.vb != nullptr;
}

void SurfaceBuffers::writeVertices(std::size_t k, const std::vector<ModelVertex>& vertices) {
    Surface& s = surfaces_[k];
    if (!s.vb) return;
    const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(vertices.size(), s.maxVertices));
    BYTE* data = nullptr;
    if (n == 0 || FAILED(s.vb->Lock(0, n * kModelVertexStride, &data, 0)) || !data) {
        s.drawnVertices = 0;
        return;
    }
    std::memcpy(data, vertices.data(), std::size_t{n} * kModelVertexStride);
    s.vb->Unlock();
    s.drawnVertices = n;
}

void SurfaceBuffers::writeTriangles(std::size_t k, const std::vector<formats::Triangle>& triangles) {
    Surface& s = surfaces_[k];
    if (!s.ib) return;
    const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(triangles.size(), s.maxTriangles));
    BYTE* data = nullptr;
    if (n == 0 || FAILED(s.ib->Lock(0, n * 6u, &data, 0)) || !data) {
        s.drawnTriangles = 0;
        return;
    }
    auto* out = reinterpret_cast<std::uint16_t*>(data);
    for (std::uint32_t t = 0; t < n; ++t)
        for (int c = 0; c < 3; ++c) out[3 * t + static_cast<std::uint32_t>(c)] = static_cast<std::uint16_t>(triangles[t][static_cast<std::size_t>(c)]);
    s.ib->Unlock();
    s.drawnTriangles = n;
}

void SurfaceBuffers::draw(IDirect3DDevice8* device, const D3DXMATRIX& world) const {
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTransform(D3DTS_WORLD, &world);
    for (std::size_t k = 0; k < surfaces_.size(); ++k) {
        const Surface& s = surfaces_[k];
        if (!s.vb || s.drawnVertices == 0 || s.drawnTriangles == 0) continue;
        bindSurface(device, s.vb, s.ib, textured_, k < textures_.size() ? textures_[k] : nullptr);
        device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, s.drawnVertices, 0, s.drawnTriangles);
    }
    device->SetTexture(0, nullptr);
}

void SurfaceBuffers::shareTextures(const std::vector<IDirect3DTexture8*>& textures, std::size_t surfaces) {
    skin::releaseTextures(textures_);
    textures_.assign(surfaces, nullptr);
    for (std::size_t i = 0; i < surfaces && i < textures.size(); ++i)
        if ((textures_[i] = textures[i]) != nullptr) textures_[i]->AddRef();
    textured_ = true;
}

}  // namespace drawables
