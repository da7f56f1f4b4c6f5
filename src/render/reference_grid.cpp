#include "render/reference_grid.h"

#include <cstring>

#include "platform/d3d8/d3dx8.h"

namespace {

constexpr std::uint32_t kGrey = 0xFF808080;
constexpr float kAxisLength = 1000.0f;

LineVertex at(float x, float y, float z, std::uint32_t colour) { return LineVertex{x, y, z, colour}; }

}  // namespace

ReferenceGrid::ReferenceGrid(IDirect3DDevice8* device, std::uint32_t n, float o) : m_uVertexCount(8 * n + 12) {
    // Without a device the grid keeps its vertices and never draws.
    if (device) {
        if (FAILED(device->CreateVertexBuffer(m_uVertexCount * kLineVertexStride, 0, kLineVertexFvf,
                                              D3DPOOL_MANAGED, &m_pVertexBuffer)) ||
            !m_pVertexBuffer) {
            m_pVertexBuffer = nullptr;
            throw "failed creating flexible vertex buffer";
        }
    }

    m_Vertices.resize(m_uVertexCount);
    LineVertex* v = m_Vertices.data();

    // Grey lines at every whole number from -n to -1 and 1 to n in both
    // directions, each running from a to b; none through the origin, where
    // the axes lie.
    const float N = static_cast<float>(n);
    const float a = -N - o;
    const float b = N + o;
    for (std::uint32_t i = 0; i < n; ++i) {
        const float c = static_cast<float>(i) - N;
        const float d = static_cast<float>(i + 1);
        v[2 * i] = at(c, 0.0f, a, kGrey);
        v[2 * i + 1] = at(c, 0.0f, b, kGrey);
        v[2 * n + 2 * i] = at(d, 0.0f, a, kGrey);
        v[2 * n + 2 * i + 1] = at(d, 0.0f, b, kGrey);
        v[4 * n + 2 * i] = at(a, 0.0f, c, kGrey);
        v[4 * n + 2 * i + 1] = at(b, 0.0f, c, kGrey);
        v[6 * n + 2 * i] = at(a, 0.0f, d, kGrey);
        v[6 * n + 2 * i + 1] = at(b, 0.0f, d, kGrey);
    }

    // The axes: x blue, y green, z red; the negative halves darker.
    LineVertex* axes = v + 8 * n;
    axes[0] = at(-kAxisLength, 0.0f, 0.0f, 0xFF000080);
    axes[1] = at(0.0f, 0.0f, 0.0f, 0xFF000080);
    axes[2] = at(0.0f, 0.0f, 0.0f, 0xFF0000FF);
    axes[3] = at(kAxisLength, 0.0f, 0.0f, 0xFF0000FF);
    axes[4] = at(0.0f, -kAxisLength, 0.0f, 0xFF008000);
    axes[5] = at(0.0f, 0.0f, 0.0f, 0xFF008000);
    axes[6] = at(0.0f, 0.0f, 0.0f, 0xFF00FF00);
    axes[7] = at(0.0f, kAxisLength, 0.0f, 0xFF00FF00);
    axes[8] = at(0.0f, 0.0f, -kAxisLength, 0xFF800000);
    axes[9] = at(0.0f, 0.0f, 0.0f, 0xFF800000);
    axes[10] = at(0.0f, 0.0f, 0.0f, 0xFFFF0000);
    axes[11] = at(0.0f, 0.0f, kAxisLength, 0xFFFF0000);

    // A failed lock leaves the buffer as created; the grid then draws
    // whatever it holds.
    if (m_pVertexBuffer) {
        BYTE* data = nullptr;
        if (SUCCEEDED(m_pVertexBuffer->Lock(0, 0, &data, 0))) {
            if (data) std::memcpy(data, m_Vertices.data(), m_uVertexCount * kLineVertexStride);
            m_pVertexBuffer->Unlock();
        }
    }
}

ReferenceGrid::~ReferenceGrid() {
    m_Vertices.clear();
    m_Vertices.shrink_to_fit();
    if (m_pVertexBuffer) {
        m_pVertexBuffer->Release();
        m_pVertexBuffer = nullptr;
    }
}

void ReferenceGrid::draw(IDirect3DDevice8* device) {
    if (!device || !m_pVertexBuffer) return;
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetStreamSource(0, m_pVertexBuffer, kLineVertexStride);
    device->SetVertexShader(kLineVertexFvf);
    device->DrawPrimitive(D3DPT_LINELIST, 0, m_uVertexCount / 2);
}
