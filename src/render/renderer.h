// The renderer D3D: owns the Direct3D object and the device of the main
// window, keeps two non-owning draw lists of Renderables and draws one frame
// per call of render: the scene list in perspective through the camera, then
// the overlay list in screen space. It detects a lost device, tells the
// drawables, and resets the device for the window's current size.
#pragma once

#include <vector>

#include "platform/d3d8/d3d8.h"
#include "render/renderable.h"

class Camera;

class D3D {
public:
    // Creates the Direct3D object and a windowed device for `window`. Every
    // failure is one error line in the log and leaves m_pDevice null.
    explicit D3D(HWND window);
    // Releases the device, then the Direct3D object; the listed objects
    // stay alive.
    virtual ~D3D();
    D3D(const D3D&) = delete;
    D3D& operator=(const D3D&) = delete;

    // Appends to the scene list (no check for null or duplicates).
    virtual void addObject(Renderable* object);
    // Removes every entry equal to `object`; the rest keep their order.
    virtual void removeObject(Renderable* object);
    virtual void clearObjects();
    virtual void addOverlay(Renderable* object);
    virtual void removeOverlay(Renderable* object);
    virtual void clearOverlays();
    // clearObjects, then clearOverlays.
    virtual void clearAll();
    // Draws one frame, or handles a lost / not reset device.
    virtual void render();

    const std::vector<Renderable*>& objects() const { return m_Objects; }
    const std::vector<Renderable*>& overlays() const { return m_Overlays; }

    // Null when creation failed (or after a failed display-mode query).
    IDirect3D8* m_pD3D = nullptr;
    // Null when creation failed; the drawables create their resources on it.
    IDirect3DDevice8* m_pDevice = nullptr;
    // Filled at creation, updated and passed again on every reset.
    D3DPRESENT_PARAMETERS m_PresentParams{};
    // Not owned; set by the application. Null: render sets no view.
    Camera* m_pCamera = nullptr;

private:
    void notifyDeviceLost();
    void notifyDeviceReset();
    void resetDevice();
    // The default adapter's display mode; on failure Direct3D is released
    // and the failure logged.
    bool queryDisplayMode(D3DDISPLAYMODE* mode);
    // Back buffer size from the window's client area, format from `mode`.
    void sizeBackBuffer(const D3DDISPLAYMODE& mode);
    void drawFrame();

    std::vector<Renderable*> m_Objects;   // scene list, not owning
    std::vector<Renderable*> m_Overlays;  // overlay list, not owning
};
