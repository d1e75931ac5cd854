// The dispatcher: every OSD button, tab, key and remote command ends here as one command id.
#include "viewer/MainFrm.h"

#include <ctime>

#include "viewer/CommandRules.h"
#include "viewer/WideText.h"
#include "viewer/panels/CQOREPGPanel.h"

namespace {
constexpr UINT kTeletextClockPeriod = 450;
constexpr UINT kGuideRefreshPeriod = 5;

int ChannelListFillCommand(int kind)
{
    static const int commands[] = {104, 102, 103, 101};
    return kind >= 0 && kind < 4 ? commands[kind] : 104;
}

int GuideKindCommand(int kind)
{
    static const int commands[] = {73, 71, 72, 70};
    return kind >= 0 && kind < 4 ? commands[kind] : 73;
}
} // namespace

void CMainFrame::ChangeVolume(int delta)
{
    m_volume = viewer::SteppedVolume(m_volume, delta);
    if (!m_muted) {
        FileSetVolume(m_volume);
        LiveSetVolume(m_volume);
    }
    base::CScopedLock ui(m_uiLock);
    m_display.SetVolume(m_volume);
    m_display.ShowVolume(true);
}

void CMainFrame::ToggleMute()
{
    const int volume = m_muted ? m_volume : 0;
    FileSetVolume(volume);
    LiveSetVolume(volume);
    m_muted = m_muted ? 0 : 1;
    base::CScopedLock ui(m_uiLock);
    m_display.SetMutedIcon(m_muted != 0);
}

