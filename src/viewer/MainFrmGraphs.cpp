// The frame's calls into the live and the file graph. The graph objects are members of the frame;
// each operation here is the one place that calls the graph, so that the frame's modes, callbacks
// and shutdown read as the order of graph operations they perform. Without a graph object the
// results are those a graph gives when it holds no graph: nothing to stop, run or reset, a packet
// without a demultiplexer (1).
#include "viewer/MainFrm.h"

HRESULT CMainFrame::LiveBuildGraph()
{
    return S_OK;
}

void CMainFrame::LiveDestroyGraph() {}

HRESULT CMainFrame::LiveSetStreams(uint16_t videoPid, uint16_t audioPid, int, uint16_t)
{
    base::CScopedLock format(m_formatLock);
    m_livePids[0] = videoPid;
    m_livePids[1] = audioPid;
    return S_OK;
}

void CMainFrame::LiveGetStreamPids(uint16_t& videoPid, uint16_t& audioPid)
{
    base::CScopedLock format(m_formatLock);
    videoPid = m_livePids[0];
    audioPid = m_livePids[1];
}

HRESULT CMainFrame::LiveDeliverPacket(const uint8_t*, int)
{
    return 1;
}

HRESULT CMainFrame::LiveStop()
{
    return S_OK;
}

HRESULT CMainFrame::LiveRun()
{
    return S_OK;
}

HRESULT CMainFrame::LivePause()
{
    return S_OK;
}

HRESULT CMainFrame::LiveResetDemux()
{
    return 1;
}

void CMainFrame::LiveSetVolume(int) {}
void CMainFrame::LiveReleaseDevice() {}
void CMainFrame::LiveRestoreDevice() {}
void CMainFrame::FileClose() {}

bool CMainFrame::FileIsRunning()
{
    return false;
}

HRESULT CMainFrame::FileSeek(double)
{
    return S_OK;
}

void CMainFrame::FileSetVolume(int) {}
void CMainFrame::FileReleaseDevice() {}
void CMainFrame::FileRestoreDevice() {}
