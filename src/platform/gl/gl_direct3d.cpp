#include "platform/gl/gl_direct3d.h"

#include <new>

#include "platform/gl/gl_device.h"

namespace {

class GlDirect3D final : public GlRefCounted<IDirect3D8> {
public:
    HRESULT GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) override {
        if (Adapter != D3DADAPTER_DEFAULT || pMode == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        // The window system, not the device, owns the desktop; a common
        // desktop mode in the format windowed back buffers use.
        *pMode = D3DDISPLAYMODE{1920, 1080, 60, D3DFMT_X8R8G8B8};
        return D3D_OK;
    }

    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                         D3DPRESENT_PARAMETERS* pPresentationParameters,
                         IDirect3DDevice8** ppReturnedDeviceInterface) override {
        (void)DeviceType;
        (void)BehaviorFlags;
        if (ppReturnedDeviceInterface == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *ppReturnedDeviceInterface = nullptr;
        if (Adapter != D3DADAPTER_DEFAULT || pPresentationParameters == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        HWND window = pPresentationParameters->hDeviceWindow != nullptr ? pPresentationParameters->hDeviceWindow
                                                                        : hFocusWindow;
        GlDevice* device = GlDevice::create(this, window, *pPresentationParameters);
        if (device == nullptr) {
            return D3DERR_NOTAVAILABLE;
        }
        *ppReturnedDeviceInterface = device;
        return D3D_OK;
    }
};

}  // namespace

IDirect3D8* createGlDirect3D() { return new (std::nothrow) GlDirect3D(); }
