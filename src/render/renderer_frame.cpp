// The renderer's per-frame work: the device state check, the lost / reset
// handling, and one frame of the scene and overlay lists.
#include "log/log.h"
#include "platform/d3d8/d3dx8.h"
#include "platform/shell/shell.h"
#include "render/camera.h"
#include "render/renderer.h"

void D3D::render() {
    // Without a device, or once the Direct3D object was dropped because a
    // reset could not query the display mode, there is nothing to draw and
    // nothing to recover: do nothing rather than log on every frame.
    if (!m_pDevice || !m_pD3D) return;

    const HRESULT state = m_pDevice->TestCooperativeLevel();
    if (state == D3DERR_DEVICELOST) {
        pLog->printError("D3D::render() - D3DERR_DEVICELOST");
        notifyDeviceLost();
        return;
    }
    if (state == D3DERR_DEVICENOTRESET) {
        pLog->printError("D3D::render() - D3DERR_DEVICENOTRESET");
        notifyDeviceLost();
        resetDevice();
        return;
    }
    if (FAILED(state)) {
        pLog->printError("D3D::render() - unknown");
        return;
    }
    drawFrame();
}

void D3D::notifyDeviceLost() {
    for (Renderable* object : m_Objects) object->onDeviceLost();
    for (Renderable* object : m_Overlays) object->onDeviceLost();
}

void D3D::notifyDeviceReset() {
    for (Renderable* object : m_Objects) object->onDeviceReset();
    for (Renderable* object : m_Overlays) object->onDeviceReset();
}

// Resets the device for the window's current client size and the desktop's
// current format. A failed reset leaves the device not reset, so the next
// call tries again.
void D3D::resetDevice() {
    if (!m_pD3D) return;

    D3DDISPLAYMODE mode{};
    if (!queryDisplayMode(&mode)) return;
    sizeBackBuffer(mode);
    m_pDevice->Reset(&m_PresentParams);

    notifyDeviceReset();
}

void D3D::drawFrame() {
    IDirect3DDevice8* device = m_pDevice;

    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 1.0f, 1.0f, 500.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);

    if (m_pCamera) m_pCamera->apply(device);

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);
    device->BeginScene();

    // Scene list: perspective, depth-tested.
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    for (Renderable* object : m_Objects) object->draw(device);

    // Overlay list: pixels around the viewport's centre, y upwards.
    D3DVIEWPORT8 viewport{};
    device->GetViewport(&viewport);
    D3DXMatrixOrthoLH(&projection, static_cast<float>(viewport.Width), static_cast<float>(viewport.Height), 0.0f,
                      1.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    for (Renderable* object : m_Overlays) object->draw(device);

    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}
