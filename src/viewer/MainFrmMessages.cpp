// The frame's own messages, its timers, the command line a second viewer or a scheduled job
// forwards (WM_COPYDATA) and the last channel kept across runs.
#include "viewer/MainFrm.h"

#include <ctime>
#include <vector>

#include "viewer/CommandLineBlock.h"
#include "viewer/KeyTables.h"
#include "viewer/WideText.h"

namespace {
constexpr wchar_t kLastChannelKey[] = L"Software\\Harvo\\Tolvik";
constexpr DWORD kNoDataAfter = 2000;
constexpr ULONG_PTR kCommandLineData = 0xFFFFFFFF;
} // namespace

BOOL CMainFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_HOTKEY:
        return CFrameWnd::OnWndMsg(message, wParam, lParam, result);
    case WM_INPUT:
        // Then on to the default procedure, which frees the input's data.
        OnRawInput(wParam, lParam, result);
        break;
    case WM_APPCOMMAND:
        // Every multimedia key counts as handled, so that the platform does not pass it on.
        OnAppCommand(static_cast<int>((static_cast<uint32_t>(lParam) >> 16) & 0x0FFF));
        *result = 0;
        return TRUE;
    case WM_QOR_FRAME_TIME:
        // The presented picture's time (90 kHz, low half in wParam) is the subtitle clock: the
        // display set due at it is drawn and handed to the display.
        if (m_engine)
            m_engine->DrawSubtitles(static_cast<uint64_t>(static_cast<uint32_t>(lParam)) << 32 |
                                    static_cast<uint32_t>(wParam));
        *result = 0;
        return TRUE;
    case WM_RENDER_FRAME_COUNTS:
        *result = m_renderThread ? m_renderThread->FrameCount(wParam) : 0;
        return TRUE;
    case WM_QOR_TUNE_NUMBER:
    case WM_QOR_LIST_SELECT:
        RunPendingInput();
        *result = 0;
        return TRUE;
    case WM_QOR_NEXT_SERVICE:
    case WM_QOR_PREVIOUS_SERVICE: {
        if (!m_engine)
            return FALSE;
        // The same sequence as every road that starts a channel.
        BeginTune();
        const HRESULT played = message == WM_QOR_NEXT_SERVICE ? m_engine->PlayNextService()
                                                              : m_engine->PlayPreviousService();
        *result = played;
        return played >= 0;
    }
    case WM_QOR_START_LAST_CHANNEL: {
        bool handled = false;
        const LRESULT played = StartLastChannel(handled);
        if (handled) {
            *result = played;
            return TRUE;
        }
        break;
    }
    case WM_QOR_POINTER:
        OnPointerMessage(wParam, lParam);
        *result = 0;
        return TRUE;
    case WM_QOR_ASPECT_CHANGED:
        OnAspectChanged();
        break;
    case WM_QOR_TELETEXT_PAGE:
        if (m_engine) {
            // The decoder was posted as a pointer; a channel switch may have freed it since. Only
            // the playing service's own decoder is used.
            CQORService* service = nullptr;
            m_engine->GetCurrentService(&service);
            auto* decoder = reinterpret_cast<libDVB::CTeletextDecoder*>(wParam);
            if (service && decoder == &service->GetTeletextDecoder())
                m_engine->OnTeletextPage(decoder, static_cast<uint32_t>(lParam), false, lParam == 0);
        }
        break;
    default:
        break;
    }
    return CFrameWnd::OnWndMsg(message, wParam, lParam, result);
}

LRESULT CMainFrame::StartLastChannel(bool& handled)
{
    handled = false;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kLastChannelKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD value = 0, index = 0, type = 0, size = sizeof(DWORD);
    const bool haveValue = ::RegQueryValueExW(key, L"LastActiveService", nullptr, &type,
                                              reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
                           type == REG_DWORD && size == sizeof(DWORD);
    size = sizeof(DWORD);
    const bool haveIndex = ::RegQueryValueExW(key, L"LastActiveServiceIndex", nullptr, &type,
                                              reinterpret_cast<BYTE*>(&index), &size) == ERROR_SUCCESS &&
                           type == REG_DWORD && size == sizeof(DWORD);
    ::RegCloseKey(key);
    // Favourite 1 and the channels played from the menus or the network keep number 0: the
    // service alone is enough to play them again.
    if (!haveValue || value == 0)
        return 0;
    handled = true;
    const int32_t number = haveIndex && index != 0 ? static_cast<int32_t>(index) : -1;
    return TuneStart(static_cast<uint16_t>(value & 0xFFFF), static_cast<uint16_t>(value >> 16), number);
}

void CMainFrame::SaveLastChannel()
{
    DWORD value = 0, index = 0;
    CQORService* service = nullptr;
    if (m_engine)
        m_engine->GetCurrentService(&service);
    if (service) {
        base::CScopedLock serviceLock(service->Lock());
        if (service->GetNotSaved() == 0) {
            value = static_cast<DWORD>(service->GetTransportStreamId()) << 16 | service->GetServiceId();
            index = static_cast<DWORD>(service->GetListPosition());
        }
    }
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kLastChannelKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key, L"LastActiveService", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegSetValueExW(key, L"LastActiveServiceIndex", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&index),
                     sizeof(index));
    ::RegCloseKey(key);
}

