// The display's layout arithmetic, pointer bands and auto-hide clock, without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "viewer/ControlsAutoHide.h"
#include "viewer/DisplayLayout.h"

using namespace viewer;

static void ExpectRect(const RectF& r, float l, float t, float rt, float b, const char* what)
{
    EXPECT_NEAR(r.left, l, 1e-3) << what;
    EXPECT_NEAR(r.top, t, 1e-3) << what;
    EXPECT_NEAR(r.right, rt, 1e-3) << what;
    EXPECT_NEAR(r.bottom, b, 1e-3) << what;
}

TEST(DisplayLayout, ScaleFollowsHeight)
{
    EXPECT_FLOAT_EQ(OsdScaleForHeight(0), 0.4f);
    EXPECT_FLOAT_EQ(OsdScaleForHeight(199), 0.4f);
    EXPECT_FLOAT_EQ(OsdScaleForHeight(200), 0.4f);
    EXPECT_NEAR(OsdScaleForHeight(450), 0.7f, 1e-6);
    EXPECT_NEAR(OsdScaleForHeight(699), 0.9988f, 1e-5);
    EXPECT_FLOAT_EQ(OsdScaleForHeight(700), 1.0f);
    EXPECT_FLOAT_EQ(OsdScaleForHeight(1200), 1.0f);
}

TEST(DisplayLayout, PanelTableAt1280x720)
{
    const DisplayRects r = ComputeDisplayRects(1280, 720, 1.0f, 16.0f / 9);
    ExpectRect(r.background, 0, 0, 1280, 720, "background");
    ExpectRect(r.video, 0, 0, 1280, 720, "video");
    ExpectRect(r.recordIcon, 1200, 50, 1272, 87, "record icon");
    ExpectRect(r.scrambledIcon, 1200, 95, 1272, 132, "scrambled icon");
    ExpectRect(r.mutedIcon, 1200, 140, 1272, 177, "muted icon");
    ExpectRect(r.noDataIcon, 1200, 185, 1272, 222, "no-data icon");
    ExpectRect(r.teletext, 0, 8, 1280, 712, "teletext");
    ExpectRect(r.guide, 8, 8, 1272, 712, "guide");
    ExpectRect(r.info, 0, 621, 1280, 694, "info");
    ExpectRect(r.controls, -1, 611, 356, 704, "controls");
    ExpectRect(r.menu, -1, 315, 252, 624, "menu");
    ExpectRect(r.topMenu, 8, 8, 322, 40, "top menu");
    ExpectRect(r.topButtons, 1111, 8, 1272, 40, "window buttons");
    ExpectRect(r.volume, 1228, 240, 1264, 480, "volume");
    ExpectRect(r.switcher, 430, 180, 850, 540, "switcher");
    ExpectRect(r.channels, 772, 8, 1272, 712, "channel list");
    ExpectRect(r.tune, 972, 64, 1272, 464, "tune");
    ExpectRect(ChannelLogoRect(1280, 720, 1.0f, 300), 978, 520, 1278, 648, "logo");
}

TEST(DisplayLayout, NarrowWindowsAndPictureAspect)
{
    // S = 1 from a height of 700: the switcher below 420, the list below 516, the tune panel
    // below 316 follow the window's width.
    DisplayRects r = ComputeDisplayRects(400, 700, 1.0f, 0);
    ExpectRect(r.video, 0, 0, 400, 700, "aspect 0 fills");
    ExpectRect(r.switcher, 0, 170, 400, 530, "switcher full width");
    ExpectRect(r.channels, 8, 8, 392, 692, "channel list W - 16");
    ExpectRect(r.tune, 92, 64, 392, 464, "tune still at W - 308");
    r = ComputeDisplayRects(316, 700, 1.0f, 0);
    ExpectRect(r.tune, 8, 64, 308, 464, "tune at 8 when W - 16 = 300 is not below 300");
    r = ComputeDisplayRects(315, 700, 1.0f, 0);
    ExpectRect(r.tune, 8, 64, 307, 464, "tune at 8, W - 16 wide");
    r = ComputeDisplayRects(516, 700, 1.0f, 0);
    ExpectRect(r.channels, 8, 8, 508, 692, "500 fits exactly");
    // The tune panel's height drops only for heights of 188 and less (S = 0.4).
    r = ComputeDisplayRects(640, 189, 0.4f, 0);
    EXPECT_NEAR(r.tune.Height(), 160, 1e-3);
    r = ComputeDisplayRects(640, 188, 0.4f, 0);
    EXPECT_NEAR(r.tune.Height(), 188 - 72 * 0.4f, 1e-3);
    // A 4:3 picture in a 16:9 window is pillar-boxed.
    r = ComputeDisplayRects(1280, 720, 1.0f, 4.0f / 3);
    ExpectRect(r.video, 160, 0, 1120, 720, "pillar box");
}

