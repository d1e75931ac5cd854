#include "viewer/panels/CQORListHeaderPanel.h"

#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;

void CQORListHeaderPanel::PlaceBar(float w, OnScreenDisplay::Control* background, OnScreenDisplay::Control* close,
                                   OnScreenDisplay::Control* tabs)
{
    const float s = OnScreenDisplay::GetScale();
    Place(background, 0, 0, w, 32 * s);
    Place(close, w - 26 * s, 4 * s, w - 26 * s + 20 * s, 4 * s + 20 * s);
    Place(tabs, 6 * s, 6.5f * s, w - 26 * s, 28.5f * s);
}

void CQORListHeaderPanel::Layout()
{
    PlaceBar(m_rect.Width(), m_background, m_close, m_tabs);
}

void CQORListHeaderPanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::EasedBoth, &f))
        return;
    DrawChild(m_background, f * alpha);
    DrawChild(m_close, f * alpha);
    DrawChild(m_tabs, f * alpha);
}

uint32_t CQORListHeaderPanel::GetTransitionTime(int state)
{
    return state == Showing || state == Hiding ? 150 : 1;
}
