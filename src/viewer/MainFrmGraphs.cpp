// The frame's calls into the live and the file graph: each operation here is the one place that
// calls the graph, so that the frame's modes, callbacks and shutdown read as the order of graph
// operations they perform (and tests can record that order).
#include "viewer/MainFrm.h"

#include "viewer/ViewerGlobals.h"

bool CMainFrame::DoubleFrameRateAllowed()
{
    return g_doubleFrameRate != 0;
}

HRESULT CMainFrame::LiveBuildGraph()
{
    return m_dvbPlayback.BuildGraph();
}

void CMainFrame::LiveDestroyGraph()
{
    m_dvbPlayback.DestroyGraph();
}

HRESULT CMainFrame::LiveSetStreams(uint16_t videoPid, uint16_t audioPid, int unused, uint16_t pcrPid)
{
    return m_dvbPlayback.SetStreams(videoPid, audioPid, static_cast<WORD>(unused), pcrPid);
}

void CMainFrame::LiveGetStreamPids(uint16_t& videoPid, uint16_t& audioPid)
{
    WORD video = 0, audio = 0;
    m_dvbPlayback.GetStreamPids(&video, &audio);
    videoPid = video;
    audioPid = audio;
}

HRESULT CMainFrame::LiveDeliverPacket(const uint8_t* packet, int length)
{
    return m_dvbPlayback.DeliverPacket(packet, length);
}

HRESULT CMainFrame::LiveStop()
{
    return m_dvbPlayback.Stop();
}

HRESULT CMainFrame::LiveRun()
{
    return m_dvbPlayback.Run();
}

HRESULT CMainFrame::LivePause()
{
    return m_dvbPlayback.Pause();
}

HRESULT CMainFrame::LiveResetDemux()
{
    return m_dvbPlayback.ResetDemux();
}

void CMainFrame::LiveSetVolume(int percent)
{
    m_dvbPlayback.SetVolume(percent);
}

void CMainFrame::LiveReleaseDevice()
{
    m_dvbPlayback.ReleaseDevice();
}

void CMainFrame::LiveRestoreDevice()
{
    m_dvbPlayback.RestoreDevice();
}

void CMainFrame::FileClose()
{
    m_filePlayback.Close();
}

bool CMainFrame::FileIsRunning()
{
    return m_filePlayback.IsRunning() != FALSE;
}

HRESULT CMainFrame::FileSeek(double fraction)
{
    m_filePlayback.Seek(fraction);
    return S_OK;
}

void CMainFrame::FileSetVolume(int percent)
{
    m_filePlayback.SetVolume(percent);
}

void CMainFrame::FileReleaseDevice()
{
    m_filePlayback.ReleaseDevice();
}

void CMainFrame::FileRestoreDevice()
{
    m_filePlayback.RestoreDevice();
}