void CMainFrame::PlayPause()
{
    if (m_mode == 1) {
        FileTogglePause();
        const bool running = FileIsRunning();
        base::CScopedLock ui(m_uiLock);
        m_display.SetControlButton(1, 12, running ? L"pause_button" : L"play_button", true);
        return;
    }
    if (m_mode != 2 || !m_engine)
        return;
    uint8_t first = 0, second = 0;
    if (m_engine->GetTimeshiftState(&first, &second) != S_OK)
        return;
    // The engine calls run outside the frame locks: the engine calls back into the frame.
    const viewer::TimeshiftCall call = viewer::TimeshiftCallFor(first != 0, second != 0);
    bool stopped = false;
    if (call == viewer::TimeshiftCall::Start) {
        m_engine->StartTimeshift();
    } else if (call == viewer::TimeshiftCall::StopToLive) {
        bool flag = true;
        m_engine->StopTimeshift(&flag);
    } else if (call == viewer::TimeshiftCall::Stop) {
        bool flag = false;
        m_engine->StopTimeshift(&flag);
        stopped = flag;
    }
    viewer::TimeshiftView view{};
    if (!viewer::TimeshiftViewAfter(call, stopped, view))
        return;
    base::CScopedLock ui(m_uiLock);
    m_display.SetRecordIcon(view.recordIcon);
    m_display.SetControlButton(1, 12, viewer::ToCString(view.button), true);
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

void CMainFrame::ExecuteCommand(int id)
{
    switch (id) {
    case 10: {
        base::CScopedLock ui(m_uiLock);
        m_display.ShowMenu(!m_display.IsMenuShown());
        break;
    }
    case 11:
        ToggleRecording();
        break;
    case 12:
        PlayPause();
        break;
    case 13:
        if (m_muted)
            ToggleMute();
        else
            ChangeVolume(5);
        break;
    case 14:
        ChangeVolume(-5);
        break;
    case 15:
        PostMessage(WM_QOR_NEXT_SERVICE);
        break;
    case 16:
        PostMessage(WM_QOR_PREVIOUS_SERVICE);
        break;
    case 17:
        StopFile();
        break;
    case 18:
        ToggleMute();
        break;
    case 20: {
        {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowTeletext(!m_display.IsTeletextShown());
            m_display.ShowMenu(false);
            m_display.ShowGuide(false);
            m_display.ShowSwitcher(false);
            m_display.ShowRecorded(false);
            m_display.ShowChannelList(false);
        }
        SetTimer(TIMER_TELETEXT_CLOCK, kTeletextClockPeriod);
        OnTeletextClockTimer();
        if (m_engine)
            m_engine->ShowTeletext(true, 0, false);
        break;
    }
    case 21: {
        {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowChannelList(!m_display.IsChannelListShown());
            m_display.ShowGuide(false);
            m_display.ShowMenu(false);
            m_display.ShowSwitcher(false);
            m_display.ShowTeletext(false);
            m_display.ShowRecorded(false);
        }
        // The fill reads the engine's lists: after the OSD's lock, as the lock order wants.
        ExecuteCommand(ChannelListFillCommand(m_channelListKind));
        break;
    }
    case 22: {
        base::CScopedLock ui(m_uiLock);
        m_display.ShowGuide(false);
        m_display.ShowMenu(false);
        m_display.ShowSwitcher(false);
        m_display.ShowChannelList(false);
        m_display.ShowTeletext(false);
        m_display.ShowRecorded(!m_display.IsRecordedShown());
        if (m_display.IsRecordedShown())
            FillRecordedList(m_recPath);
        break;
    }
    case 23: {
        bool shown;
        {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowSwitcher(!m_display.IsSwitcherShown());
            shown = m_display.IsSwitcherShown();
            if (shown)
                m_display.ClearSwitcher();
            m_display.ShowGuide(false);
            m_display.ShowMenu(false);
            m_display.ShowTeletext(false);
            m_display.ShowChannelList(false);
            m_display.ShowControls(false);
            m_display.ShowTopBars(false);
            m_display.ShowRecorded(false);
        }
        if (shown)
            FillAudioList();
        break;
    }
    case 24: {
        ExecuteCommand(GuideKindCommand(m_guideListKind));
        ExecuteCommand(64);
        bool shown;
        {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowGuide(!m_display.IsGuideShown());
            m_display.ShowMenu(false);
            m_display.ShowSwitcher(false);
            m_display.ShowTeletext(false);
            m_display.ShowRecorded(false);
            m_display.ShowChannelList(false);
            shown = m_display.IsGuideShown();
        }
        if (shown)
            SetTimer(TIMER_GUIDE, kGuideRefreshPeriod);
        else
            KillTimer(TIMER_GUIDE);
        break;
    }
    case 30:
        PostMessage(WM_CLOSE);
        break;
    case 31:
        ShowWindow(m_maximised ? SW_RESTORE : SW_MAXIMIZE);
        break;
    case 32:
        Minimise();
        break;
    case 33:
        ToggleOnTop();
        break;
    case 40:
    case 41:
    case 42:
        OpenPopup(id);
        break;
    case 50: {
        {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowTeletext(false);
        }
        KillTimer(TIMER_TELETEXT_CLOCK);
        if (m_engine)
            m_engine->ShowTeletext(false, 0, false);
        break;
    }
    case 51:
    case 52:
    case 53:
        if (m_engine)
            m_engine->TeletextNavigate(id == 51 ? 2 : id == 52 ? 1 : 0);
        break;
    case 60:
    case 61:
        ScrollGuideRows(id == 60 ? 120 : -120);
        break;
    case 62:
    case 63: {
        {
            base::CScopedLock ui(m_uiLock);
            m_epg.SetStartTime(m_epg.m_gridStart + (id == 62 ? -1800 : 1800));
        }
        RefreshGuide();
        break;
    }
    case 64: {
        // The last full or half hour of local time, less 30 minutes: 10:47 gives 10:00.
        const int64_t start = CEPGData::InitialGridStart(static_cast<int64_t>(std::time(nullptr)));
        {
            base::CScopedLock ui(m_uiLock);
            m_epg.SetStartTime(start);
            StampGuideNow();
        }
        RefreshGuide();
        break;
    }
    case 65: {
        {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowGuide(false);
        }
        KillTimer(TIMER_GUIDE);
        if (m_mode == 2 && m_engine) {
            int32_t row = 0;
            m_engine->UpdateEPGView(false, m_guideListKind, &row);
        }
        break;
    }
    case 70:
        SetGuideKind(3);
        break;
    case 71:
        SetGuideKind(1);
        break;
    case 72:
        SetGuideKind(2);
        break;
    case 73:
        SetGuideKind(0);
        break;
    case 80: {
        base::CScopedLock ui(m_uiLock);
        m_display.ShowSwitcher(false);
        break;
    }
    case 81:
    case 82: {
        {
            base::CScopedLock ui(m_uiLock);
            m_display.SetSwitcherTab(id - 81);
            m_display.ClearSwitcher();
        }
        if (id == 81)
            FillAudioList();
        else
            FillSubtitleList();
        break;
    }
    case 90: {
        base::CScopedLock ui(m_uiLock);
        m_display.ShowRecorded(false);
        break;
    }
    case 100: {
        base::CScopedLock ui(m_uiLock);
        m_display.ShowChannelList(false);
        break;
    }
    case 101:
    case 102:
    case 103:
    case 104: {
        static const int kinds[] = {3, 1, 2, 0};
        FillChannelList(kinds[id - 101]);
        break;
    }
    default:
        break;
    }
}

void CMainFrame::OnListSelect(int list, int value, int value2)
{
    const auto serviceId = static_cast<uint16_t>(value & 0xFFFF);
    const auto transportStreamId = static_cast<uint16_t>(static_cast<uint32_t>(value) >> 16);
    if (list == 10) {
        if (value < 0)
            return;
        {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowRecorded(false);
        }
        PlayRecordedFile(value);
    } else if (list == 11) {
        TuneStart(serviceId, transportStreamId, value2);
    } else if (list == 12) {
        {
            base::CScopedLock ui(m_uiLock);
            m_display.ShowTune(false);
        }
        // The engine call comes after the OSD's lock is released: the service lock comes first.
        TuneStart(serviceId, transportStreamId, value2);
    }
}
