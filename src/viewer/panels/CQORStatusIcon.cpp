#include "viewer/panels/CQORStatusIcon.h"

#include "viewer/panels/PanelDrawing.h"

using namespace Panels;

void CQORStatusIcon::Layout()
{
    Place(m_icon, 0, 0, m_rect.Width(), m_rect.Height());
}

void CQORStatusIcon::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::Linear, &f))
        return;
    DrawChild(m_icon, f * alpha);
}

uint32_t CQORStatusIcon::GetTransitionTime(int state)
{
    return state == Showing || state == Hiding ? 300 : 1;
}
