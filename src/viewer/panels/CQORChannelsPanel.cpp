#include "viewer/panels/CQORChannelsPanel.h"

#include "viewer/panels/CQORListPanel.h"

void CQORChannelsPanel::Layout()
{
    Panels::PlaceColumnList(m_rect, m_background, m_header, m_list);
}

void CQORChannelsPanel::Render(float alpha)
{
    Panels::RenderListScreen(*this, m_background, m_header, m_list, Panels::Motion::FromRight, alpha);
}
