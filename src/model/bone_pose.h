// One bone of the shown frame, in drawing axes.
#pragma once

#include "platform/d3d8/d3dx8.h"

struct BonePose {
    D3DXVECTOR3 position;
    D3DXMATRIX offsetRotation;
    D3DXMATRIX rotation;    // a pure rotation
    D3DXMATRIX skinMatrix;  // rotation · Translation(position)
};
