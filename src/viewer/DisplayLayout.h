// Where the viewer's panels sit for a given client size, without the panels: the OSD scale that
// follows the window height, the rectangle of every panel, the channel logo's width from its name
// and the pointer bands that bring the controls back. Everything is in client pixels, y down.
#pragma once

#include "viewer/osd/Geometry.h"

namespace viewer {

using OnScreenDisplay::RectF;

// 0.4 below a height of 200, 1.0 from 700, linear between.
float OsdScaleForHeight(float height);

// The panels' rectangles for a client area of width x height at scale s; the video rectangle keeps
// the picture aspect (0 or below fills the window).
struct DisplayRects {
    RectF background, video;
    RectF recordIcon, scrambledIcon, mutedIcon, noDataIcon;
    RectF subtitles, teletext, guide, info, controls, menu, topMenu, topButtons, volume;
    RectF switcher, recorded, channels, tune;
};
DisplayRects ComputeDisplayRects(float width, float height, float s, float aspect);

// The channel logo panel for a logo width a: its bottom 72 s above the window's, 128 s high.
RectF ChannelLogoRect(float width, float height, float s, float a);
// The width that fits the name label's text (measured in font pixels) at the label's height, plus
// the logo beside it. A text without height (the empty name) gives the logo alone.
float ChannelLogoWidth(float labelHeight, float textWidth, float textHeight, float s);
// The width of the first pass, which gives the name label its height.
inline float ChannelLogoFirstPassWidth(float s) { return 338.0f * s; }

// A new logo's aspect; a logo without area keeps the previous one.
float ChannelLogoAspect(float previous, int width, int height);

enum class PointerBand { Top, Middle, Bottom };
// Top above trunc(80 s), bottom below height - trunc(120 s), both in whole pixels.
PointerBand ClassifyPointerBand(int y, float height, float s);

// True when the pointer is within 100 skin pixels of the point (cx, cy).
bool IsNearScrollPad(float x, float y, float cx, float cy, float s);

} // namespace viewer
