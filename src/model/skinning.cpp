// Skinning: each surface vertex is the sum of its weights' offsets carried
// by their bones' skinning matrices, written into the surface's vertex
// buffer with the surface colour.
#include <cstring>

#include "log/log.h"
#include "model/mds.h"

int MDS::skinSurface(std::uint32_t s) {
    if (!loaded_ || s >= index_.surfaces.size()) return -1;
    IDirect3DVertexBuffer8* vb = vertexBuffers_[s];
    if (!vb) return 1;  // its creation failed at load: nothing to rewrite

    const formats::MdsSurfaceIndex& surface = index_.surfaces[s];
    const UINT size = static_cast<UINT>(surface.header.NumVertices) * kModelVertexStride;
    BYTE* data = nullptr;
    if (FAILED(vb->Lock(0, size, &data, 0)) || !data) {
        pLog->printError("Lock failed!");
        return -1;
    }
    const D3DCOLOR color = surfaceColor(s);
    const formats::ByteView bytes = this->bytes();
    formats::forEachVertex(bytes, surface, [&](std::size_t v, std::int64_t at) {
        const auto vertex = bytes.read<formats::MdsVertex>(at);
        const D3DXVECTOR3 p = skinnedVertex(surface, at);
        const ModelVertex out{p.x, p.y, p.z, color, vertex.TexCoords[0], vertex.TexCoords[1]};
        std::memcpy(data + kModelVertexStride * v, &out, sizeof out);
    });
    if (FAILED(vb->Unlock())) pLog->printError("Unlock failed - buffer still locked");
    return 1;
}

// Every vertex and weight was checked against the bytes at load.
D3DXVECTOR3 MDS::skinnedVertex(const formats::MdsSurfaceIndex& surface, std::int64_t at) const {
    const formats::ByteView bytes = this->bytes();
    const auto vertex = bytes.read<formats::MdsVertex>(at);
    const std::size_t numPoses = poses_.size();
    D3DXVECTOR3 out(0.0f, 0.0f, 0.0f);
    for (std::int32_t w = 0; w < vertex.NumWeights; ++w) {
        const auto weight = bytes.read<formats::MdsWeight>(surface.weight(at, w));
        // A weight on a bone that has no pose adds nothing.
        if (weight.BoneIndex < 0 || static_cast<std::size_t>(weight.BoneIndex) >= numPoses) continue;
        const D3DXVECTOR3 q(-weight.xyz[1], weight.xyz[2], weight.xyz[0]);
        D3DXVECTOR3 t;
        D3DXVec3TransformCoord(&t, &q, &poses_[static_cast<std::size_t>(weight.BoneIndex)].skinMatrix);
        out.x += weight.Weight * t.x;
        out.y += weight.Weight * t.y;
        out.z += weight.Weight * t.z;
    }
    return out;
}

void MDS::skinnedPositions(std::vector<D3DXVECTOR3>& out) const {
    if (!loaded_) return;
    for (std::uint32_t s = 0; s < index_.surfaces.size(); ++s) {
        if (!vertexBuffers_[s] || !indexBuffers_[s]) continue;
        const formats::MdsSurfaceIndex& surface = index_.surfaces[s];
        formats::forEachVertex(bytes(), surface, [&](std::size_t, std::int64_t at) {
            out.push_back(skinnedVertex(surface, at));
        });
    }
}
