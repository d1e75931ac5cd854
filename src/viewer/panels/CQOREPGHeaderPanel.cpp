#include "viewer/panels/CQOREPGHeaderPanel.h"

#include "viewer/osd/Scale.h"
#include "viewer/panels/CQORListHeaderPanel.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;

void CQOREPGHeaderPanel::Layout()
{
    const float s = OnScreenDisplay::GetScale(), w = m_rect.Width();
    Place(m_timeScale, 0, 29 * s, w, 57 * s);
    CQORListHeaderPanel::PlaceBar(w, m_background, m_close, m_tabs);
}

void CQOREPGHeaderPanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::EasedBoth, &f))
        return;
    DrawChild(m_timeScale, f * alpha);
    DrawChild(m_background, f * alpha);
    DrawChild(m_close, f * alpha);
    DrawChild(m_tabs, f * alpha);
}

uint32_t CQOREPGHeaderPanel::GetTransitionTime(int state)
{
    return state == Showing || state == Hiding ? 150 : 1;
}
