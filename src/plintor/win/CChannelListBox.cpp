#include "plintor/win/CChannelListBox.h"

#include "dvb/DVBPlaybackCore/CQORService.h"
#include "framework/win/CDC.h"
#include "plintor/win/PageFont.h"
#include "plintor/win/ChannelLogo.h"

using DVBPlaybackCore::CQORService;

void CChannelListBox::Initialise()
{
    CreateTahoma(m_font, 9, FW_NORMAL, false);
    CreateTahoma(m_bold, 9, FW_BOLD, false);
    InsertColumn(0, L"", LVCFMT_LEFT, 464);
}

void CChannelListBox::DrawItem(DRAWITEMSTRUCT* draw)
{
    if (draw->itemID == static_cast<UINT>(-1))
        return;
    auto* channel = reinterpret_cast<CQORService*>(GetItemData(static_cast<int>(draw->itemID)));
    const bool selected = (GetItemState(static_cast<int>(draw->itemID), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const COLORREF background = selected ? kSelectedColour : kRowColour;
    CDC dc;
    dc.Attach(draw->hDC);
    RECT row = draw->rcItem;
    dc.FillSolidRect(row, background);
    RECT strip = row;
    strip.right = strip.left + kStripWidth;
    dc.FillSolidRect(strip, kStripColour);
    if (!channel)
        return;
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(RGB(0, 0, 0));
    HGDIOBJ oldFont = dc.SelectObject(m_bold);
    CString number;
    number.Format(L"%d.", channel->GetFavouriteNumber() + 1);
    const CSize numberSize = dc.GetTextExtent(number);
    dc.TextOut(row.left + 4, row.top + (row.bottom - row.top - numberSize.cy) / 2, number);
    dc.SelectObject(m_font);
    const std::u16string name = channel->GetName();
    CString text(reinterpret_cast<const wchar_t*>(name.c_str()));
    dc.TextOut(row.left + 4 + numberSize.cx + 6, row.top + (row.bottom - row.top - dc.GetTextExtent(text).cy) / 2, text);
    RECT cell = row;
    if (GetColumnCount() > 0)
        GetSubItemRect(static_cast<int>(draw->itemID), 0, LVIR_BOUNDS, &cell);
    DrawChannelLogo(dc, channel, cell, background);
    dc.SelectObject(oldFont);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
}
