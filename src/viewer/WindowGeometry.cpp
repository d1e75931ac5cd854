#include "viewer/WindowGeometry.h"

namespace viewer {

namespace {
constexpr int kBorder = 3;
constexpr int kCorner = 15;
constexpr int kSnap = 8;

// An edge at distance d from its target snaps when -8 <= d < 8.
bool Snaps(int d)
{
    return d >= -kSnap && d < kSnap;
}
} // namespace

int HitTestZone(int x, int y, int width, int height, bool maximised)
{
    if (maximised)
        return kHitClient;
    if (x < kBorder) {
        if (y < kCorner)
            return kHitTopLeft;
        return y > height - kCorner ? kHitBottomLeft : kHitLeft;
    }
    if (x > width - kBorder) {
        if (y < kCorner)
            return kHitTopRight;
        return y > height - kCorner ? kHitBottomRight : kHitRight;
    }
    if (y < kBorder) {
        if (x < kCorner)
            return kHitTopLeft;
        return x > width - kCorner ? kHitTopRight : kHitTop;
    }
    if (y > height - kBorder) {
        if (x < kCorner)
            return kHitBottomLeft;
        return x > width - kCorner ? kHitBottomRight : kHitBottom;
    }
    return kHitClient;
}

void SnapToWorkArea(int& x, int& y, int cx, int cy, const Box& work)
{
    if (Snaps(x - work.left))
        x = work.left;
    if (Snaps(y - work.top))
        y = work.top;
    if (Snaps(x + cx - work.right))
        x = work.right - cx;
    if (Snaps(y + cy - work.bottom))
        y = work.bottom - cy;
}

ClientSize VideoClientSize(int videoWidth, double aspect, VideoSize size)
{
    int cx = videoWidth;
    if (size == VideoSize::Half)
        cx /= 2;
    else if (size == VideoSize::Double)
        cx *= 2;
    const int cy = aspect > 0 ? static_cast<int>(cx / aspect) : cx;
    return {cx, cy};
}

} // namespace viewer
