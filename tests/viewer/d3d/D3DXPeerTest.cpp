// Our matrix functions against Wine's d3dx9_43, used here only as a peer.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>

#include "viewer/osd/MatrixStack.h"

using namespace OnScreenDisplay;

namespace {

using LookAtFn = Matrix*(WINAPI*)(Matrix*, const Vector3*, const Vector3*, const Vector3*);
using PerspectiveFn = Matrix*(WINAPI*)(Matrix*, float, float, float, float);
using MultiplyFn = Matrix*(WINAPI*)(Matrix*, const Matrix*, const Matrix*);
using TranslationFn = Matrix*(WINAPI*)(Matrix*, float, float, float);
using ScalingFn = Matrix*(WINAPI*)(Matrix*, float, float, float);

// void (*)() is the one function type every other converts from without a warning.
template <class T>
T Proc(HMODULE module, const char* name)
{
    return reinterpret_cast<T>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

void ExpectNear(const Matrix& a, const Matrix& b, double tolerance)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(a.m[i][j], b.m[i][j], tolerance * std::max(1.0f, std::fabs(b.m[i][j]))) << i << "," << j;
}

} // namespace

TEST(D3DXPeer, MatricesAgreeOnRandomInputs)
{
    HMODULE d3dx = LoadLibraryW(L"d3dx9_43.dll");
    ASSERT_NE(d3dx, nullptr);
    auto lookAt = Proc<LookAtFn>(d3dx, "D3DXMatrixLookAtLH");
    auto perspective = Proc<PerspectiveFn>(d3dx, "D3DXMatrixPerspectiveFovLH");
    auto multiply = Proc<MultiplyFn>(d3dx, "D3DXMatrixMultiply");
    auto translation = Proc<TranslationFn>(d3dx, "D3DXMatrixTranslation");
    auto scaling = Proc<ScalingFn>(d3dx, "D3DXMatrixScaling");
    ASSERT_TRUE(lookAt && perspective && multiply && translation && scaling);

    std::mt19937 random(2024);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    std::uniform_real_distribution<float> positive(0.1f, 3.0f);
    for (int round = 0; round < 200; ++round) {
        const Vector3 eye{coordinate(random), coordinate(random), coordinate(random)};
        const Vector3 at{coordinate(random), coordinate(random), coordinate(random)};
        const Vector3 up{0, 1, 0};
        Matrix peer;
        lookAt(&peer, &eye, &at, &up);
        ExpectNear(LookAtLH(eye, at, up), peer, 1e-5);

        const float fov = positive(random), aspect = positive(random), zn = positive(random);
        const float zf = zn + 1.0f + positive(random) * 50.0f;
        perspective(&peer, fov, aspect, zn, zf);
        ExpectNear(PerspectiveFovLH(fov, aspect, zn, zf), peer, 1e-6);

        // The stack's local operations put the new transform before the top: M = T x M.
        MatrixStack stack;
        stack.ScaleLocal(positive(random), positive(random), 1.0f);
        const float tx = coordinate(random), ty = coordinate(random);
        const Matrix before = stack.GetTop();
        stack.TranslateLocal(tx, ty, 0.0f);
        Matrix t, expected;
        translation(&t, tx, ty, 0.0f);
        multiply(&expected, &t, &before);
        ExpectNear(stack.GetTop(), expected, 1e-6);
    }
    // The values the OSD's fixed camera relies on.
    Matrix view, projection;
    const Vector3 eye{0, 0, -2.4142137f}, target{0, 0, 5}, up{0, 1, 0};
    lookAt(&view, &eye, &target, &up);
    perspective(&projection, 3.14159265f / 4, 1.0f, 1.0f, 100.0f);
    ExpectNear(LookAtLH(eye, target, up), view, 1e-6);
    ExpectNear(PerspectiveFovLH(3.14159265f / 4, 1.0f, 1.0f, 100.0f), projection, 1e-6);
    FreeLibrary(d3dx);
}
