// The frame's geometry and the forwarded command-line block, without a window.
#include <gtest/gtest.h>

#include "viewer/CommandLineBlock.h"
#include "viewer/WindowGeometry.h"

using namespace viewer;

TEST(HitTestZone, BandsCornersAndMaximised)
{
    const int w = 640, h = 480;
    struct Case {
        int x, y, zone;
    } cases[] = {
        {0, 0, kHitTopLeft},         {2, 14, kHitTopLeft},        {2, 15, kHitLeft},
        {2, 465, kHitLeft},          {2, 466, kHitBottomLeft},    {3, 240, kHitClient},
        {637, 240, kHitClient},      {638, 240, kHitRight},       {638, 14, kHitTopRight},
        {638, 466, kHitBottomRight}, {14, 2, kHitTopLeft},        {15, 2, kHitTop},
        {625, 2, kHitTop},           {626, 2, kHitTopRight},      {320, 3, kHitClient},
        {320, 477, kHitClient},      {320, 478, kHitBottom},      {14, 478, kHitBottomLeft},
        {626, 478, kHitBottomRight}, {320, 240, kHitClient},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitTestZone(c.x, c.y, w, h, false), c.zone) << c.x << "," << c.y;
    EXPECT_EQ(HitTestZone(0, 0, w, h, true), kHitClient);
    EXPECT_EQ(HitTestZone(639, 479, w, h, true), kHitClient);
}

TEST(SnapToWorkArea, EdgesWithinMinusEightToSeven)
{
    const Box work{0, 0, 1280, 994};
    struct Case {
        int x, y, cx, cy, wantX, wantY;
    } cases[] = {
        {-8, 300, 640, 480, 0, 300},    // 8 left of the left edge snaps
        {8, 300, 640, 480, 8, 300},     // 8 right of it does not
        {7, 300, 640, 480, 0, 300},     // 7 right of it does
        {-9, 300, 640, 480, -9, 300},   // 9 left of it does not
        {300, -8, 640, 480, 300, 0},    // top
        {300, 8, 640, 480, 300, 8},
        {647, 300, 640, 480, 640, 300}, // right edge 7 beyond: snaps back
        {632, 300, 640, 480, 640, 300}, // right edge 8 short: snaps on
        {631, 300, 640, 480, 631, 300}, // 9 short: stays
        {300, 506, 640, 480, 300, 514}, // bottom edge 8 short: snaps on
        {300, 522, 640, 480, 300, 522}, // bottom edge 8 beyond: stays
    };
    for (const Case& c : cases) {
        int x = c.x, y = c.y;
        SnapToWorkArea(x, y, c.cx, c.cy, work);
        EXPECT_EQ(x, c.wantX) << c.x << "," << c.y;
        EXPECT_EQ(y, c.wantY) << c.x << "," << c.y;
    }
    // A window wider than the work area: the left edge wins first, the right one then.
    int x = -3, y = 0;
    SnapToWorkArea(x, y, 1284, 100, work);
    EXPECT_EQ(x, -4);
}

TEST(VideoClientSize, FixedSizesFollowTheAspect)
{
    const double wide = 16.0 / 9.0;
    ClientSize s = VideoClientSize(720, wide, VideoSize::Normal);
    EXPECT_EQ(s.cx, 720);
    EXPECT_EQ(s.cy, 405);
    s = VideoClientSize(720, wide, VideoSize::Half);
    EXPECT_EQ(s.cx, 360);
    EXPECT_EQ(s.cy, 202);
    s = VideoClientSize(720, wide, VideoSize::Double);
    EXPECT_EQ(s.cx, 1440);
    EXPECT_EQ(s.cy, 810);
    s = VideoClientSize(721, 4.0 / 3.0, VideoSize::Half);
    EXPECT_EQ(s.cx, 360);
    EXPECT_EQ(s.cy, 270);
}

TEST(PackArguments, EachArgumentWithItsNulAndNothingAfterTheLast)
{
    EXPECT_EQ(PackArguments({u"Tolvik.exe"}), u"");
    EXPECT_EQ(PackArguments({}), u"");
    const std::u16string rec = PackArguments({u"C:\\Tolvik\\Tolvik.exe", u"/rec", u"1", u"2", u"30", u"1", u"name"});
    EXPECT_EQ(rec, std::u16string(u"/rec\0" u"1\0" u"2\0" u"30\0" u"1\0" u"name\0", 19));
    EXPECT_EQ(rec.size() * 2, 38u);
    // An empty argument still counts its NUL.
    EXPECT_EQ(PackArguments({u"Tolvik.exe", u""}), std::u16string(1, u'\0'));
    EXPECT_EQ(PackArguments({u"Tolvik.exe", u"", u""}), std::u16string(2, u'\0'));
    // Started without the program name (as a scheduler may): the switch is kept.
    EXPECT_EQ(PackArguments({u"/rec", u"1"}), std::u16string(u"/rec\0" u"1\0", 7));
    EXPECT_EQ(PackArguments({u"/REC"}), std::u16string(u"/REC\0", 5));
    EXPECT_EQ(PackArguments({u"/record", u"1"}), std::u16string(u"1\0", 2));
}
