#include "plintor/win/CSourceTypeList.h"

#include "framework/win/CDC.h"
#include "plintor/win/AlphaIcon.h"
#include "plintor/win/PageFont.h"
#include "resource.h"

void CSourceTypeList::Initialise(const std::vector<CSourceTypeItem>* items)
{
    m_items = items;
    CreateBoldTahoma(m_titleFont, 10, DEFAULT_QUALITY);
    HDC screen = ::CreateCompatibleDC(nullptr);
    const int height = -MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::DeleteDC(screen);
    m_textFont.CreateFont(height, FW_NORMAL, DEFAULT_CHARSET, DEFAULT_QUALITY, VARIABLE_PITCH, L"Tahoma");
    m_separator.bitmap.LoadDIBSection(IDB_ROW_SEPARATOR);
    m_notAvailable.bitmap.LoadDIBSection(IDB_NOT_AVAILABLE);
}

void CSourceTypeList::CImage::Draw(HDC dc, int x, int y) const { DrawRowImage(dc, x, y, bitmap, transparent); }

void CSourceTypeList::DrawItem(DRAWITEMSTRUCT* draw)
{
    const int row = static_cast<int>(draw->itemID);
    if (row < 0 || !m_items)
        return;
    const size_t index = GetItemData(row);
    if (index >= m_items->size())
        return;
    const CSourceTypeItem& item = (*m_items)[index];
    if (m_pictures.size() < m_items->size())
        m_pictures.resize(m_items->size());
    if (item.picture && !m_pictures[index]) {
        m_pictures[index] = std::make_unique<CImage>();
        m_pictures[index]->bitmap.LoadDIBSection(item.picture);
    }
    CDC dc;
    dc.Attach(draw->hDC);
    const RECT& area = draw->rcItem;
    const bool selected = (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    dc.FillSolidRect(area, selected ? RGB(166, 203, 240) : RGB(255, 255, 255));
    if (m_pictures[index])
        m_pictures[index]->Draw(dc, area.left + 4, area.top + 4);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(RGB(0, 0, 0));
    HGDIOBJ oldFont = dc.SelectObject(m_titleFont);
    dc.TextOut(area.left + 44, area.top + 4, item.title);
    dc.SelectObject(m_textFont);
    dc.TextOut(area.left + 44, area.top + 22, item.description);
    dc.SelectObject(oldFont);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    if (!item.available)
        m_notAvailable.Draw(dc, area.right - 32, area.top + 4);
    if (!selected && row + 1 < GetItemCount())
        m_separator.Draw(dc, area.left, area.bottom - 2);
}
