#include "plintor/win/CPagesList.h"

#include "framework/win/CDC.h"
#include "plintor/win/AlphaIcon.h"
#include "plintor/win/CConfigPageItem.h"
#include "plintor/win/CPagesListCallback.h"
#include "plintor/win/PageFont.h"

BEGIN_MESSAGE_MAP(CPagesList, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
END_MESSAGE_MAP()

void CPagesList::Initialise(CConfigPages*, CPagesListCallback* callback)
{
    m_callback = callback;
    CreateBoldTahoma(m_font, 8, DEFAULT_QUALITY);
}

void CPagesList::DrawItem(DRAWITEMSTRUCT* draw)
{
    if (draw->itemID == static_cast<UINT>(-1))
        return;
    CDC dc;
    dc.Attach(draw->hDC);
    const RECT& row = draw->rcItem;
    const bool selected = (GetItemState(static_cast<int>(draw->itemID), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    dc.FillSolidRect(row, selected ? kSelectedColour : kRowColour);
    auto* item = reinterpret_cast<CConfigPageItem*>(GetItemData(static_cast<int>(draw->itemID)));
    if (!item)
        return;
    DrawPageIcon(dc, row.left + 2, row.top + 2, item->m_icon);
    HGDIOBJ oldFont = dc.SelectObject(m_font.m_hObject ? static_cast<HGDIOBJ>(m_font) : GetStockObject(DEFAULT_GUI_FONT));
    int oldMode = dc.SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc.SetTextColor(RGB(0, 0, 0));
    const int letter = dc.GetTextExtent(CString(L"H")).cy;
    dc.TextOut(row.left + 40, row.top + (row.bottom - row.top - letter) / 2, item->m_title);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}

void CPagesList::OnItemChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    int selection = GetNextItem(-1, LVNI_SELECTED);
    if (selection != m_lastSelection) {
        m_lastSelection = selection;
        if (m_callback)
            m_callback->OnPageSelected(selection);
    }
}
