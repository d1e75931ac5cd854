// A control that shows and hides itself with a timed transition: 0 hidden, 1 showing, 2 shown,
// 3 hiding. The transition completes when the panel is drawn and asks for its progress.
#pragma once

#include <cstdint>

#include "viewer/osd/Control.h"

namespace OnScreenDisplay {

class Panel : public Control {
public:
    enum State { Hidden = 0, Showing = 1, Shown = 2, Hiding = 3 };

    // A panel is attached by whoever builds it (AddChild), not by its constructor.
    explicit Panel(Component* parent = nullptr) { (void)parent; }

    bool OnMouseMove(uint32_t flags, int x, int y) override;
    bool OnLButtonDown(uint32_t flags, int x, int y) override;
    bool OnLButtonUp(uint32_t flags, int x, int y) override;
    bool OnMouseWheel(uint32_t flags, int delta, int x, int y) override;
    bool OnLButtonDblClk(int x, int y) override;

    // 0..1 over the running transition, 1 when none runs; ends a transition that has run its time.
    virtual float GetProgress();
    // Milliseconds of the transition into the given state (1 showing, 3 hiding); 1 for the others.
    virtual uint32_t GetTransitionTime(int state);
    // Target 2 shows, 0 hides; a transition under way reverses from where it stands.
    virtual void SetState(int target);
    // A transition moves at every frame; a hidden panel draws nothing that could move.
    uint32_t AnimationDelay(uint32_t now) override;

    int GetState() const { return m_state; }

protected:
    // Shown once its showing time has run, drawn since or not: a window that draws only for new
    // pictures (a paused file) has not drawn the end of the transition when the pointer clicks.
    bool IsShownNow();

    int m_state = Hidden;
    uint32_t m_transitionStart = 0;
    uint32_t m_transitionDuration = 1;
};

} // namespace OnScreenDisplay
