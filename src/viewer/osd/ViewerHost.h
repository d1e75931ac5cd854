// What widgets ask of the viewer's main frame. Widgets draw on the render thread, so everything
// here must be safe from it: it posts to the user-interface thread rather than acting.
#pragma once

namespace OnScreenDisplay {

class ViewerHost {
public:
    virtual ~ViewerHost() = default;
    // The pointer over the teletext page, in ten-thousandths of the page (user message 2026).
    virtual void PostPointerPosition(int x10000, int y10000) = 0;
    // Follows the teletext link at a point of the page (fractions); true when one was followed.
    virtual bool TeletextClick(float fx, float fy) = 0;
    // A held button's repeated command, run by the dispatcher on the user-interface thread.
    virtual void PostCommand(int id) = 0;
};

} // namespace OnScreenDisplay
