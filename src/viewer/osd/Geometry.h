// Float rectangles of the OSD (left, top, right, bottom; y down) and the easing curve of its
// transitions.
#pragma once

namespace OnScreenDisplay {

struct RectF {
    float left = 0, top = 0, right = 0, bottom = 0;

    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    bool Contains(float x, float y) const { return left <= x && x < right && top <= y && y < bottom; }
};

// Moves r so that its centre is the centre of the given box; its size stays.
void CentreRect(RectF& r, float left, float top, float right, float bottom);
// The largest (contain) or smallest (cover) rectangle of width / height = aspect centred on the
// box; an aspect of 0 or below gives the box itself.
RectF FitRectToAspect(float left, float top, float right, float bottom, bool contain, float aspect);
void OffsetRect(RectF& r, float dx, float dy);

// 0 at 0, 1 at 1, slow at both ends and steepest past the middle.
float Ease(float t);

} // namespace OnScreenDisplay
