// The frame's side of the channel engine's user interface, in the interface's order. The engine
// calls most of these on the transport-stream thread of the playing device while the service lock
// is held: the packets and the graphs' state go on to the live relay; the frame takes the relay's
// data lock before m_uiLock and never calls back into the engine or a service from here.
#include "viewer/MainFrm.h"

#include "viewer/ServiceLogo.h"
#include "viewer/WideText.h"
#include "viewer/panels/CQOREPGPanel.h"

HRESULT CMainFrame::Reserved(uint32_t, uint32_t)
{
    return S_OK;
}

// What carries packets and graph state is the live relay's.
HRESULT CMainFrame::OnStreamsChanged(int32_t slot, uint16_t videoPid, uint16_t audioPid, uint16_t pcrPid)
{
    return m_relay->OnStreamsChanged(slot, videoPid, audioPid, pcrPid);
}

HRESULT CMainFrame::OnTransportPacket(int32_t slot, const uint8_t* packet, int32_t length)
{
    return m_relay->OnTransportPacket(slot, packet, length);
}

HRESULT CMainFrame::StopPlayback()
{
    return m_relay->StopPlayback();
}

HRESULT CMainFrame::RunPlayback()
{
    return m_relay->RunPlayback();
}

HRESULT CMainFrame::PausePlayback()
{
    return m_relay->PausePlayback();
}

HRESULT CMainFrame::ResetDemux()
{
    return m_relay->ResetDemux();
}

HRESULT CMainFrame::ShowInfoText(std::u16string left, std::u16string right, float fraction)
{
    SetInfoText(viewer::ToCString(left), viewer::ToCString(right), fraction);
    return S_OK;
}

HRESULT CMainFrame::OnServiceUpdated(CQORService* service)
{
    if (!service) {
        base::CScopedLock ui(m_uiLock);
        m_display.SetChannelName(CString());
        m_display.SetStreamIcons(false, false, false);
        return S_OK;
    }
    CString name;
    bool multiAudio, teletext, subtitles, scrambled;
    HBITMAP logo;
    {
        base::CScopedLock serviceLock(service->Lock());
        name = viewer::ToCString(service->GetName());
        multiAudio = service->HasSeveralAudioStreams() != 0;
        teletext = service->HasTeletext() != 0;
        subtitles = service->HasSubtitles() != 0;
        scrambled = service->IsScrambled() != 0;
        logo = viewer::ServiceLogo(*service);
    }
    base::CScopedLock ui(m_uiLock);
    m_display.SetChannelName(name);
    m_display.SetStreamIcons(multiAudio, teletext, subtitles);
    m_display.SetScrambledIcon(scrambled);
    m_display.SetChannelLogo(logo); // null: the default logo
    return S_OK;
}

HRESULT CMainFrame::ShowInfoCaptions(std::u16string left, std::u16string right)
{
    base::CScopedLock ui(m_uiLock);
    m_display.SetInfoText(0, viewer::ToCString(left));
    m_display.SetInfoText(1, viewer::ToCString(right));
    return S_OK;
}

HRESULT CMainFrame::StopRecording()
{
    base::CScopedLock data(m_relay->DataLock());
    if (m_relay->StopRecorder()) {
        base::CScopedLock ui(m_uiLock);
        m_display.ShowControls(true);
    }
    return S_OK;
}

HRESULT CMainFrame::BeginEPGUpdate()
{
    base::CScopedLock ui(m_uiLock);
    return m_epg.BeginUpdate();
}

HRESULT CMainFrame::AddEPGChannel(const std::u16string* name, uint32_t keyLow, uint32_t keyHigh, EPGChannel* channel)
{
    base::CScopedLock ui(m_uiLock);
    CEPGChannel* row = nullptr;
    const HRESULT result = m_epg.AddChannel(name ? viewer::ToCString(*name) : CString(), keyLow, keyHigh, &row);
    if (channel)
        *channel = row;
    return result;
}

HRESULT CMainFrame::AddEPGEvent(EPGChannel channel, const std::u16string* name, uint32_t keyLow, uint32_t keyHigh,
                                int64_t start, int32_t durationMinutes, uint32_t genre,
                                const std::u16string* genreText, const std::u16string* description, uintptr_t)
{
    base::CScopedLock ui(m_uiLock);
    return m_epg.AddEvent(static_cast<CEPGChannel*>(channel), name ? viewer::ToCString(*name) : CString(), keyLow,
                          keyHigh, start, durationMinutes, genre,
                          genreText ? viewer::ToCString(*genreText) : CString(),
                          description ? viewer::ToCString(*description) : CString(), 0);
}

HRESULT CMainFrame::CommitEPGUpdate()
{
    base::CScopedLock ui(m_uiLock);
    return m_epg.Publish();
}

HRESULT CMainFrame::SetEPGWindowStart(int64_t start)
{
    {
        base::CScopedLock ui(m_uiLock);
        m_epg.SetStartTime(start);
        // The guide's marker goes to the present time; its time scale follows in RefreshGuide.
        if (CQOREPGPanel* guide = m_display.GetGuide())
            guide->StampNow();
    }
    RefreshGuide();
    return S_OK;
}

HRESULT CMainFrame::ShowTeletextPage(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                     int32_t page)
{
    base::CScopedLock ui(m_uiLock);
    m_display.SetTeletextBitmap(static_cast<HBITMAP>(bitmap), left, top, right, bottom, 1.0f);
    if (page != 0) {
        CString text;
        text.Format(L"%.3d", page);
        m_display.SetTeletextPageText(text);
    }
    return S_OK;
}

HRESULT CMainFrame::SetPageEntryText(std::u16string text)
{
    base::CScopedLock ui(m_uiLock);
    m_display.SetTeletextPageText(viewer::ToCString(text));
    return S_OK;
}

HRESULT CMainFrame::ShowOverlayBitmap(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    base::CScopedLock ui(m_uiLock);
    m_display.SetOverlayBitmap(static_cast<HBITMAP>(bitmap), left, top, right, bottom, 1.0f);
    return S_OK;
}

HRESULT CMainFrame::SetPanelShown(bool shown)
{
    base::CScopedLock ui(m_uiLock);
    m_display.ShowSubtitles(shown);
    return S_OK;
}

HRESULT CMainFrame::SetLiveFlag(uint8_t live)
{
    m_liveFlag = live;
    if (live)
        m_relay->SetLastPacketTick(::GetTickCount()); // the watchdog's grace starts when live data resumes
    return S_OK;
}
