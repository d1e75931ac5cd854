#include "plintor/win/CChannels.h"

#include "dvb/DVBPlaybackCore/CQORService.h"
#include "framework/win/CDC.h"
#include "plintor/win/AlphaIcon.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CChannels, CListCtrl)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
END_MESSAGE_MAP()

void CChannels::Initialise() { m_check.LoadDIBSection(IDB_CHANNEL_CHECK); }

void CChannels::DrawItem(DRAWITEMSTRUCT* draw)
{
    const int row = static_cast<int>(draw->itemID);
    if (row < 0)
        return;
    auto* record = reinterpret_cast<DVBPlaybackCore::CQORService*>(GetItemData(row));
    CDC dc;
    dc.Attach(draw->hDC);
    const RECT& area = draw->rcItem;
    const bool selected = (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    dc.FillSolidRect(area, selected ? RGB(166, 203, 240) : RGB(255, 255, 255));
    if (!record)
        return;
    const int middle = (area.top + area.bottom) / 2;
    if (record->GetServiceType() != 0 && m_check) {
        // The left half of the bitmap is the ticked box, the right half the empty one.
        HDC source = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(source, m_check);
        ::BitBlt(dc, area.left + 8, middle - 6, 13, 13, source, IsTicked(row) ? 0 : 13, 0, SRCCOPY);
        ::SelectObject(source, old);
        ::DeleteDC(source);
    }
    const std::u16string name = record->GetName();
    const CString text(reinterpret_cast<const wchar_t*>(name.c_str()));
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(record->IsScrambled() ? RGB(192, 0, 0) : RGB(0, 0, 0));
    HGDIOBJ oldFont = dc.SelectObject(GetFont());
    const int letter = dc.GetTextExtent(CString(L"H")).cy;
    dc.TextOut(area.left + 29, middle - letter / 2, text);
    dc.SelectObject(oldFont);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
}

void CChannels::OnClick(NMHDR* header, LRESULT* result)
{
    auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
    *result = 0;
    // The box spans x = 9 .. 20 of the row.
    if (click->iItem < 0 || click->ptAction.x < 9 || click->ptAction.x > 20)
        return;
    SetTicked(click->iItem, !IsTicked(click->iItem));
}
