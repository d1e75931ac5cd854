// The dispatcher: every OSD button, tab, key and remote command ends here as one command id.
#include "viewer/MainFrm.h"

#include <ctime>

#include "viewer/CommandIds.h"
#include "viewer/CommandRules.h"
#include "viewer/WideText.h"
#include "viewer/panels/CQOREPGPanel.h"

using namespace viewer;

namespace {
constexpr UINT kTeletextClockPeriod = 450;
constexpr UINT kGuideRefreshPeriod = 5;
constexpr int64_t kHalfHour = 1800;

Command KindCommand(const Command (&commands)[4], int kind)
{
    return commands[kind >= KindFavourites && kind <= KindNetwork ? kind : KindFavourites];
}
} // namespace

void CMainFrame::ChangeVolume(int delta)
{
    m_volume = SteppedVolume(m_volume, delta);
    if (!m_muted) {
        m_relay->FileSetVolume(m_volume);
        m_relay->LiveSetVolume(m_volume);
    }
    base::CScopedLock ui(m_uiLock);
    m_display.SetVolume(m_volume);
    m_display.ShowVolume(true);
}

void CMainFrame::ToggleMute()
{
    const int volume = m_muted ? m_volume : 0;
    m_relay->FileSetVolume(volume);
    m_relay->LiveSetVolume(volume);
    m_muted = m_muted ? 0 : 1;
    base::CScopedLock ui(m_uiLock);
    m_display.SetMutedIcon(m_muted != 0);
}

void CMainFrame::PlayPause()
{
    if (m_mode == ModeFile) {
        m_relay->FileTogglePause();
        const bool running = m_relay->FileIsRunning();
        base::CScopedLock ui(m_uiLock);
        m_display.SetControlButton(1, CmdPlayPause, running ? L"pause_button" : L"play_button", true);
        return;
    }
    if (m_mode != ModeLive || !m_engine)
        return;
    uint8_t first = 0, second = 0;
    if (m_engine->GetTimeshiftState(&first, &second) != S_OK)
        return;
    // The engine calls run outside the frame locks: the engine calls back into the frame.
    const TimeshiftCall call = TimeshiftCallFor(first != 0, second != 0);
    bool stopped = false;
    if (call == TimeshiftCall::Start) {
        m_engine->StartTimeshift();
    } else if (call == TimeshiftCall::StopToLive) {
        bool flag = true;
        m_engine->StopTimeshift(&flag);
    } else if (call == TimeshiftCall::Stop) {
        bool flag = false;
        m_engine->StopTimeshift(&flag);
        stopped = flag;
    }
    TimeshiftView view{};
    if (!TimeshiftViewAfter(call, stopped, view))
        return;
    base::CScopedLock ui(m_uiLock);
    m_display.SetRecordIcon(view.recordIcon);
    m_display.SetControlButton(1, CmdPlayPause, ToCString(view.button), true);
}

void CMainFrame::SetGuideKind(int kind)
{
    m_guideListKind = static_cast<BYTE>(kind);
    int32_t row = 0;
    if (m_engine)
        m_engine->UpdateEPGView(false, kind, &row);
    base::CScopedLock ui(m_uiLock);
    m_display.SetGuideTab(kind);
    m_epg.m_selectedRow = row < 0 ? 0 : row;
    RefreshGuide();
}

void CMainFrame::ScrollGuideRows(int delta)
{
    {
        base::CScopedLock ui(m_uiLock);
        CQOREPGPanel* guide = m_display.GetGuide();
        if (guide && guide->m_guide)
            guide->m_guide->OnMouseWheel(0, delta, 0, 0);
    }
    RefreshGuide();
}

void CMainFrame::StampGuideNow()
{
    if (CQOREPGPanel* guide = m_display.GetGuide())
        guide->StampNow();
}

void CMainFrame::VolumeUp()
{
    if (m_muted)
        ToggleMute(); // the first step up brings the sound back at the volume it had
    else
        ChangeVolume(5);
}

void CMainFrame::ToggleMenu()
{
    base::CScopedLock ui(m_uiLock);
    m_display.ShowMenu(!m_display.IsMenuShown());
}

void CMainFrame::HideView(CQORDisplay::View view)
{
    base::CScopedLock ui(m_uiLock);
    m_display.ShowView(view, false);
}

void CMainFrame::ToggleTeletextView()
{
    {
        base::CScopedLock ui(m_uiLock);
        m_display.ToggleOnly(CQORDisplay::View::Teletext);
    }
    SetTimer(TIMER_TELETEXT_CLOCK, kTeletextClockPeriod);
    OnTeletextClockTimer();
    if (m_engine)
        m_engine->ShowTeletext(true, 0, false);
}

