// Loading the body model: the whole file into one block, its records
// resolved into positions, the log sections, and one index and one vertex
// buffer per surface filled from the file.
#include <cstring>
#include <string>

#include "log/log.h"
#include "model/mds.h"
#include "model/model_file.h"
#include "platform/sys/sys.h"

namespace {

// Indices are 16-bit: a surface with more vertices than they can reach gets
// no buffers at all.
constexpr std::int32_t kMaxSurfaceVertices = 65536;

bool tooManyVertices(const formats::MdsSurface& surface) { return surface.NumVertices >= kMaxSurfaceVertices; }

}  // namespace

int MDS::loadFromFile(const char* path) {
    if (fileBytes_ && !releaseFile()) {
        pLog->printError("VirtualFree failed");
        return -1;
    }
    loaded_ = false;
    // Poses and skeleton lines belong to the previous file's bones; the
    // textures of this load (and its attachments') are made afresh.
    releasePoses();
    textureCache_.clear();

    const model_file::Read read = model_file::readWhole(path, &fileSize_);
    if (!read.block) {
        if (read.unreleased) fileBytes_ = read.unreleased;  // held, so destruction retries
        return -1;
    }
    std::uint8_t* block = read.block;
    pLog->printOk("MDS::loadFromFile - File '%s' read", path);

    // From here on the block is the held file: a refused file keeps it until
    // the next load or the destructor gives it back.
    fileBytes_ = block;
    const formats::ByteView bytes(block, fileSize_);
    if (!formats::isMds(bytes)) {
        // Not a body model: nothing further is logged.
        return -1;
    }
    // Every record the model reads must lie inside the bytes, and the file
    // may not declare more records than its bytes hold; a damaged file is
    // refused with one line that says where, before anything is built.
    formats::MdsIndex index = formats::indexMds(bytes, formats::Reader::Draw, false);
    if (!index.ok()) {
        pLog->printError("MDS::loadFromFile - File '%s' is damaged: %s", path, index.refusal->text().c_str());
        return -1;
    }
    index_ = std::move(index);
    header_ = index_.header;
    pLog->print("MDS: %s", formats::nameOf(header_.Name).c_str());

    const auto numSurfaces = static_cast<std::uint32_t>(index_.surfaces.size());
    pLog->print("<h2>Surfaces</h2>\n<ul>");
    for (std::uint32_t k = 0; k < numSurfaces; ++k) {
        const std::string name = formats::nameOf(index_.surfaces[k].header.Name);
        if (k == 0)
            pLog->print("<li>Surface #0 '%s'</li>", name.c_str());
        else
            pLog->print("<li>Surface #%u '%s'</li>", k, name.c_str());
    }
    pLog->print("</ul>");

    pLog->print("<h2>Triangles</h2>\n<ul>");
    for (std::uint32_t k = 0; k < numSurfaces; ++k)
        pLog->print("<li>Surface #%u: %u Tris</li>", k, static_cast<unsigned>(index_.surfaces[k].header.NumTriangles));
    pLog->print("</ul>");

    pLog->print("<h2>Vertices</h2>\n<ul>");
    for (std::uint32_t k = 0; k < numSurfaces; ++k)
        pLog->print("<li>Surface #%u: %u Verts</li>", k, static_cast<unsigned>(index_.surfaces[k].header.NumVertices));
    pLog->print("</ul>");

    pLog->print("<h2>Frames</h2>\n<ul>");
    pLog->print("</ul>");

    pLog->print("<h2>Bones</h2>");

    createIndexBuffers();
    createVertexBuffers();

    loaded_ = true;
    return 1;
}

