#include "viewer/panels/CQORTeletextPanel.h"

#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;
using OnScreenDisplay::Control;

void CQORTeletextPanel::Layout()
{
    const float s = OnScreenDisplay::GetScale(), w = m_rect.Width(), h = m_rect.Height();
    const OnScreenDisplay::RectF page = OnScreenDisplay::FitRectToAspect(0, 30 * s, w, h, true, m_pageAspect);
    const float x = (w - page.Width()) / 2, r = x + page.Width();
    Place(m_page, page);
    Place(m_header, x, 0, r, 32 * s);
    Place(m_pageNumber, x + 8 * s, 1 * s, x + 72 * s, 27 * s);
    Place(m_firstBlock, x + 74 * s, 0, x + 204 * s, 32 * s);
    Place(m_back, x + 76 * s, 4 * s, x + 117 * s, 24 * s);
    Place(m_firstSeparator, x + 117 * s, 0, x + 120 * s, 32 * s);
    Place(m_previous, x + 120 * s, 4 * s, x + 158 * s, 24 * s);
    Place(m_secondSeparator, x + 158 * s, 0, x + 161 * s, 32 * s);
    Place(m_next, x + 161 * s, 4 * s, x + 202 * s, 24 * s);
    Place(m_secondBlock, r - 326 * s, 0, r - 56 * s, 32 * s);
    Place(m_clock, r - 326 * s, 3 * s, r - 56 * s, 25 * s);
    if (m_page)
        Place(m_close, r - 26 * s, 4 * s, r - 26 * s + 20 * s, 4 * s + 20 * s);
}

void CQORTeletextPanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::EasedBoth, &f))
        return;
    OnScreenDisplay::Control* const order[] = {
        m_header, m_firstBlock, m_back, m_previous, m_next, m_firstSeparator,
        m_secondSeparator, m_secondBlock, m_pageNumber, m_clock, m_page, m_close};
    for (OnScreenDisplay::Control* child : order)
        DrawChild(child, f * alpha);
}