TEST(DisplayLayout, ChannelLogoWidthAndAspect)
{
    EXPECT_FLOAT_EQ(ChannelLogoFirstPassWidth(0.5f), 169);
    // Label 24 high, text 100 x 30 font pixels: 24 / 30 x 130 + 180.
    EXPECT_NEAR(ChannelLogoWidth(24, 100, 30, 1.0f), 284, 1e-3);
    // The empty name measures 0 x 0: the logo alone, never NaN.
    const float empty = ChannelLogoWidth(24, 0, 0, 0.5f);
    EXPECT_FALSE(std::isnan(empty));
    EXPECT_FLOAT_EQ(empty, 90);
    EXPECT_FLOAT_EQ(ChannelLogoWidth(0, 0, 0, 1.0f), 180);

    EXPECT_FLOAT_EQ(ChannelLogoAspect(1.5f, 200, 100), 2.0f);
    EXPECT_FLOAT_EQ(ChannelLogoAspect(1.5f, 200, 0), 1.5f);
    EXPECT_FLOAT_EQ(ChannelLogoAspect(1.5f, 0, 100), 1.5f);
    EXPECT_FLOAT_EQ(ChannelLogoAspect(1.5f, -4, -3), 1.5f);
}

TEST(DisplayLayout, PointerBandsAndScrollPad)
{
    // H = 450, S = 0.7: top below trunc(56) = 56, bottom above 450 - trunc(84) = 366.
    const float s = OsdScaleForHeight(450);
    EXPECT_EQ(ClassifyPointerBand(0, 450, s), PointerBand::Top);
    EXPECT_EQ(ClassifyPointerBand(55, 450, s), PointerBand::Top);
    EXPECT_EQ(ClassifyPointerBand(56, 450, s), PointerBand::Middle);
    EXPECT_EQ(ClassifyPointerBand(366, 450, s), PointerBand::Middle);
    EXPECT_EQ(ClassifyPointerBand(367, 450, s), PointerBand::Bottom);
    // S = 0.4 at H = 199: 80 x 0.4 = 32, 120 x 0.4 = 48.
    EXPECT_EQ(ClassifyPointerBand(31, 199, 0.4f), PointerBand::Top);
    EXPECT_EQ(ClassifyPointerBand(32, 199, 0.4f), PointerBand::Middle);
    EXPECT_EQ(ClassifyPointerBand(151, 199, 0.4f), PointerBand::Middle);
    EXPECT_EQ(ClassifyPointerBand(152, 199, 0.4f), PointerBand::Bottom);

    EXPECT_FALSE(IsNearScrollPad(100, 100, 160, 180, 1.0f)); // 100 away: not below 100
    EXPECT_TRUE(IsNearScrollPad(100, 100, 160, 179.9f, 1.0f));
    EXPECT_FALSE(IsNearScrollPad(100, 100, 130, 140, 0.5f)); // 50 px = 100 skin px at 0.5
    EXPECT_TRUE(IsNearScrollPad(100, 100, 129, 140, 0.5f));
}

TEST(ControlsAutoHide, ArmedMiddleMoveHidesAfterTimeoutUnlessMenuUp)
{
    ControlsAutoHide hide;
    EXPECT_FALSE(hide.IsDue(100000, false)); // never armed: never hides by itself
    hide.ShownByPointer(1000);
    hide.Arm();
    EXPECT_FALSE(hide.IsDue(4000, false)); // exactly 3000 ms is not past the time-out
    EXPECT_TRUE(hide.IsDue(4001, false));
    EXPECT_FALSE(hide.IsDue(4001, true)); // the menu keeps them
    EXPECT_TRUE(hide.IsDue(9000, false)); // still due on later frames: the flag stays
    hide.Restart(9000);                   // a key showed them
    EXPECT_TRUE(hide.IsArmed());
    EXPECT_FALSE(hide.IsDue(12000, false));
    EXPECT_TRUE(hide.IsDue(12001, false));
    hide.ShownByPointer(12001); // a band move disarms
    EXPECT_FALSE(hide.IsDue(99999, false));
}

TEST(ControlsAutoHide, TickCounterWraps)
{
    ControlsAutoHide hide;
    hide.ShownByPointer(0xFFFFFF00u);
    hide.Arm();
    EXPECT_FALSE(hide.IsDue(0x00000A00u, false)); // 2816 ms later across the wrap
    EXPECT_TRUE(hide.IsDue(0x00000C00u, false));
}
