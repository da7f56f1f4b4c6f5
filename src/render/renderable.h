// The drawable interface: everything the renderer's lists hold. The owner
// deletes an object through this interface, never the list.
#pragma once

#include "platform/d3d8/d3d8.h"

class Renderable {
public:
    virtual ~Renderable() = default;
    // Draws the object once, between the renderer's BeginScene and EndScene.
    virtual void draw(IDirect3DDevice8* device) { (void)device; }
    // The device is lost or must be reset: release what would not survive.
    // Called possibly several times in a row.
    virtual void onDeviceLost() {}
    // The device has been reset: recreate what onDeviceLost released.
    virtual void onDeviceReset() {}
};
