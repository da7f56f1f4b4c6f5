// The camera the renderer holds: it gives the view transform, applied once
// per drawn frame. The viewer's free-flying camera (app/camera.h) is one;
// the base camera leaves the view at the identity.
#pragma once

#include "platform/d3d8/d3d8.h"

class Camera {
public:
    virtual ~Camera() = default;
    // Does nothing.
    virtual void reset() {}
    // Sets the device's view transform to the identity.
    virtual void apply(IDirect3DDevice8* device);
};
