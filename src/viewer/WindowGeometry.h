// The borderless frame's geometry without the platform: which part of the window a point hits,
// how the window snaps to the work area, and the client size of the fixed video sizes.
#pragma once

namespace viewer {

// Values of the platform's hit-test codes.
enum HitZone : int {
    kHitClient = 1,
    kHitLeft = 10,
    kHitRight = 11,
    kHitTop = 12,
    kHitTopLeft = 13,
    kHitTopRight = 14,
    kHitBottom = 15,
    kHitBottomLeft = 16,
    kHitBottomRight = 17,
};

// A 3-pixel sizing band along each edge of the client area (width x height), with corner zones
// reaching 15 pixels along both edges; everything else, and the whole maximised window, is client.
int HitTestZone(int x, int y, int width, int height, bool maximised);

struct Box {
    int left, top, right, bottom;
};

// Moves the window (x, y, cx, cy) so that an edge lying within [-8, 8) pixels of the work area's
// matching edge sits on it: left and top first, then right and bottom.
void SnapToWorkArea(int& x, int& y, int cx, int cy, const Box& work);

enum class VideoSize { Half, Normal, Double };

struct ClientSize {
    int cx, cy;
};

// The client area that shows the video at a fixed size: the width of the video (halved or
// doubled), the height following the aspect, truncated.
ClientSize VideoClientSize(int videoWidth, double aspect, VideoSize size);

} // namespace viewer
