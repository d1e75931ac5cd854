#include "viewer/panels/CQORMenuPanel.h"

#include "viewer/panels/PanelDrawing.h"

using namespace Panels;

void CQORMenuPanel::Layout()
{
    const float w = m_rect.Width(), h = m_rect.Height(), m = 0.1f * h;
    Place(m_background, 0, 0, w, h);
    Place(m_tabs, m, m, w - m, 0.9f * h);
}

void CQORMenuPanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::Eased, &f))
        return;
    MotionScope motion(*this, Motion::FromAbove, f);
    DrawChild(m_background, f * alpha);
    DrawChild(m_tabs, f * alpha);
}
