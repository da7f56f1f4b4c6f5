// The renderer's creation, destruction and draw lists.
#include <algorithm>
#include <cstdint>

#include "log/log.h"
#include "platform/shell/shell.h"
#include "render/renderer.h"

D3D::D3D(HWND window) {
    m_pD3D = Direct3DCreate8(D3D_SDK_VERSION);
    if (!m_pD3D) {
        pLog->printError("Direct3DCreate8(D3D_SDK_VERSION) failed");
        return;
    }

    D3DDISPLAYMODE mode{};
    if (!queryDisplayMode(&mode)) return;

    m_PresentParams = D3DPRESENT_PARAMETERS{};
    m_PresentParams.hDeviceWindow = window;
    m_PresentParams.Windowed = TRUE;
    m_PresentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    m_PresentParams.BackBufferCount = 1;
    sizeBackBuffer(mode);
    m_PresentParams.MultiSampleType = D3DMULTISAMPLE_NONE;
    m_PresentParams.EnableAutoDepthStencil = TRUE;
    m_PresentParams.AutoDepthStencilFormat = D3DFMT_D16;
    m_PresentParams.Flags = 0;
    m_PresentParams.FullScreen_RefreshRateInHz = 0;
    m_PresentParams.FullScreen_PresentationInterval = 0;

    if (FAILED(m_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                    &m_PresentParams, &m_pDevice)) ||
        !m_pDevice) {
        m_pDevice = nullptr;
        m_pD3D->Release();
        m_pD3D = nullptr;
        pLog->printError("pD3D->CreateDevice(...) failed");
        return;
    }

    // %X shows the low 32 bits of the address.
    pLog->printOk("D3D::D3D(...) (this = %X)",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(this) & 0xFFFFFFFFu));
}

bool D3D::queryDisplayMode(D3DDISPLAYMODE* mode) {
    if (SUCCEEDED(m_pD3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, mode))) return true;
    m_pD3D->Release();
    m_pD3D = nullptr;
    pLog->printError("pD3D->GetAdapterDisplayMode(...) failed");
    return false;
}

void D3D::sizeBackBuffer(const D3DDISPLAYMODE& mode) {
    RECT client{};
    shell::current().getClientRect(m_PresentParams.hDeviceWindow, &client);
    m_PresentParams.BackBufferWidth = static_cast<UINT>(client.right - client.left);
    m_PresentParams.BackBufferHeight = static_cast<UINT>(client.bottom - client.top);
    m_PresentParams.BackBufferFormat = mode.Format;
}

D3D::~D3D() {
    if (m_pDevice) {
        m_pDevice->Release();
        m_pDevice = nullptr;
    }
    if (m_pD3D) {
        m_pD3D->Release();
        m_pD3D = nullptr;
    }
}

void D3D::addObject(Renderable* object) { m_Objects.push_back(object); }

void D3D::removeObject(Renderable* object) { std::erase(m_Objects, object); }

void D3D::clearObjects() { std::vector<Renderable*>().swap(m_Objects); }

void D3D::addOverlay(Renderable* object) { m_Overlays.push_back(object); }

void D3D::removeOverlay(Renderable* object) { std::erase(m_Overlays, object); }

void D3D::clearOverlays() { std::vector<Renderable*>().swap(m_Overlays); }

void D3D::clearAll() {
    clearObjects();
    clearOverlays();
}
