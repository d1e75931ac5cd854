#include "plintor/win/CChannelList.h"

#include "framework/win/CDC.h"
#include "plintor/win/PageFont.h"
#include "plintor/win/ChannelLogo.h"
#include "plintor/win/LoadUiString.h"
#include "resource.h"

using DVBPlaybackCore::CQORService;

namespace {

const int kMarkSize = 13;

int CentredTop(CDC& dc, const RECT& cell, const CString& text)
{
    return cell.top + (cell.bottom - cell.top - dc.GetTextExtent(text).cy) / 2;
}

} // namespace

void CChannelList::Initialise()
{
    CreateTahoma(m_font, 9, FW_NORMAL, false);
    CreateTahoma(m_bold, 10, FW_BOLD, false);
    m_marks.LoadDIBSection(IDB_FAVOURITE_MARKS);
    InsertColumn(kNumber, L"#", LVCFMT_LEFT, 38);
    InsertColumn(kName, L"", LVCFMT_LEFT, 231);
    InsertColumn(kCapabilities, L"", LVCFMT_LEFT, 128);
    InsertColumn(kFavourite, L"", LVCFMT_LEFT, 67);
    SetHeadings();
}

void CChannelList::SetHeadings()
{
    for (int column = kName; column <= kFavourite; ++column)
        SetColumnText(column, LoadUiString(IDS_COLUMN_CHANNEL + column - kName));
}

void CChannelList::DrawItem(DRAWITEMSTRUCT* draw)
{
    if (draw->itemID == static_cast<UINT>(-1))
        return;
    auto* channel = reinterpret_cast<CQORService*>(GetItemData(static_cast<int>(draw->itemID)));
    const bool selected = (GetItemState(static_cast<int>(draw->itemID), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    m_background = selected ? kSelectedColour : channel && channel->GetNew() ? kNewColour : kRowColour;
    CDC dc;
    dc.Attach(draw->hDC);
    dc.FillSolidRect(draw->rcItem, m_background);
    if (!channel)
        return;
    HGDIOBJ oldFont = dc.SelectObject(m_font);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(channel->IsScrambled() ? kScrambledColour : RGB(0, 0, 0));
    DrawColumns(draw);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}

void CChannelList::DrawSubItem(DRAWITEMSTRUCT* draw, int column, const RECT& cell)
{
    auto* channel = reinterpret_cast<CQORService*>(GetItemData(static_cast<int>(draw->itemID)));
    CDC dc;
    dc.Attach(draw->hDC);
    switch (column) {
    case kNumber: {
        CString number;
        number.Format(L"%d", (m_radio ? 5000 : 1000) + channel->GetChannelNumber());
        dc.TextOut(cell.left + 5, CentredTop(dc, cell, number), number);
        break;
    }
    case kName: {
        const std::u16string name = channel->GetName();
        CString text(reinterpret_cast<const wchar_t*>(name.c_str()));
        dc.TextOut(cell.left + 3, CentredTop(dc, cell, text), text);
        DrawChannelLogo(dc, channel, cell, m_background);
        break;
    }
    case kCapabilities: {
        const int step = dc.GetTextExtent(CString(L"HHHH")).cx;
        const bool flags[4] = {channel->HasEPG() != 0, channel->HasTeletext() != 0, channel->HasSubtitles() != 0,
                               channel->HasSeveralAudioStreams() != 0};
        const wchar_t* marks[4] = {L"EPG", L"TXT", L"SUB", L"LNG"};
        const COLORREF oldColour = dc.SetTextColor(RGB(255, 255, 255));
        const COLORREF oldBack = ::SetBkColor(dc, kMarkColour);
        const int oldMode = dc.SetBkMode(OPAQUE);
        for (int k = 0; k < 4; ++k) {
            if (flags[k])
                dc.TextOut(cell.left + 4 + k * step, CentredTop(dc, cell, CString(marks[k])), CString(marks[k]));
        }
        dc.SetBkMode(oldMode);
        ::SetBkColor(dc, oldBack);
        dc.SetTextColor(oldColour);
        break;
    }
    case kFavourite: {
        CDC marks;
        if (!m_marks.m_hObject || !marks.CreateCompatibleDC(&dc))
            break;
        HGDIOBJ old = marks.SelectObject(m_marks);
        const int frame = channel->GetFavouriteNumber() >= 0 ? 0 : 1;
        dc.BitBlt(cell.left + (cell.right - cell.left - kMarkSize) / 2, cell.top + (cell.bottom - cell.top - kMarkSize) / 2,
                  kMarkSize, kMarkSize, &marks, frame * kMarkSize, 0, SRCCOPY);
        marks.SelectObject(old);
        break;
    }
    default:
        break;
    }
    dc.Detach();
}