void CMainFrame::ToggleChannelListView()
{
    {
        base::CScopedLock ui(m_uiLock);
        m_display.ToggleOnly(CQORDisplay::View::ChannelList);
    }
    // The fill reads the engine's lists: after the OSD's lock, as the lock order wants.
    ExecuteCommand(KindCommand(kChannelListCommands, m_channelListKind));
}

void CMainFrame::ToggleRecordedView()
{
    base::CScopedLock ui(m_uiLock);
    if (m_display.ToggleOnly(CQORDisplay::View::Recorded))
        FillRecordedList(m_recPath);
}

void CMainFrame::ToggleSwitcherView()
{
    bool shown;
    {
        base::CScopedLock ui(m_uiLock);
        shown = m_display.ToggleOnly(CQORDisplay::View::Switcher);
        if (shown)
            m_display.ClearSwitcher();
        m_display.ShowControls(false);
        m_display.ShowTopBars(false);
    }
    if (shown)
        FillAudioList();
}

void CMainFrame::ToggleGuideView()
{
    ExecuteCommand(KindCommand(kGuideKindCommands, m_guideListKind));
    ExecuteCommand(CmdGuideNow);
    bool shown;
    {
        base::CScopedLock ui(m_uiLock);
        shown = m_display.ToggleOnly(CQORDisplay::View::Guide);
    }
    if (shown)
        SetTimer(TIMER_GUIDE, kGuideRefreshPeriod);
    else
        KillTimer(TIMER_GUIDE);
}

void CMainFrame::CloseTeletextView()
{
    HideView(CQORDisplay::View::Teletext);
    KillTimer(TIMER_TELETEXT_CLOCK);
    if (m_engine)
        m_engine->ShowTeletext(false, 0, false);
}

void CMainFrame::NavigateTeletext(int direction)
{
    if (m_engine)
        m_engine->TeletextNavigate(direction);
}

void CMainFrame::MoveGuideWindow(int64_t seconds)
{
    {
        base::CScopedLock ui(m_uiLock);
        m_epg.SetStartTime(m_epg.m_gridStart + seconds);
    }
    RefreshGuide();
}

void CMainFrame::MoveGuideToNow()
{
    // The last full or half hour of local time, less 30 minutes: 10:47 gives 10:00.
    const int64_t start = CEPGData::InitialGridStart(static_cast<int64_t>(std::time(nullptr)));
    {
        base::CScopedLock ui(m_uiLock);
        m_epg.SetStartTime(start);
        StampGuideNow();
    }
    RefreshGuide();
}

void CMainFrame::CloseGuideView()
{
    HideView(CQORDisplay::View::Guide);
    KillTimer(TIMER_GUIDE);
    if (m_mode == ModeLive && m_engine) {
        int32_t row = 0;
        m_engine->UpdateEPGView(false, m_guideListKind, &row);
    }
}

void CMainFrame::ShowStreamList(bool subtitles)
{
    {
        base::CScopedLock ui(m_uiLock);
        m_display.SetSwitcherTab(subtitles ? 1 : 0);
        m_display.ClearSwitcher();
    }
    if (subtitles)
        FillSubtitleList();
    else
        FillAudioList();
}

