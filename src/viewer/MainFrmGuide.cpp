// The guide's actions (playing a row's channel, the event's context menu with its scheduled
// recordings), its date and time texts in the user's locale, and its time scale header.
#include "viewer/MainFrm.h"

#include <ctime>

#include "dvb/DVBPlaybackCore/GuideRecording.h"
#include "dvb/DVBPlaybackCore/JobName.h"
#include "viewer/GuideHeader.h"
#include "viewer/ViewerGlobals.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/WideText.h"
#include "viewer/osd/Header.h"
#include "viewer/panels/CQOREPGHeaderPanel.h"
#include "viewer/panels/CQOREPGPanel.h"

namespace {
constexpr UINT kSwitchToChannel = 230;
constexpr UINT kRecordOnce = 231;
constexpr UINT kRecordDaily = 232;
constexpr UINT kRecordWeekly = 233;
constexpr UINT kEventGone = 234;
constexpr UINT kScheduleFailed = 235;
constexpr UINT kWindowTitle = 200;

// The menu's commands.
enum : UINT { kMenuSwitch = 1, kMenuOnce = 2, kMenuDaily = 3, kMenuWeekly = 4 };

// Schedules the event's recording under a name no job has: 1 when there is no event to schedule,
// E_INVALIDARG for an event no job can record.
HRESULT ScheduleRecording(const libDVB::CEITEvent* event, uint32_t triggerType)
{
    if (!event)
        return 1;
    DVBPlaybackCore::CTask task;
    const HRESULT composed =
        DVBPlaybackCore::ComposeGuideRecording(*event, triggerType, viewer::ToU16(g_appFolder.GetString()), &task);
    if (FAILED(composed))
        return composed;
    task.SetTaskName(DVBPlaybackCore::FreeJobNameWhere(::GetTickCount(), &DVBPlaybackCore::CTask::JobExists));
    return task.Save();
}

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

void CMainFrame::UpdateGuideHeader()
{
    base::CScopedLock ui(m_uiLock);
    CQOREPGPanel* guide = m_display.GetGuide();
    if (guide && guide->m_header && guide->m_header->m_timeScale)
        FillGuideHeader(*guide->m_header->m_timeScale, m_epg.m_gridStart, m_epg.m_columnSpan);
}

// Guide actions ---------------------------------------------------------------------------------

void CMainFrame::OnOsdGuideClick(int, uint32_t keyLow, uint32_t keyHigh)
{
    PostMessage(WM_QOR_GUIDE_CLICK, static_cast<WPARAM>(keyHigh) << 32 | keyLow, 0);
}

void CMainFrame::OnOsdGuideMenu(int guide, uint32_t eventKeyLow, uint32_t eventKeyHigh, uint32_t channelKeyLow,
                                uint32_t channelKeyHigh, uint32_t flags, bool running, bool past)
{
    if (flags != MK_RBUTTON)
        return;
    m_guideMenuRequest = {guide, eventKeyLow, eventKeyHigh, channelKeyLow, channelKeyHigh, flags, running, past};
    PostMessage(WM_QOR_GUIDE_MENU);
}

LRESULT CMainFrame::OnGuideClickMessage(WPARAM channelKey, LPARAM)
{
    PlayChannelByKey(0, static_cast<uint32_t>(channelKey), static_cast<uint32_t>(static_cast<uint64_t>(channelKey) >> 32));
    return 0;
}

LRESULT CMainFrame::OnGuideMenuMessage(WPARAM, LPARAM)
{
    const GuideMenuRequest r = m_guideMenuRequest;
    ShowGuideMenu(r.controlId, r.eventKeyLow, r.eventKeyHigh, r.channelKeyLow, r.channelKeyHigh, r.mouseFlags,
                  r.running, r.past);
    return 0;
}

void CMainFrame::PlayChannelByKey(int, uint32_t keyLow, uint32_t keyHigh)
{
    // The key: service_id in bits 48-63, transport_stream_id in 32-47, the row's list position in
    // 16-31; the network rows carry none (0), and such a channel steps in its own TV or radio list.
    const auto position = static_cast<int32_t>(keyLow >> 16);
    TuneStart(static_cast<uint16_t>(keyHigh >> 16), static_cast<uint16_t>(keyHigh), position > 0 ? position : -1);
}

void CMainFrame::ShowGuideMenu(int controlId, uint32_t eventKeyLow, uint32_t eventKeyHigh, uint32_t channelKeyLow,
                               uint32_t channelKeyHigh, uint32_t mouseFlags, bool, bool past)
{
    if (mouseFlags != MK_RBUTTON || !m_engine)
        return;
    // The engine may have dropped the event since the grid was filled: then only the channel remains.
    libDVB::CEITEvent event;
    const bool haveEvent = m_engine->GetEvent(eventKeyLow, eventKeyHigh, &event) == S_OK;

    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return;
    ::AppendMenuW(menu, MF_STRING, kMenuSwitch, LoadLocalizedString(kSwitchToChannel).c_str());
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING | (past ? MF_GRAYED : 0), kMenuOnce, LoadLocalizedString(kRecordOnce).c_str());
    ::AppendMenuW(menu, MF_STRING, kMenuDaily, LoadLocalizedString(kRecordDaily).c_str());
    ::AppendMenuW(menu, MF_STRING, kMenuWeekly, LoadLocalizedString(kRecordWeekly).c_str());
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const UINT choice = TrackGuideMenu(menu, cursor);
    ::DestroyMenu(menu);

    switch (choice) {
    case 0: {
        // The menu took the mouse: the hover state follows where the pointer is now.
        POINT client = cursor;
        ::ScreenToClient(m_hWnd, &client);
        OnMouseMove(0, CPoint(client.x, client.y));
        break;
    }
    case kMenuSwitch:
        PlayChannelByKey(controlId, channelKeyLow, channelKeyHigh);
        break;
    case kMenuOnce:
    case kMenuDaily:
    case kMenuWeekly: {
        const uint32_t trigger = choice == kMenuOnce    ? DVBPlaybackCore::CTask::kOnce
                                 : choice == kMenuDaily ? DVBPlaybackCore::CTask::kDaily
                                                        : DVBPlaybackCore::CTask::kWeekly;
        const HRESULT scheduled = ScheduleRecording(haveEvent ? &event : nullptr, trigger);
        if (scheduled != S_OK)
            ShowGuideFailure(CString(LoadLocalizedString(scheduled == 1 ? kEventGone : kScheduleFailed).c_str()));
        break;
    }
    default:
        break;
    }
}

UINT CMainFrame::TrackGuideMenu(HMENU menu, POINT screen)
{
    return static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, screen.x, screen.y, 0, m_hWnd, nullptr));
}

void CMainFrame::ShowGuideFailure(const CString& text)
{
    ::MessageBoxW(m_hWnd, text, LoadLocalizedString(kWindowTitle).c_str(), MB_OK | MB_ICONERROR);
}
