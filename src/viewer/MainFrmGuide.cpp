// The guide's date and time texts in the user's locale, and its time scale header.
#include "viewer/MainFrm.h"

#include <ctime>

#include "viewer/GuideHeader.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/WideText.h"
#include "viewer/osd/Header.h"

namespace {
// The local calendar time of a time_t value; false when the C library cannot convert it.
bool LocalSystemTime(int64_t time, SYSTEMTIME& local)
{
    const __time64_t value = time;
    tm parts{};
    if (_localtime64_s(&parts, &value) != 0)
        return false;
    local = SYSTEMTIME{};
    local.wYear = static_cast<WORD>(parts.tm_year + 1900);
    local.wMonth = static_cast<WORD>(parts.tm_mon + 1);
    local.wDayOfWeek = static_cast<WORD>(parts.tm_wday);
    local.wDay = static_cast<WORD>(parts.tm_mday);
    local.wHour = static_cast<WORD>(parts.tm_hour);
    local.wMinute = static_cast<WORD>(parts.tm_min);
    local.wSecond = static_cast<WORD>(parts.tm_sec);
    return true;
}
} // namespace

CString CMainFrame::DateText(int64_t time, bool longFormat)
{
    SYSTEMTIME local;
    wchar_t text[100] = {};
    if (!LocalSystemTime(time, local) ||
        ::GetDateFormatW(LOCALE_USER_DEFAULT, longFormat ? DATE_LONGDATE : DATE_SHORTDATE, &local, nullptr, text,
                         100) == 0)
        return CString();
    return CString(text);
}

CString CMainFrame::TimeText(int64_t time, bool withSeconds)
{
    SYSTEMTIME local;
    wchar_t text[20] = {};
    if (!LocalSystemTime(time, local) ||
        ::GetTimeFormatW(LOCALE_USER_DEFAULT, withSeconds ? 0 : TIME_NOSECONDS, &local, nullptr, text, 20) == 0)
        return CString();
    return CString(text);
}

int CMainFrame::WeekdayNumber(int64_t time)
{
    SYSTEMTIME local;
    return LocalSystemTime(time, local) ? local.wDayOfWeek + 1 : 0;
}

void CMainFrame::FillGuideHeader(OnScreenDisplay::Header& header, int64_t gridStart, int64_t columnSpan)
{
    viewer::GuideHeaderTexts texts;
    texts.weekdayName = [](int weekday) { return viewer::ToU16(LoadLocalizedString(kFirstWeekdayString - 1 + weekday)); };
    texts.weekdayNumber = &CMainFrame::WeekdayNumber;
    texts.shortDate = [](int64_t time) { return viewer::ToU16(static_cast<const wchar_t*>(DateText(time, false))); };
    texts.timeWithoutSeconds = [](int64_t time) { return viewer::ToU16(static_cast<const wchar_t*>(TimeText(time, false))); };
    base::CScopedLock ui(m_uiLock);
    header.ClearItems();
    for (const viewer::GuideHeaderItem& item : viewer::GuideHeaderItems(gridStart, columnSpan, texts))
        header.AddItem(item.text, item.width);
}
