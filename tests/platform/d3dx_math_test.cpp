// The D3DX helpers against the numbers the viewer depends on.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3d8/d3dx8.h"

namespace {

void expectMatrixNear(const D3DXMATRIX& a, const D3DXMATRIX& b, float eps = 1e-5f) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a(i, j), b(i, j), eps) << "at " << i << "," << j;
}

TEST(D3dxMath, PerspectiveAndOrthoFollowTheLeftHandedFormulas) {
    D3DXMATRIX p;
    D3DXMatrixPerspectiveFovLH(&p, 0.7853982f, 1.0f, 1.0f, 500.0f);
    const float ys = std::cos(0.3926991f) / std::sin(0.3926991f);
    EXPECT_FLOAT_EQ(p(0, 0), ys);
    EXPECT_FLOAT_EQ(p(1, 1), ys);
    EXPECT_FLOAT_EQ(p(2, 2), 500.0f / 499.0f);
    EXPECT_FLOAT_EQ(p(2, 3), 1.0f);
    EXPECT_FLOAT_EQ(p(3, 2), -500.0f / 499.0f);
    EXPECT_FLOAT_EQ(p(3, 3), 0.0f);

    D3DXMATRIX o;
    D3DXMatrixOrthoLH(&o, 500.0f, 400.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(o(0, 0), 2.0f / 500.0f);
    EXPECT_FLOAT_EQ(o(1, 1), 2.0f / 400.0f);
    EXPECT_FLOAT_EQ(o(2, 2), 1.0f);
    EXPECT_FLOAT_EQ(o(3, 2), 0.0f);
    EXPECT_FLOAT_EQ(o(3, 3), 1.0f);
}

TEST(D3dxMath, RotationsTurnTheAxesTheLeftHandedWay) {
    D3DXMATRIX rx;
    D3DXMatrixRotationX(&rx, -1.5707964f);
    D3DXVECTOR3 v(0, 0, 1), out;
    D3DXVec3TransformCoord(&out, &v, &rx);
    EXPECT_NEAR(out.x, 0.0f, 1e-6f);
    EXPECT_NEAR(out.y, 1.0f, 1e-6f);
    EXPECT_NEAR(out.z, 0.0f, 1e-6f);

    // The axis form about a coordinate axis equals the dedicated rotation,
    // and the axis need not be of unit length.
    const float angles[] = {0.3f, -1.2f, 2.5f};
    for (float a : angles) {
        D3DXMATRIX ry, axis;
        D3DXMatrixRotationY(&ry, a);
        D3DXVECTOR3 up(0, 3, 0);
        D3DXMatrixRotationAxis(&axis, &up, a);
        expectMatrixNear(axis, ry);
        D3DXMATRIX rz, axisZ;
        D3DXMatrixRotationZ(&rz, a);
        D3DXVECTOR3 z(0, 0, 0.5f);
        D3DXMatrixRotationAxis(&axisZ, &z, a);
        expectMatrixNear(axisZ, rz);
    }
}

TEST(D3dxMath, MultiplyAppliesTheFirstMatrixFirstAndMayAlias) {
    D3DXMATRIX t, r, tr, rt;
    D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXMatrixRotationZ(&r, 1.5707964f);
    D3DXMatrixMultiply(&tr, &t, &r);
    D3DXVECTOR3 o(0, 0, 0), out;
    D3DXVec3TransformCoord(&out, &o, &tr);  // translate to (1,2,3), then turn about z
    EXPECT_NEAR(out.x, -2.0f, 1e-5f);
    EXPECT_NEAR(out.y, 1.0f, 1e-5f);
    EXPECT_NEAR(out.z, 3.0f, 1e-5f);
    rt = r;
    D3DXMatrixMultiply(&rt, &rt, &t);
    D3DXVec3TransformCoord(&out, &o, &rt);
    EXPECT_NEAR(out.x, 1.0f, 1e-5f);
    EXPECT_NEAR(out.y, 2.0f, 1e-5f);
}

TEST(D3dxMath, InverseOfARotationIsItsTransposeAndSingularFails) {
    D3DXMATRIX a, b, r, inv;
    D3DXMatrixRotationX(&a, 0.7f);
    D3DXMatrixRotationY(&b, -0.4f);
    D3DXMatrixMultiply(&r, &a, &b);
    float det = 0;
    ASSERT_NE(D3DXMatrixInverse(&inv, &det, &r), nullptr);
    EXPECT_NEAR(det, 1.0f, 1e-5f);
    D3DXMATRIX transpose;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) transpose(i, j) = r(j, i);
    expectMatrixNear(inv, transpose);

    D3DXMATRIX zero;
    D3DXMATRIX keep;
    D3DXMatrixIdentity(&keep);
    EXPECT_EQ(D3DXMatrixInverse(&keep, nullptr, &zero), nullptr);
    EXPECT_FLOAT_EQ(keep(0, 0), 1.0f);
}

TEST(D3dxMath, NormalizeAndTransformCoord) {
    D3DXVECTOR3 zero(0, 0, 0), out(9, 9, 9);
    D3DXVec3Normalize(&out, &zero);
    EXPECT_EQ(out.x, 0.0f);
    EXPECT_EQ(out.y, 0.0f);
    EXPECT_EQ(out.z, 0.0f);
    D3DXVECTOR3 v(3, 0, 4);
    D3DXVec3Normalize(&out, &v);
    EXPECT_FLOAT_EQ(out.x, 0.6f);
    EXPECT_FLOAT_EQ(out.z, 0.8f);

    // The point transform divides by w.
    D3DXMATRIX p;
    D3DXMatrixPerspectiveFovLH(&p, 0.7853982f, 1.0f, 1.0f, 500.0f);
    D3DXVECTOR3 far(0, 0, 500), nearP(0, 0, 1);
    D3DXVec3TransformCoord(&out, &far, &p);
    EXPECT_NEAR(out.z, 1.0f, 1e-5f);
    D3DXVec3TransformCoord(&out, &nearP, &p);
    EXPECT_NEAR(out.z, 0.0f, 1e-5f);
}

}  // namespace
