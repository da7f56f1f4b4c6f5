// The real Direct3D 8 of Windows, reached through plain-typed functions.
//
// The system's <d3d8.h> and our own interfaces (platform/d3d8/d3d8.h) give
// the same names to different declarations, so they never meet in one file:
// system_calls.cpp includes the system header and forwards each call made
// here to the COM object behind `Ptr`; system_direct3d.cpp implements our
// interfaces on top of these functions. Structures pass as pointers to
// bytes laid out as Direct3D lays them out (checked by size on both sides).
#pragma once

#include <cstddef>
#include <cstdint>

namespace d3dsys {

using Ptr = void*;
using Result = std::int32_t;

// Byte sizes of the structures passed through, on this target.
constexpr std::size_t kPresentParametersSize = 6 * 4 + sizeof(void*) + 6 * 4;
constexpr std::size_t kDisplayModeSize = 16;
constexpr std::size_t kMatrixSize = 64;
constexpr std::size_t kViewportSize = 24;
constexpr std::size_t kLockedRectSize = 2 * sizeof(void*);
constexpr std::size_t kRectSize = 16;

// Direct3DCreate8 from d3d8.dll, loaded on first use; null when the library
// or the function is missing or the SDK version is refused.
Ptr create(unsigned sdkVersion);

// IUnknown through any of the interfaces below.
unsigned addRef(Ptr object);
unsigned release(Ptr object);

// IDirect3D8
Result getAdapterDisplayMode(Ptr d3d, unsigned adapter, void* mode);
Result createDevice(Ptr d3d, unsigned adapter, unsigned deviceType, void* focusWindow, unsigned behaviorFlags,
                    void* presentParameters, Ptr* device);

// IDirect3DDevice8
Result testCooperativeLevel(Ptr device);
Result reset(Ptr device, void* presentParameters);
Result present(Ptr device, const void* sourceRect, const void* destRect, void* destWindowOverride,
               const void* dirtyRegion);
Result createTexture(Ptr device, unsigned width, unsigned height, unsigned levels, unsigned usage, unsigned format,
                     unsigned pool, Ptr* texture);
Result createVertexBuffer(Ptr device, unsigned length, unsigned usage, unsigned fvf, unsigned pool, Ptr* buffer);
Result createIndexBuffer(Ptr device, unsigned length, unsigned usage, unsigned format, unsigned pool, Ptr* buffer);
Result beginScene(Ptr device);
Result endScene(Ptr device);
Result clear(Ptr device, unsigned count, const void* rects, unsigned flags, std::uint32_t color, float z,
             unsigned stencil);
Result setTransform(Ptr device, unsigned state, const void* matrix);
Result getViewport(Ptr device, void* viewport);
Result setRenderState(Ptr device, unsigned state, unsigned value);
Result setTexture(Ptr device, unsigned stage, Ptr texture);
Result setTextureStageState(Ptr device, unsigned stage, unsigned type, unsigned value);
Result drawPrimitive(Ptr device, unsigned primitiveType, unsigned startVertex, unsigned primitiveCount);
Result drawIndexedPrimitive(Ptr device, unsigned primitiveType, unsigned minIndex, unsigned numVertices,
                            unsigned startIndex, unsigned primitiveCount);
Result setVertexShader(Ptr device, unsigned handle);
Result setStreamSource(Ptr device, unsigned stream, Ptr buffer, unsigned stride);
Result setIndices(Ptr device, Ptr buffer, unsigned baseVertexIndex);

// IDirect3DTexture8
unsigned getLevelCount(Ptr texture);
Result lockRect(Ptr texture, unsigned level, void* lockedRect, const void* rect, unsigned flags);
Result unlockRect(Ptr texture, unsigned level);

// IDirect3DVertexBuffer8 and IDirect3DIndexBuffer8
Result lockVertexBuffer(Ptr buffer, unsigned offset, unsigned size, std::uint8_t** data, unsigned flags);
Result unlockVertexBuffer(Ptr buffer);
Result lockIndexBuffer(Ptr buffer, unsigned offset, unsigned size, std::uint8_t** data, unsigned flags);
Result unlockIndexBuffer(Ptr buffer);

}  // namespace d3dsys
