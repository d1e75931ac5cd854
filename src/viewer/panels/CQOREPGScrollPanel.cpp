#include "viewer/panels/CQOREPGScrollPanel.h"

#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;
using OnScreenDisplay::Control;

void CQOREPGScrollPanel::Layout()
{
    // The buttons are drawn at 0.8 of their skin size.
    const float s = OnScreenDisplay::GetScale(), w = m_rect.Width(), h = m_rect.Height();
    OnScreenDisplay::RectF background{0, 0, 76.8f * s, 76.8f * s};
    OnScreenDisplay::CentreRect(background, 0, 0, w, h);
    Place(m_background, background);
    const float middle = (h - 29.6f * s) / 2;
    Place(m_left, 0, middle, 40 * s, middle + 29.6f * s);
    Place(m_right, w - 40 * s, middle, w, middle + 29.6f * s);
    OnScreenDisplay::RectF centre{0, 0, 18.4f * s, 18.4f * s};
    OnScreenDisplay::CentreRect(centre, 0, 0, w, h);
    Place(m_centre, centre);
    const float column = (w - 29.6f * s) / 2;
    Place(m_up, column, 0, column + 29.6f * s, 37.6f * s);
    Place(m_down, column, h - 37.6f * s, column + 29.6f * s, h);
}

void CQOREPGScrollPanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::ScrollPad, &f))
        return;
    OnScreenDisplay::Control* const order[] = {m_background, m_left, m_right, m_down, m_up, m_centre};
    for (OnScreenDisplay::Control* child : order)
        DrawChild(child, f * alpha);
}

uint32_t CQOREPGScrollPanel::AnimationDelay(uint32_t now)
{
    return m_state == Hidden ? Control::AnimationDelay(now) : Panel::AnimationDelay(now);
}

uint32_t CQOREPGScrollPanel::GetTransitionTime(int state)
{
    return state == Showing || state == Hiding ? 150 : 1;
}
