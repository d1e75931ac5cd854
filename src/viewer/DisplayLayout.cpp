#include "viewer/DisplayLayout.h"

#include <cmath>

namespace viewer {

float OsdScaleForHeight(float height)
{
    if (height < 200.0f)
        return 0.4f;
    if (height < 700.0f)
        return (height - 200.0f) * 0.0012f + 0.4f;
    return 1.0f;
}

DisplayRects ComputeDisplayRects(float w, float h, float s, float aspect)
{
    DisplayRects r;
    r.background = {0, 0, w, h};
    r.video = OnScreenDisplay::FitRectToAspect(0, 0, w, h, true, aspect);
    // Status icons: 72 s x 37 s, 8 s from the right edge, one below the other every 45 s.
    RectF* icons[] = {&r.recordIcon, &r.scrambledIcon, &r.mutedIcon, &r.noDataIcon};
    for (int i = 0; i < 4; ++i)
        *icons[i] = {w - 80 * s, (50 + 45 * i) * s, w - 8 * s, (87 + 45 * i) * s};
    r.subtitles = {0, 0, w, h};
    r.teletext = {0, 8 * s, w, h - 8 * s};
    r.guide = {8 * s, 8 * s, w - 8 * s, h - 8 * s};
    r.info = {0, h - 99 * s, w, h - 26 * s};
    // The controls and the menu start one pixel left of the window so that no edge of their
    // backgrounds shows.
    r.controls = {-1, h - 109 * s, 357 * s - 1, h - 16 * s};
    r.menu = {-1, h - 405 * s, 253 * s - 1, h - 96 * s};
    r.topMenu = {8 * s, 8 * s, 322 * s, 40 * s};
    r.topButtons = {w - 169 * s, 8 * s, w - 8 * s, 40 * s};
    r.volume = {w - 52 * s, (h - 240 * s) / 2, w - 16 * s, (h + 240 * s) / 2};
    const float sw = w < 420 * s ? w : 420 * s;
    const float sh = h < 360 * s ? h : 360 * s;
    r.switcher = {(w - sw) / 2, (h - sh) / 2, (w + sw) / 2, (h + sh) / 2};
    r.recorded = {8 * s, 8 * s, w - 8 * s, h - 8 * s};
    const float cw = 500 * s > w - 16 * s ? w - 16 * s : 500 * s;
    r.channels = {w - 8 * s - cw, 8 * s, w - 8 * s, h - 8 * s};
    float tuneLeft = w - 308 * s, tuneWidth = 300 * s, tuneHeight = 400 * s;
    if (h - 8 * s < 464 * s)
        tuneHeight = h - 72 * s;
    if (w - 16 * s < 300 * s) {
        tuneLeft = 8 * s;
        tuneWidth = w - 16 * s;
    }
    r.tune = {tuneLeft, 64 * s, tuneLeft + tuneWidth, 64 * s + tuneHeight};
    return r;
}

RectF ChannelLogoRect(float w, float h, float s, float a)
{
    return {w - a - 2 * s, h - 200 * s, w - 2 * s, h - 72 * s};
}

float ChannelLogoWidth(float labelHeight, float textWidth, float textHeight, float s)
{
    // The empty name measures 0 x 0: the ratio would be 0 / 0.
    if (!(textHeight > 0))
        return 180 * s;
    return labelHeight / textHeight * (textWidth + textHeight) + 180 * s;
}

float ChannelLogoAspect(float previous, int width, int height)
{
    if (width <= 0 || height <= 0)
        return previous;
    return static_cast<float>(width) / static_cast<float>(height);
}

PointerBand ClassifyPointerBand(int y, float height, float s)
{
    if (y < std::trunc(80 * s))
        return PointerBand::Top;
    if (y > height - std::trunc(120 * s))
        return PointerBand::Bottom;
    return PointerBand::Middle;
}

bool IsNearScrollPad(float x, float y, float cx, float cy, float s)
{
    const float dx = x - cx, dy = y - cy;
    return std::sqrt(dx * dx + dy * dy) / s < 100.0f;
}

} // namespace viewer
