#include "plintor/win/CSchedulerList.h"

#include <string>

#include "framework/win/CDC.h"
#include "plintor/NextRecording.h"
#include "plintor/RecordingEntry.h"
#include "plintor/win/PageFont.h"
#include "plintor/win/LoadUiString.h"
#include "plintor/win/LocalTime.h"
#include "resource.h"

using DVBPlaybackCore::CTask;

namespace {

CString DateText(const SYSTEMTIME& time)
{
    wchar_t text[100] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 100);
    return text;
}

CString TimeText(const SYSTEMTIME& time)
{
    wchar_t format[100] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, format, 100);
    const std::u16string shortened =
        plintor::TimeFormatWithoutSeconds(std::u16string(reinterpret_cast<const char16_t*>(format)));
    wchar_t text[100] = {};
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, reinterpret_cast<const wchar_t*>(shortened.c_str()), text, 100);
    return text;
}

} // namespace

CString CSchedulerList::NextRecordingText(const CTask& task, int64_t now)
{
    const plintor::CNextRecording next = plintor::NextRecording(task.GetTriggerType(), task.GetStart(),
                                                                task.GetDuration(), task.GetInterval(),
                                                                task.GetWeekDays(), now);
    const SYSTEMTIME start = LocalTimeOf(next.start);
    const SYSTEMTIME end = LocalTimeOf(next.end);
    const CString today = LoadUiString(IDS_TODAY);
    const CString tomorrow = LoadUiString(IDS_TOMORROW);
    CString text;
    switch (next.form) {
    case plintor::CNextRecording::kNever:
        return LoadUiString(IDS_NEVER);
    case plintor::CNextRecording::kToday:
        text.Format(L"%s %s - %s", today.GetString(), TimeText(start).GetString(), TimeText(end).GetString());
        break;
    case plintor::CNextRecording::kTodayUntilTomorrow:
        text.Format(L"%s %s - %s, %s", today.GetString(), TimeText(start).GetString(), tomorrow.GetString(),
                    TimeText(end).GetString());
        break;
    case plintor::CNextRecording::kTomorrow:
        text.Format(L"%s %s - %s", tomorrow.GetString(), TimeText(start).GetString(), TimeText(end).GetString());
        break;
    case plintor::CNextRecording::kTomorrowUntilLater:
        text.Format(L"%s %s - %s %s", tomorrow.GetString(), TimeText(start).GetString(), DateText(end).GetString(),
                    TimeText(end).GetString());
        break;
    case plintor::CNextRecording::kSameDay:
        text.Format(L"%s %s - %s", DateText(start).GetString(), TimeText(start).GetString(),
                    TimeText(end).GetString());
        break;
    case plintor::CNextRecording::kOtherDays:
        text.Format(L"%s %s - %s %s", DateText(start).GetString(), TimeText(start).GetString(),
                    DateText(end).GetString(), TimeText(end).GetString());
        break;
    }
    return text;
}

CString CSchedulerList::RepeatText(uint32_t kind)
{
    if (kind > CTask::kWeekly)
        return CString();
    std::wstring text = LoadUiString(IDS_ONCE + kind).GetString();
    if (!text.empty())
        ::CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return CString(text.c_str());
}

void CSchedulerList::Initialise()
{
    CreateTahoma(m_font, 9, FW_NORMAL, false);
    CreateTahoma(m_bold, 9, FW_BOLD, false);
    InsertColumn(kDescription, L"", LVCFMT_LEFT, 180);
    InsertColumn(kNextRecording, L"", LVCFMT_LEFT, 210);
    InsertColumn(kRepeat, L"", LVCFMT_LEFT, 70);
    SetHeadings();
}

void CSchedulerList::SetHeadings()
{
    for (int column = kDescription; column <= kRepeat; ++column)
        SetColumnText(column, LoadUiString(IDS_COLUMN_DESCRIPTION + column));
}

CString CSchedulerList::CellText(CScheduledRecording* record, int column) const
{
    switch (column) {
    case kDescription:
        return CString(reinterpret_cast<const wchar_t*>(record->task.GetComment().c_str()));
    case kNextRecording:
        return NextRecordingText(record->task, UtcNow());
    case kRepeat:
        return RepeatText(record->task.GetTriggerType());
    default:
        return CString();
    }
}

void CSchedulerList::AddRecord(CScheduledRecording* record)
{
    const int row = InsertItem(GetItemCount(), CellText(record, kDescription));
    SetItemData(row, reinterpret_cast<DWORD_PTR>(record));
    SetItemText(row, kNextRecording, CellText(record, kNextRecording));
    SetItemText(row, kRepeat, CellText(record, kRepeat));
}

void CSchedulerList::DrawItem(DRAWITEMSTRUCT* draw)
{
    if (draw->itemID == static_cast<UINT>(-1))
        return;
    const bool selected = (GetItemState(static_cast<int>(draw->itemID), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    CDC dc;
    dc.Attach(draw->hDC);
    dc.FillSolidRect(draw->rcItem, selected ? kSelectedColour : kRowColour);
    HGDIOBJ oldFont = dc.SelectObject(m_font);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(RGB(0, 0, 0));
    DrawColumns(draw);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}

void CSchedulerList::DrawSubItem(DRAWITEMSTRUCT* draw, int column, const RECT& cell)
{
    auto* record = reinterpret_cast<CScheduledRecording*>(GetItemData(static_cast<int>(draw->itemID)));
    if (!record)
        return;
    CDC dc;
    dc.Attach(draw->hDC);
    const CString text = CellText(record, column);
    const int top = cell.top + (cell.bottom - cell.top - dc.GetTextExtent(CString(L"H")).cy) / 2;
    dc.TextOut(column == kDescription ? draw->rcItem.left + 6 : cell.left + 3, top, text);
    dc.Detach();
}
