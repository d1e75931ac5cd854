// What every viewer panel does when drawn: turn its transition progress into a visibility factor
// and, while it shows or hides, move itself on the display's matrix stack.
#pragma once

#include "viewer/osd/Panel.h"

namespace Panels {

// How a panel's state and progress p become its visibility factor f.
enum class Fade {
    Eased,     // showing E(p), shown E(p), hiding 1 - E(p)
    Logo,      // as Eased, but the showing logo stays invisible for the first 40 % of its curve
    Linear,    // showing p, shown p, hiding 1 - p
    EasedBoth, // showing E(p), shown p, hiding E(1 - p)
    ScrollPad, // never below 0.3, drawn even when hidden
};

// Movement of a showing or hiding panel in its own local space (2 units across, y up).
enum class Motion { None, FromLeft, FromAbove, FromRight, GrowAndHop };

float VisibilityFactor(Fade fade, int state, float progress);

// Reads the panel's progress (which may end its transition) and gives the factor; false when the
// panel is not to be drawn (no display, or hidden under any rule but the scroll pad's).
bool BeginPanel(OnScreenDisplay::Panel& panel, Fade fade, float* factor);

// Applies the motion for factor f to the top of the display's stack while it lives, in states 1 and
// 3 only, and makes it the surface's world transform; the destructor restores both.
class MotionScope {
public:
    MotionScope(OnScreenDisplay::Panel& panel, Motion motion, float factor);
    ~MotionScope();
    MotionScope(const MotionScope&) = delete;
    MotionScope& operator=(const MotionScope&) = delete;

private:
    OnScreenDisplay::Panel& m_panel;
    bool m_pushed = false;
};

// Places a child (when it exists) and lays it out.
void Place(OnScreenDisplay::Control* child, float left, float top, float right, float bottom);
void Place(OnScreenDisplay::Control* child, const OnScreenDisplay::RectF& rect);

} // namespace Panels
