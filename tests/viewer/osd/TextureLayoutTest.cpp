#include <gtest/gtest.h>

#include "viewer/osd/TextureLayout.h"

using namespace OnScreenDisplay;

TEST(TextureLayout, FramesOfAStackedImage)
{
    FrameLayout l;
    ASSERT_TRUE(ComputeFrameLayout(66, 98, 3, &l));
    EXPECT_EQ(l.textureWidth, 128u);
    EXPECT_EQ(l.textureHeight, 128u);
    EXPECT_EQ(l.contentWidth, 64);
    EXPECT_EQ(l.frameContentHeight, 32);
    EXPECT_DOUBLE_EQ(l.aspect, 2.0);
    ASSERT_EQ(l.frames.size(), 3u);
    EXPECT_FLOAT_EQ(l.frames[1].top, 33.25f / 128);
    EXPECT_FLOAT_EQ(l.frames[1].bottom, 64.75f / 128);
    EXPECT_FLOAT_EQ(l.frames[1].left, 1.25f / 128);
    EXPECT_FLOAT_EQ(l.frames[1].right, 64.75f / 128);

    // Too small to hold the border and the frames: refused, never a zero or negative size.
    EXPECT_FALSE(ComputeFrameLayout(2, 98, 1, &l));
    EXPECT_FALSE(ComputeFrameLayout(66, 6, 5, &l));
    ASSERT_TRUE(ComputeFrameLayout(66, 7, 5, &l));
    EXPECT_EQ(l.frameContentHeight, 1);
    ASSERT_TRUE(ComputeFrameLayout(10, 10, 0, &l)); // no frame count means one frame
    EXPECT_EQ(l.frames.size(), 1u);
    EXPECT_EQ(NextPowerOfTwo(1), 1u);
    EXPECT_EQ(NextPowerOfTwo(512), 512u);
    EXPECT_EQ(NextPowerOfTwo(514), 1024u);
}

TEST(TextureLayout, BitmapEdges)
{
    const unsigned edge = BitmapTextureEdge(300, 200);
    EXPECT_EQ(edge, 512u);
    EXPECT_FLOAT_EQ(300.0f / edge, 0.5859375f);
    EXPECT_FLOAT_EQ(200.0f / edge, 0.390625f);
    EXPECT_EQ(BitmapTextureEdge(10, 10), 64u);
    EXPECT_EQ(BitmapTextureEdge(720, -576), 1024u); // a top-down bitmap's negative height
    EXPECT_EQ(BitmapTextureEdge(100, 700), 1024u);
}
