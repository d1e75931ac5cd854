#include "viewer/CLiveRelay.h"

#include <windows.h>

#include "media/playback/win/CPlaybackHost.h"
#include "media/record/win/RecorderFactory.h"

CLiveRelay::CLiveRelay(const Wiring& wiring) : m_screen(wiring.screen), m_uiLock(wiring.uiLock)
{
    m_dvbPlayback.SetHost(&wiring.host);
    m_filePlayback.SetHost(&wiring.host);
}

CLiveRelay::~CLiveRelay()
{
    base::CScopedLock data(m_dataLock);
    delete m_recorder; // writes out what it holds and closes the file
    m_recorder = nullptr;
}

// The engine's reports ---------------------------------------------------------------------------

HRESULT CLiveRelay::OnStreamsChanged(int32_t, uint16_t videoPid, uint16_t audioPid, uint16_t pcrPid)
{
    base::CScopedLock data(m_dataLock);
    // The recorder follows the new PIDs before the graph is re-rendered for them.
    if (m_recorder) {
        base::CScopedLock ui(m_uiLock);
        m_recorder->SetPids(videoPid, audioPid);
    }
    LiveSetStreams(videoPid, audioPid, 0, pcrPid);
    m_screen.ShowStreams(videoPid != 0);
    return S_OK;
}

HRESULT CLiveRelay::OnTransportPacket(int32_t, const uint8_t* packet, int32_t length)
{
    m_lastPacketTick = ::GetTickCount();
    {
        base::CScopedLock data(m_dataLock);
        if (m_recorder)
            m_recorder->OnPacket(packet, length); // may end in OnDiskFull, which deletes it
    }
    return LiveDeliverPacket(packet, length);
}

// The recorder -----------------------------------------------------------------------------------

HRESULT CLiveRelay::StartRecording(const CString& path, int freeDiskSpace, const CString& folder, uint16_t videoPid,
                                   uint16_t audioPid)
{
    base::CScopedLock data(m_dataLock);
    if (m_recorder)
        return E_FAIL;
    HRESULT created = S_OK;
    m_recorder = record::CreateFileRecorder(path.GetString(), freeDiskSpace, folder.GetString(), this, &created);
    if (!m_recorder || FAILED(created)) {
        delete m_recorder;
        m_recorder = nullptr;
        return FAILED(created) ? created : E_OUTOFMEMORY;
    }
    m_recorder->SetPids(videoPid, audioPid);
    return S_OK;
}

void CLiveRelay::EndRecording()
{
    delete m_recorder; // writes out what it holds and closes the file
    m_recorder = nullptr;
    m_screen.OnRecordingEnded();
}

bool CLiveRelay::StopRecorder()
{
    base::CScopedLock data(m_dataLock);
    if (!m_recorder)
        return false;
    EndRecording();
    return true;
}

void CLiveRelay::OnDiskFull()
{
    // Both callers hold m_dataLock: the packet thread in OnTransportPacket, the user-interface
    // thread in the recording command. The recorder touches nothing of itself afterwards.
    EndRecording();
}

// The graphs -------------------------------------------------------------------------------------

HRESULT CLiveRelay::LiveBuildGraph()
{
    return m_dvbPlayback.BuildGraph();
}

void CLiveRelay::LiveDestroyGraph()
{
    m_dvbPlayback.DestroyGraph();
}

HRESULT CLiveRelay::LiveSetStreams(uint16_t videoPid, uint16_t audioPid, int unused, uint16_t pcrPid)
{
    return m_dvbPlayback.SetStreams(videoPid, audioPid, static_cast<WORD>(unused), pcrPid);
}

void CLiveRelay::LiveGetStreamPids(uint16_t& videoPid, uint16_t& audioPid)
{
    WORD video = 0, audio = 0;
    m_dvbPlayback.GetStreamPids(&video, &audio);
    videoPid = video;
    audioPid = audio;
}

HRESULT CLiveRelay::LiveDeliverPacket(const uint8_t* packet, int length)
{
    return m_dvbPlayback.DeliverPacket(packet, length);
}

HRESULT CLiveRelay::LiveStop()
{
    return m_dvbPlayback.Stop();
}

HRESULT CLiveRelay::LiveRun()
{
    return m_dvbPlayback.Run();
}

HRESULT CLiveRelay::LivePause()
{
    return m_dvbPlayback.Pause();
}

HRESULT CLiveRelay::LiveResetDemux()
{
    return m_dvbPlayback.ResetDemux();
}

void CLiveRelay::LiveSetVolume(int percent)
{
    m_dvbPlayback.SetVolume(percent);
}

void CLiveRelay::LiveReleaseDevice()
{
    m_dvbPlayback.ReleaseDevice();
}

void CLiveRelay::LiveRestoreDevice()
{
    m_dvbPlayback.RestoreDevice();
}

void CLiveRelay::FileClose()
{
    m_filePlayback.Close();
}

bool CLiveRelay::FileIsRunning()
{
    return m_filePlayback.IsRunning() != FALSE;
}

HRESULT CLiveRelay::FileSeek(double fraction)
{
    m_filePlayback.Seek(fraction);
    return S_OK;
}

void CLiveRelay::FileSetVolume(int percent)
{
    m_filePlayback.SetVolume(percent);
}

void CLiveRelay::FileReleaseDevice()
{
    m_filePlayback.ReleaseDevice();
}

void CLiveRelay::FileRestoreDevice()
{
    m_filePlayback.RestoreDevice();
}

HRESULT CLiveRelay::FileOpen(const CString& path, bool* hasVideo)
{
    return m_filePlayback.Open(path, hasVideo);
}

void CLiveRelay::FileTogglePause()
{
    m_filePlayback.TogglePause();
}

void CLiveRelay::FileStop()
{
    m_filePlayback.Stop();
}

void CLiveRelay::FilePause()
{
    m_filePlayback.Pause();
}

void CLiveRelay::FileSeekStart()
{
    m_filePlayback.Seek(0.0);
}
