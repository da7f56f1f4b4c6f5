// Loading an MDC file: the whole file into one block, the surface walk with
// its checks, the log sections, and one index and one vertex buffer per
// surface.
#include <cstring>
#include <string>
#include <utility>

#include "log/log.h"
#include "model/mdc.h"
#include "formats/identify.h"
#include "model/model_file.h"
#include "platform/sys/sys.h"

int MDC::loadFromFile(const char* path) {
    if (fileBytes_ && !releaseFile()) {
        pLog->printError("VirtualFree failed");
        return -1;
    }
    // Nothing of an earlier model outlives its file.
    releaseModel();
    loaded_ = false;

    const model_file::Read read = model_file::readWhole(path, &fileSize_);
    if (!read.block) {
        if (read.unreleased) fileBytes_ = read.unreleased;  // kept, so that a later release retries
        return -1;
    }
    std::uint8_t* block = read.block;
    pLog->printOk("MDC::loadFromFile - File '%s' read", path);

    const formats::ByteView bytes(block, fileSize_);
    formats::MdcIndex index = formats::indexMdc(bytes, formats::Reader::Draw);
    if (!index.ok()) {
        // Another kind of file is refused silently; a damaged MDC file with
        // one line that says where.
        if (formats::identify(bytes).format == formats::Format::Mdc)
            pLog->printError("MDC::loadFromFile - File '%s' is damaged: %s", path, index.refusal->text().c_str());
        if (!sys::releaseBlock(block)) fileBytes_ = block;  // kept, so that a later release retries
        return -1;
    }
    fileBytes_ = block;
    header_ = index.header;
    pLog->print("<h1>MDC: %s</h1>", formats::nameOf(header_.Name).c_str());

    pLog->print("<h2>MDC Surfaces</h2>\n<ul>");
    surfaces_ = std::move(index.surfaces);
    for (std::uint32_t s = 0; s < surfaces_.size(); ++s)
        pLog->print("<li>Surface #%u '%s'</li>", s, formats::nameOf(surfaces_[s].header.Name).c_str());
    pLog->print("</ul>");

    createIndexBuffers();
    createVertexBuffers();

    loaded_ = true;
    setFrame(0);
    return 1;
}

// Each index reduced to its low 16 bits; one that still names no vertex of
// the surface is written as 0, so that no draw reads past the vertex buffer.
void MDC::writeIndices(std::uint32_t s, BYTE* out) const {
    const formats::ByteView bytes = this->bytes();
    const formats::MdcSurfaceIndex& surface = surfaces_[s];
    for (std::uint32_t t = 0; t < surface.numTriangles(); ++t) {
        const auto triangle = bytes.read<formats::MdcTriangle>(surface.triangle(t));
        for (int c = 0; c < 3; ++c) {
            auto index = static_cast<std::uint16_t>(static_cast<std::uint32_t>(triangle.Indices[c]) & 0xFFFFu);
            if (index >= surface.numVertices()) index = 0;
            std::memcpy(out + 6 * static_cast<std::size_t>(t) + 2 * static_cast<std::size_t>(c), &index, 2);
        }
    }
}

void MDC::createIndexBuffers() {
    releaseIndexBuffers();
    indexBuffers_.assign(surfaces_.size(), nullptr);
    pLog->print("<h2>MDC Index Buffers</h2>\n<ul>");
    for (std::uint32_t s = 0; s < surfaces_.size(); ++s) {
        pLog->print("<li>IB #%u: ", s);
        // The walk bounds NumTriangles by the file size / 12, so this fits.
        const UINT size = surfaces_[s].numTriangles() * 6u;
        IDirect3DIndexBuffer8* ib = nullptr;
        // Without a device (the renderer could not make one) nothing is created.
        if (!device_ || device_->CreateIndexBuffer(size, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib) < 0 || !ib) {
            pLog->printError("CreateIndexBuffer failed!</li>");
            continue;
        }
        pLog->print("IB created ... %u tris</li>", surfaces_[s].numTriangles());
        BYTE* data = nullptr;
        if (ib->Lock(0, size, &data, 0) < 0 || !data) {
            pLog->printError("Lock failed!");
            ib->Release();
            continue;
        }
        writeIndices(s, data);
        if (ib->Unlock() < 0) pLog->printError("Unlock failed - buffer still locked");
        indexBuffers_[s] = ib;
    }
    pLog->print("</ul>");
}

// Positions are left at the origin; setFrame places them.
void MDC::writeVertices(std::uint32_t s, BYTE* out) const {
    const formats::ByteView bytes = this->bytes();
    const formats::MdcSurfaceIndex& surface = surfaces_[s];
    for (std::uint32_t k = 0; k < surface.numVertices(); ++k) {
        const auto tc = bytes.read<formats::MdcTexCoord>(surface.texCoord(k));
        const ModelVertex vertex{0.0f, 0.0f, 0.0f, surfaceColor(s), tc.u, tc.v};
        std::memcpy(out + kModelVertexStride * static_cast<std::size_t>(k), &vertex, sizeof(vertex));
    }
}

void MDC::createVertexBuffers() {
    releaseVertexBuffers();
    vertexBuffers_.assign(surfaces_.size(), nullptr);
    pLog->print("<h2>MDC Vertex Buffers</h2>\n<ul>");
    for (std::uint32_t s = 0; s < surfaces_.size(); ++s) {
        pLog->print("<li>VB #%u: ", s);
        const std::uint64_t bytesNeeded = std::uint64_t{surfaces_[s].numVertices()} * kModelVertexStride;
        IDirect3DVertexBuffer8* vb = nullptr;
        if (bytesNeeded > 0xFFFFFFFFu || !device_ ||
            device_->CreateVertexBuffer(static_cast<UINT>(bytesNeeded), 0, kModelVertexFvf, D3DPOOL_MANAGED, &vb) < 0 ||
            !vb) {
            pLog->printError("CreateVertexBuffer failed!</li>");
            continue;
        }
        pLog->print("VB created ... %u verts</li>", surfaces_[s].numVertices());
        BYTE* data = nullptr;
        if (vb->Lock(0, static_cast<UINT>(bytesNeeded), &data, 0) < 0 || !data) {
            pLog->printError("Lock failed!");
            vb->Release();
            continue;
        }
        writeVertices(s, data);
        if (vb->Unlock() < 0) pLog->printError("Unlock failed - buffer still locked");
        vertexBuffers_[s] = vb;
    }
    pLog->print("</ul>");
}
