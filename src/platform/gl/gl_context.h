// What the device and its resources share: the loaded entry points and the
// window whose surface holds the context. The surface is looked up through
// the window each time, so a closed window reads as a lost device instead of
// a dangling pointer.
#pragma once

#include <atomic>
#include <memory>

#include "platform/d3d8/surface.h"
#include "platform/gl/gl_functions.h"

struct GlContext {
    GlFunctions gl;
    HWND window = nullptr;
    // Cleared when the device goes away; resources released later leave
    // their OpenGL objects to the context's own end.
    bool alive = true;

    GlSurface* surface() const { return surfaceForWindow(window); }
    bool makeCurrent() const {
        GlSurface* s = surface();
        return alive && s != nullptr && s->makeCurrent();
    }
};

using GlContextRef = std::shared_ptr<GlContext>;

// COM-style reference count for the implementations: one reference at
// creation, destroyed when the last one is released.
template <class Interface>
class GlRefCounted : public Interface {
public:
    UINT AddRef() override { return ++refs_; }
    UINT Release() override {
        const UINT left = --refs_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

private:
    std::atomic<UINT> refs_{1};
};