void MDS::createIndexBuffers() {
    releaseIndexBuffers();
    indexBuffers_.assign(index_.surfaces.size(), nullptr);
    pLog->print("<h2>Index Buffers</h2>\n<ul>");
    for (std::uint32_t k = 0; k < index_.surfaces.size(); ++k) {
        const formats::MdsSurface& surface = index_.surfaces[k].header;
        pLog->print("<li>IB #%u: ", k);
        if (tooManyVertices(surface)) {
            pLog->printError("MDS::loadFromFile - Surface #%u has too many vertices</li>", k);
            continue;
        }
        // The records check at load bounds NumTriangles by the file size, so
        // the byte count cannot wrap.
        const UINT size = static_cast<UINT>(surface.NumTriangles) * 6u;
        IDirect3DIndexBuffer8* ib = nullptr;
        if (!device_ || FAILED(device_->CreateIndexBuffer(size, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib)) || !ib) {
            pLog->printError("CreateIndexBuffer failed!</li>");
            continue;
        }
        pLog->print("IB created ... %u tris</li>", static_cast<unsigned>(surface.NumTriangles));
        BYTE* data = nullptr;
        if (FAILED(ib->Lock(0, size, &data, 0)) || !data) {
            pLog->printError("Lock failed!");
            ib->Release();
            continue;
        }
        writeSurfaceIndices(k, data);
        if (FAILED(ib->Unlock())) pLog->printError("Unlock failed - buffer still locked");
        indexBuffers_[k] = ib;
    }
    pLog->print("</ul>");
}

// Each index reduced to its low 16 bits, in stored order. An index that
// names no vertex of the surface is written as it is: the graphics layer
// refuses a draw whose indices leave the vertex buffer.
void MDS::writeSurfaceIndices(std::uint32_t k, BYTE* out) const {
    const formats::ByteView bytes = this->bytes();
    const formats::MdsSurfaceIndex& surface = index_.surfaces[k];
    for (std::int64_t t = 0; t < surface.triangles.count; ++t) {
        const auto triangle = bytes.read<formats::MdsTriangle>(surface.triangle(t));
        for (int c = 0; c < 3; ++c) {
            const auto index = static_cast<std::uint16_t>(static_cast<std::uint32_t>(triangle.Indices[c]) & 0xFFFFu);
            std::memcpy(out + 6 * static_cast<std::size_t>(t) + 2 * c, &index, 2);
        }
    }
}

void MDS::createVertexBuffers() {
    releaseVertexBuffers();
    vertexBuffers_.assign(index_.surfaces.size(), nullptr);
    pLog->print("<h2>Vertex Buffers</h2>\n<ul>");
    for (std::uint32_t k = 0; k < index_.surfaces.size(); ++k) {
        const formats::MdsSurface& surface = index_.surfaces[k].header;
        pLog->print("<li>VB #%u: ", k);
        if (tooManyVertices(surface)) {
            pLog->printError("MDS::loadFromFile - Surface #%u has too many vertices</li>", k);
            continue;
        }
        const UINT size = static_cast<UINT>(surface.NumVertices) * kModelVertexStride;
        IDirect3DVertexBuffer8* vb = nullptr;
        if (!device_ || FAILED(device_->CreateVertexBuffer(size, 0, kModelVertexFvf, D3DPOOL_MANAGED, &vb)) || !vb) {
            pLog->printError("CreateVertexBuffer failed!</li>");
            continue;
        }
        pLog->print("VB created ... %u verts</li>", static_cast<unsigned>(surface.NumVertices));
        BYTE* data = nullptr;
        if (FAILED(vb->Lock(0, size, &data, 0)) || !data) {
            pLog->printError("Lock failed!");
            vb->Release();
            continue;
        }
        writeSurfaceVertices(k, data);
        if (FAILED(vb->Unlock())) pLog->printError("Unlock failed - buffer still locked");
        vertexBuffers_[k] = vb;
    }
    pLog->print("</ul>");
}

// The first content: each vertex at its first weight's offset as stored (a
// vertex without weights at the origin), until the first frame is skinned.
void MDS::writeSurfaceVertices(std::uint32_t k, BYTE* out) const {
    const formats::ByteView bytes = this->bytes();
    const D3DCOLOR color = surfaceColor(k);
    formats::forEachVertex(bytes, index_.surfaces[k], [&](std::size_t v, std::int64_t at) {
        const auto vertex = bytes.read<formats::MdsVertex>(at);
        ModelVertex mv{0.0f, 0.0f, 0.0f, color, vertex.TexCoords[0], vertex.TexCoords[1]};
        if (vertex.NumWeights > 0) {
            const auto weight = bytes.read<formats::MdsWeight>(index_.surfaces[k].weight(at, 0));
            mv.x = weight.xyz[0];
            mv.y = weight.xyz[1];
            mv.z = weight.xyz[2];
        }
        std::memcpy(out + kModelVertexStride * v, &mv, sizeof mv);
    });
}
