#include "viewer/osd/Geometry.h"

#include <algorithm>
#include <cmath>

namespace OnScreenDisplay {

void CentreRect(RectF& r, float left, float top, float right, float bottom)
{
    const float w = r.Width(), h = r.Height();
    r.left = (left + right) / 2 - w / 2;
    r.top = (top + bottom) / 2 - h / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
}

RectF FitRectToAspect(float left, float top, float right, float bottom, bool contain, float aspect)
{
    RectF box{left, top, right, bottom};
    if (!(aspect > 0.0f) || 100.0f / aspect < 0.0001f)
        return box;
    const float height = 100.0f / aspect;
    const float sx = (right - left) * 0.01f;
    const float sy = (bottom - top) / height;
    const float s = contain ? std::min(sx, sy) : std::max(sx, sy);
    RectF r{0, 0, 100.0f * s, height * s};
    CentreRect(r, left, top, right, bottom);
    return r;
}

void OffsetRect(RectF& r, float dx, float dy)
{
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

float Ease(float t)
{
    const double pi = 3.14159265358979323846;
    return static_cast<float>(std::pow((std::sin(t * pi - pi / 2) + 1.0) * 0.5, 3.5));
}

} // namespace OnScreenDisplay
