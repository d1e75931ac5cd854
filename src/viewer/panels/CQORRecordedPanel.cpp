#include "viewer/panels/CQORRecordedPanel.h"

#include "viewer/panels/CQORListPanel.h"

void CQORRecordedPanel::Layout()
{
    Panels::PlaceColumnList(m_rect, m_background, m_header, m_list);
}

void CQORRecordedPanel::Render(float alpha)
{
    Panels::RenderListScreen(*this, m_background, m_header, m_list, Panels::Motion::None, alpha);
}
