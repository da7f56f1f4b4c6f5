// The OpenGL 3.3 core implementation of our Direct3D 8 subset.
//
// createGlDirect3D is a Direct3DFactory (see setDirect3DFactory): it makes
// a Direct3D object whose CreateDevice draws into the OpenGL surface that
// surfaceForWindow gives for the focus window.
#pragma once

#include "platform/d3d8/d3d8.h"

IDirect3D8* createGlDirect3D();
