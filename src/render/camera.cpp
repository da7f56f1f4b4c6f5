#include "render/camera.h"

#include "platform/d3d8/d3dx8.h"

void Camera::apply(IDirect3DDevice8* device) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    if (device) device->SetTransform(D3DTS_VIEW, &identity);
}
