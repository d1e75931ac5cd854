#include "viewer/panels/CQORSwitcherPanel.h"

#include "viewer/panels/CQORListPanel.h"

void CQORSwitcherPanel::Layout()
{
    Panels::PlaceListScreen(m_rect, m_background, m_header, m_list);
}

void CQORSwitcherPanel::Render(float alpha)
{
    Panels::RenderListScreen(*this, m_background, m_header, m_list, Panels::Motion::None, alpha);
}
