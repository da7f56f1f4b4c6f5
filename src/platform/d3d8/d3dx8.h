// Our D3DX 8 subset: the matrix and vector helpers and the texture loader
// that the viewer uses, with exactly the formulas of the Direct3D utility
// library (row vectors, translation in the fourth row, float32 throughout).
// Used on every platform.
#pragma once

#include <cstddef>

#include "platform/d3d8/d3d8.h"

struct D3DXMATRIX : D3DMATRIX {
    D3DXMATRIX() : D3DMATRIX{} {}
    float& operator()(int row, int col) { return m[row][col]; }
    float operator()(int row, int col) const { return m[row][col]; }
};

struct D3DXVECTOR3 : D3DVECTOR {
    D3DXVECTOR3() : D3DVECTOR{0.0f, 0.0f, 0.0f} {}
    D3DXVECTOR3(float x_, float y_, float z_) : D3DVECTOR{x_, y_, z_} {}
};

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* pOut);
// pOut = pM1 · pM2 (a point is transformed by pM1 first). pOut may alias.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2);
// General 4 × 4 inverse; null (and pOut untouched) when the matrix is singular.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* pOut, float* pDeterminant, const D3DXMATRIX* pM);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* pOut, float x, float y, float z);
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* pOut, float angle);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* pOut, float angle);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* pOut, float angle);
D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, float angle);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, float fovy, float aspect, float zn, float zf);
D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* pOut, float w, float h, float zn, float zf);
// (x, y, z, 1) · M, divided by the fourth component.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM);
// The vector divided by its length; the zero vector gives (0, 0, 0).
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV);
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);
float D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2);

constexpr HRESULT D3DXERR_INVALIDDATA = static_cast<HRESULT>(0x88760B59u);

// Loads a JPEG or TGA image (recognised from its content) into a new
// A8R8G8B8 texture of the managed pool with a full mipmap chain. The path
// goes through the system layer's path rules (backslashes, letter case).
// Any failure returns a failure code and leaves *ppTexture null.
HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice8* pDevice, const char* pSrcFile, IDirect3DTexture8** ppTexture);

namespace d3dx {
class PixelAllowance;
// The same loader within a load's allowance (pixel_allowance.h): an image
// whose pixels would take more than is left of it is loaded at half its
// width and height, or less, until it fits (see decodeImage); the top
// level's bytes are spent from it. A null allowance: no limit.
HRESULT createTextureFromFile(IDirect3DDevice8* device, const char* path, PixelAllowance* allowance,
                              IDirect3DTexture8** texture);
}  // namespace d3dx
