// The system's Direct3D 8 behind our Direct3D interfaces (Windows only):
// install with setDirect3DFactory(createSystemDirect3D). Null when d3d8.dll
// or its Direct3DCreate8 is missing.
#pragma once

#include "platform/d3d8/d3d8.h"

IDirect3D8* createSystemDirect3D();
