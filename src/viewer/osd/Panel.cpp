#include "viewer/osd/Panel.h"

#include "viewer/osd/Clock.h"

namespace OnScreenDisplay {

bool Panel::IsShownNow()
{
    Panel::GetProgress();
    return m_state == Shown;
}

bool Panel::OnMouseMove(uint32_t flags, int x, int y)
{
    return IsShownNow() && Control::OnMouseMove(flags, x, y);
}

bool Panel::OnLButtonDown(uint32_t flags, int x, int y)
{
    return IsShownNow() && Control::OnLButtonDown(flags, x, y);
}

bool Panel::OnLButtonUp(uint32_t flags, int x, int y)
{
    return IsShownNow() && Control::OnLButtonUp(flags, x, y);
}

bool Panel::OnMouseWheel(uint32_t flags, int delta, int x, int y)
{
    return (m_state == Showing || m_state == Shown) && Control::OnMouseWheel(flags, delta, x, y);
}

bool Panel::OnLButtonDblClk(int x, int y)
{
    return IsShownNow() && Control::OnLButtonDblClk(x, y);
}

uint32_t Panel::AnimationDelay(uint32_t now)
{
    if (m_state == Showing || m_state == Hiding)
        return 0;
    return m_state == Hidden ? kStill : Control::AnimationDelay(now);
}

uint32_t Panel::GetTransitionTime(int state)
{
    return state == Showing || state == Hiding ? 400 : 1;
}

float Panel::GetProgress()
{
    if (m_state != Showing && m_state != Hiding)
        return 1.0f;
    const uint32_t now = Now();
    const float p = static_cast<float>(now - m_transitionStart) / static_cast<float>(m_transitionDuration);
    if (p < 1.0f)
        return p;
    if (m_state == Showing) {
        m_state = Shown;
        m_enabled = true;
    } else {
        m_state = Hidden;
        m_enabled = false;
    }
    m_transitionStart = now;
    return 1.0f;
}

void Panel::SetState(int target)
{
    SetEnabled(target == Showing || target == Shown);
    if (target == Showing || target == Hiding || target == m_state)
        return;
    const uint32_t now = Now();
    // Reversing mid-way starts the new transition where the old one stands. The elapsed time is
    // clamped to the old duration: a panel nobody drew meanwhile (a 0 x 0 window) can be far past
    // it, and a negative start offset would not fit the unsigned tick.
    auto reversedStart = [&](int from, int to) {
        const uint32_t fromTime = GetTransitionTime(from);
        uint32_t elapsed = now - m_transitionStart;
        if (elapsed > fromTime)
            elapsed = fromTime;
        const double remaining = 1.0 - static_cast<double>(elapsed) / fromTime;
        return now - static_cast<uint32_t>(remaining * GetTransitionTime(to));
    };
    if (target == Shown) {
        if (m_state == Hidden)
            m_transitionStart = now;
        else if (m_state == Hiding)
            m_transitionStart = reversedStart(Hiding, Showing);
        else
            return;
        m_transitionDuration = GetTransitionTime(Showing);
        m_state = Showing;
    } else if (target == Hidden) {
        if (m_state == Shown)
            m_transitionStart = now;
        else if (m_state == Showing)
            m_transitionStart = reversedStart(Showing, Hiding);
        else
            return;
        m_transitionDuration = GetTransitionTime(Hiding);
        m_state = Hiding;
    }
}

} // namespace OnScreenDisplay
