#include "viewer/panels/CQORVolumePanel.h"

#include "viewer/osd/Clock.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;

void CQORVolumePanel::Layout()
{
    Place(m_volumeBar, 0, 0, m_rect.Width(), m_rect.Height());
}

void CQORVolumePanel::SetState(int target)
{
    if (target == Shown)
        m_lastShow = OnScreenDisplay::Now();
    Panel::SetState(target);
}

void CQORVolumePanel::Render(float alpha)
{
    if (!m_display)
        return;
    GetProgress(); // may end a transition first
    // Unsigned difference: right across the tick count's wrap.
    if ((m_state == Showing || m_state == Shown) && OnScreenDisplay::Now() - m_lastShow > kDisplayTime)
        Panel::SetState(Hidden);
    float f = 0;
    if (!BeginPanel(*this, Fade::Linear, &f))
        return;
    DrawChild(m_volumeBar, f * alpha);
}

uint32_t CQORVolumePanel::AnimationDelay(uint32_t now)
{
    const uint32_t delay = Panel::AnimationDelay(now);
    if (m_state != Shown)
        return delay;
    const uint32_t shown = now - m_lastShow;
    const uint32_t hide = shown > kDisplayTime ? 0 : kDisplayTime - shown + 1;
    return hide < delay ? hide : delay;
}

uint32_t CQORVolumePanel::GetTransitionTime(int state)
{
    return state == Showing || state == Hiding ? 300 : 1;
}
