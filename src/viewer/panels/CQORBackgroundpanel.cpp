#include "viewer/panels/CQORBackgroundpanel.h"

#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;

void CQORBackgroundpanel::Layout()
{
    const float s = OnScreenDisplay::GetScale(), w = m_rect.Width(), h = m_rect.Height();
    Place(m_background, 0, 0, w, h);
    OnScreenDisplay::RectF logo{0, 0, 512 * s, 512 * s};
    OnScreenDisplay::CentreRect(logo, 0, 0, w, h);
    Place(m_makerLogo, logo);
}

void CQORBackgroundpanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::Linear, &f))
        return;
    DrawChild(m_background, f * alpha);
    DrawChild(m_makerLogo, f * alpha);
}

uint32_t CQORBackgroundpanel::GetTransitionTime(int state)
{
    return state == Showing || state == Hiding ? 300 : 1;
}