void CMainFrame::OnPointerMessage(WPARAM wParam, LPARAM lParam)
{
    if (!m_engine)
        return;
    const float x = static_cast<float>(static_cast<uint32_t>(wParam)) / 10000.0f;
    const float y = static_cast<float>(static_cast<int32_t>(lParam)) / 10000.0f;
    const bool overLink = m_engine->TeletextHitTest(x, y) >= 0;
    if (overLink && m_pointerOverLink != 1) {
        ::SetClassLongPtrW(m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(::LoadCursorW(nullptr, IDC_HAND)));
        m_pointerOverLink = 1;
    } else if (!overLink && m_pointerOverLink == 1) {
        ::SetClassLongPtrW(m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(::LoadCursorW(nullptr, IDC_ARROW)));
        m_pointerOverLink = 0;
    }
}

// Timers ----------------------------------------------------------------------------------------

void CMainFrame::OnTimer(UINT_PTR id)
{
    switch (id) {
    case TIMER_HIDE_CURSOR:
        KillTimer(TIMER_HIDE_CURSOR);
        HideCursor();
        break;
    case TIMER_GUIDE:
        if (m_engine) {
            int32_t row = 0;
            m_engine->UpdateEPGView(true, m_guideListKind, &row);
        }
        break;
    case TIMER_TELETEXT_CLOCK:
        OnTeletextClockTimer();
        break;
    case TIMER_POINTER_LEAVE: {
        CRect window;
        GetWindowRect(&window);
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (!window.PtInRect(cursor)) {
            base::CScopedLock ui(m_uiLock);
            m_display.OnMouseMove(0, window.Width() + 1, window.Height() / 2);
        }
        KillTimer(TIMER_POINTER_LEAVE);
        break;
    }
    case TIMER_RECORDING_END:
        OnRecordingEndTimer();
        break;
    case TIMER_NO_DATA:
        OnNoDataTimer();
        break;
    case TIMER_FIRST_SERVICE:
        OnFirstServiceTimer();
        break;
    default:
        break;
    }
}

void CMainFrame::OnNoDataTimer()
{
    if (!m_liveFlag)
        return; // timeshift plays from the buffer
    const bool noData = viewer::NoDataFor(::GetTickCount(), m_relay->LastPacketTick(), kNoDataAfter);
    base::CScopedLock ui(m_uiLock);
    m_display.SetNoDataIcon(noData);
}

void CMainFrame::OnTeletextClockTimer()
{
    const __time64_t now = _time64(nullptr);
    tm local{};
    if (_localtime64_s(&local, &now) != 0)
        return;
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(local.tm_year + 1900);
    time.wMonth = static_cast<WORD>(local.tm_mon + 1);
    time.wDay = static_cast<WORD>(local.tm_mday);
    time.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time.wHour = static_cast<WORD>(local.tm_hour);
    time.wMinute = static_cast<WORD>(local.tm_min);
    time.wSecond = static_cast<WORD>(local.tm_sec);
    wchar_t date[100] = {}, clock[20] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 100);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 20);
    const CString text = CString(date) + L" " + clock;
    base::CScopedLock ui(m_uiLock);
    m_display.SetTeletextClock(text);
}

void CMainFrame::OnRecordingEndTimer()
{
    m_relay->StopRecorder();
    KillTimer(TIMER_RECORDING_END);
    if (m_closeAfterRecording)
        PostMessage(WM_CLOSE);
}

// Command line ----------------------------------------------------------------------------------

BOOL CMainFrame::OnCopyData(CWnd*, COPYDATASTRUCT* data)
{
    // -1 as the sender writes it: a 64-bit sender fills all 64 bits, a 32-bit one the low 32.
    if (!data || static_cast<uint32_t>(data->dwData) != kCommandLineData || !data->lpData)
        return FALSE;
    const std::vector<std::u16string> arguments =
        viewer::UnpackArguments(static_cast<const char16_t*>(data->lpData), data->cbData / sizeof(char16_t));
    if (arguments.empty())
        return FALSE;
    // Only a scheduled recording is forwarded: any other command line, or "/rec" without its four
    // values, is taken and left alone (media files open from the File menu).
    viewer::RecordCommand command;
    if (!viewer::ParseRecordCommand(arguments, command))
        return TRUE;
    // The running recording ends first: toggling would stop it and lose the scheduled one.
    m_relay->StopRecorder();
    m_closeAfterRecording = command.closeAfter ? 1 : 0;
    m_recordFilePath = viewer::ToCString(command.path);
    TuneStart(command.serviceId, command.transportStreamId, -1);
    ToggleRecording();
    SetTimer(TIMER_RECORDING_END, command.minutes * 60000u);
    return TRUE;
}