// Command ids not in the table do nothing. Handlers that serve a group of ids get the id.
void CMainFrame::ExecuteCommand(int id)
{
    using Handler = void (*)(CMainFrame&, Command);
    struct Entry {
        Command command;
        Handler handler;
    };
    static const Entry kTable[] = {
        {CmdMenu, [](CMainFrame& f, Command) { f.ToggleMenu(); }},
        {CmdRecord, [](CMainFrame& f, Command) { f.ToggleRecording(); }},
        {CmdPlayPause, [](CMainFrame& f, Command) { f.PlayPause(); }},
        {CmdVolumeUp, [](CMainFrame& f, Command) { f.VolumeUp(); }},
        {CmdVolumeDown, [](CMainFrame& f, Command) { f.ChangeVolume(-5); }},
        {CmdChannelUp, [](CMainFrame& f, Command) { f.PostMessage(WM_QOR_NEXT_SERVICE); }},
        {CmdChannelDown, [](CMainFrame& f, Command) { f.PostMessage(WM_QOR_PREVIOUS_SERVICE); }},
        {CmdStopFile, [](CMainFrame& f, Command) { f.StopFile(); }},
        {CmdMute, [](CMainFrame& f, Command) { f.ToggleMute(); }},
        {CmdTeletext, [](CMainFrame& f, Command) { f.ToggleTeletextView(); }},
        {CmdChannelList, [](CMainFrame& f, Command) { f.ToggleChannelListView(); }},
        {CmdRecordedShows, [](CMainFrame& f, Command) { f.ToggleRecordedView(); }},
        {CmdStreamSwitcher, [](CMainFrame& f, Command) { f.ToggleSwitcherView(); }},
        {CmdGuide, [](CMainFrame& f, Command) { f.ToggleGuideView(); }},
        {CmdClose, [](CMainFrame& f, Command) { f.PostClose(); }},
        {CmdMaximise, [](CMainFrame& f, Command) { f.ShowWindow(f.m_maximised ? SW_RESTORE : SW_MAXIMIZE); }},
        {CmdMinimise, [](CMainFrame& f, Command) { f.Minimise(); }},
        {CmdAlwaysOnTop, [](CMainFrame& f, Command) { f.ToggleOnTop(); }},
        {CmdFilePopup, [](CMainFrame& f, Command c) { f.OpenPopup(c); }},
        {CmdViewPopup, [](CMainFrame& f, Command c) { f.OpenPopup(c); }},
        {CmdChannelsPopup, [](CMainFrame& f, Command c) { f.OpenPopup(c); }},
        {CmdTeletextClose, [](CMainFrame& f, Command) { f.CloseTeletextView(); }},
        {CmdTeletextNext, [](CMainFrame& f, Command) { f.NavigateTeletext(2); }},
        {CmdTeletextPrevious, [](CMainFrame& f, Command) { f.NavigateTeletext(1); }},
        {CmdTeletextFirst, [](CMainFrame& f, Command) { f.NavigateTeletext(0); }},
        {CmdGuideRowsUp, [](CMainFrame& f, Command) { f.ScrollGuideRows(120); }},
        {CmdGuideRowsDown, [](CMainFrame& f, Command) { f.ScrollGuideRows(-120); }},
        {CmdGuideEarlier, [](CMainFrame& f, Command) { f.MoveGuideWindow(-kHalfHour); }},
        {CmdGuideLater, [](CMainFrame& f, Command) { f.MoveGuideWindow(kHalfHour); }},
        {CmdGuideNow, [](CMainFrame& f, Command) { f.MoveGuideToNow(); }},
        {CmdGuideClose, [](CMainFrame& f, Command) { f.CloseGuideView(); }},
        {CmdGuideNetwork, [](CMainFrame& f, Command) { f.SetGuideKind(KindNetwork); }},
        {CmdGuideTV, [](CMainFrame& f, Command) { f.SetGuideKind(KindTV); }},
        {CmdGuideRadio, [](CMainFrame& f, Command) { f.SetGuideKind(KindRadio); }},
        {CmdGuideFavourites, [](CMainFrame& f, Command) { f.SetGuideKind(KindFavourites); }},
        {CmdSwitcherClose, [](CMainFrame& f, Command) { f.HideView(CQORDisplay::View::Switcher); }},
        {CmdSwitcherAudio, [](CMainFrame& f, Command) { f.ShowStreamList(false); }},
        {CmdSwitcherSubtitles, [](CMainFrame& f, Command) { f.ShowStreamList(true); }},
        {CmdRecordedClose, [](CMainFrame& f, Command) { f.HideView(CQORDisplay::View::Recorded); }},
        {CmdChannelListClose, [](CMainFrame& f, Command) { f.HideView(CQORDisplay::View::ChannelList); }},
        {CmdChannelListNetwork, [](CMainFrame& f, Command) { f.FillChannelList(KindNetwork); }},
        {CmdChannelListTV, [](CMainFrame& f, Command) { f.FillChannelList(KindTV); }},
        {CmdChannelListRadio, [](CMainFrame& f, Command) { f.FillChannelList(KindRadio); }},
        {CmdChannelListFavourites, [](CMainFrame& f, Command) { f.FillChannelList(KindFavourites); }},
    };
    for (const Entry& entry : kTable)
        if (entry.command == id) {
            entry.handler(*this, entry.command);
            return;
        }
}

void CMainFrame::OnListSelect(int list, int value, int value2)
{
    const auto serviceId = static_cast<uint16_t>(value & 0xFFFF);
    const auto transportStreamId = static_cast<uint16_t>(static_cast<uint32_t>(value) >> 16);
    if (list == ListRecorded) {
        if (value < 0)
            return;
        {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowRecorded(false);
        }
        PlayRecordedFile(value);
    } else if (list == ListChannels) {
        TuneStart(serviceId, transportStreamId, value2);
    } else if (list == ListTune) {
        {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowTune(false);
        }
        // The engine call comes after the OSD's lock is released: the service lock comes first.
        TuneStart(serviceId, transportStreamId, value2);
    }
}
