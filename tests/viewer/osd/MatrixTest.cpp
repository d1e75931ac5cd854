#include <gtest/gtest.h>

#include "viewer/osd/MatrixStack.h"

using namespace OnScreenDisplay;

TEST(OsdMatrix, ViewAndProjectionMakeTheUnitSquareFillTheViewport)
{
    const Matrix view = LookAtLH({0, 0, -2.4142137f}, {0, 0, 5}, {0, 1, 0});
    EXPECT_NEAR(view.m[3][2], 2.414214, 1e-6);
    const Matrix projection = PerspectiveFovLH(3.14159265f / 4, 1.0f, 1.0f, 100.0f);
    EXPECT_NEAR(projection.m[0][0], 2.414213, 1e-6);
    EXPECT_NEAR(projection.m[1][1], 2.414213, 1e-6);
    EXPECT_NEAR(projection.m[2][2], 1.010101, 1e-6);
    EXPECT_NEAR(projection.m[3][2], -1.010101, 1e-6);
    EXPECT_EQ(projection.m[2][3], 1.0f);
    const Matrix both = view * projection;
    const Vector3 corner = both.TransformPoint({1, -1, 0});
    EXPECT_NEAR(corner.x, 1.0, 1e-5);
    EXPECT_NEAR(corner.y, -1.0, 1e-5);
}

TEST(OsdMatrix, LocalOperationsApplyBeforeTheTop)
{
    MatrixStack stack;
    stack.TranslateLocal(10, 0, 0);
    stack.Push();
    stack.ScaleLocal(2, 3, 1);
    const Vector3 p = stack.GetTop().TransformPoint({1, 1, 0});
    EXPECT_FLOAT_EQ(p.x, 12); // scaled first, then moved
    EXPECT_FLOAT_EQ(p.y, 3);
    stack.Pop();
    stack.Pop(); // the bottom entry stays, reset
    stack.Pop();
    EXPECT_EQ(stack.Depth(), 1u);
    EXPECT_FLOAT_EQ(stack.GetTop().TransformPoint({1, 1, 0}).x, 1);
}
