// Direct3DCreate8 hands out the Direct3D object of the installed factory;
// window handles reach their drawing surface through the installed provider.
#include "platform/d3d8/d3d8.h"
#include "platform/d3d8/surface.h"

namespace {

Direct3DFactory g_factory = nullptr;
SurfaceProvider g_surfaces = nullptr;

}  // namespace

IDirect3D8* Direct3DCreate8(UINT SDKVersion) {
    if (SDKVersion != D3D_SDK_VERSION || g_factory == nullptr) return nullptr;
    return g_factory();
}

Direct3DFactory setDirect3DFactory(Direct3DFactory factory) {
    const Direct3DFactory previous = g_factory;
    g_factory = factory;
    return previous;
}

void setSurfaceProvider(SurfaceProvider provider) { g_surfaces = provider; }

GlSurface* surfaceForWindow(HWND hwnd) { return g_surfaces != nullptr ? g_surfaces(hwnd) : nullptr; }
