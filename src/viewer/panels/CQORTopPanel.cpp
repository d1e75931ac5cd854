#include "viewer/panels/CQORTopPanel.h"

#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;
using OnScreenDisplay::Control;

void CQORTopPanel::Layout()
{
    const float s = OnScreenDisplay::GetScale();
    Place(m_background, 0, 0, m_rect.Width(), m_rect.Height());
    const float lefts[] = {5, 44, 83, 122};
    Control* const buttons[] = {m_alwaysOnTop, m_minimise, m_maximise, m_close};
    for (int i = 0; i < 4; ++i)
        Place(buttons[i], lefts[i] * s, 6 * s, (lefts[i] + 35) * s, (6 + 21) * s);
}

void CQORTopPanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::Eased, &f))
        return;
    MotionScope motion(*this, Motion::FromAbove, f);
    OnScreenDisplay::Control* const order[] = {m_background, m_alwaysOnTop, m_minimise, m_maximise, m_close};
    for (OnScreenDisplay::Control* child : order)
        DrawChild(child, f * alpha);
}
