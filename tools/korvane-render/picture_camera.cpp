#include "picture_camera.h"

#include "platform/d3d8/d3dx8.h"

namespace kr {

void PictureCamera::aim(const Eye& eye) {
    m_vPosition = D3DXVECTOR3(eye.position[0], eye.position[1], eye.position[2]);
    m_vLook = D3DXVECTOR3(eye.look[0], eye.look[1], eye.look[2]);
    m_vUp = D3DXVECTOR3(eye.up[0], eye.up[1], eye.up[2]);
    D3DXVec3Cross(&m_vRight, &m_vUp, &m_vLook);
    near_ = eye.nearZ;
    far_ = eye.farZ;
}

void PictureCamera::apply(IDirect3DDevice8* device) {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, kFieldOfViewY, aspect_, near_, far_);
    if (device != nullptr) device->SetTransform(D3DTS_PROJECTION, &projection);
    FreeCamera::apply(device);
}

void Backdrop::draw(IDirect3DDevice8* device) {
    if (colour != 0xFFFFFFFFu) device->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0);
}

}  // namespace kr
