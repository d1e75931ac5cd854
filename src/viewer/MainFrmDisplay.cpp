// The main frame as the OSD sees it: the receiver of the display's notifications, the host that
// widgets on the render thread post to, the video-stream table the Video widget draws, and the
// handler of the tune panel's number.
#include "viewer/MainFrm.h"

#include "media/filters/videorenderer/win/CVideoStream.h"
#include "viewer/d3d/CD3DSurface.h"

// Display notifications -------------------------------------------------------------------------

void CMainFrame::OnOsdCommand(int id)
{
    // Buttons run on the render thread or inside a mouse handler holding the OSD's lock: the
    // command runs from the message queue, where the dispatcher may stop graphs.
    PostMessage(WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(id)), 0);
}

bool CMainFrame::OnOsdSeek(int id, double fraction)
{
    return SeekFile(id, fraction) >= 0;
}

void CMainFrame::OnOsdStreamMenu(int code)
{
    SelectStream(code);
}

void CMainFrame::OnOsdListSelect(int list, int value, int value2)
{
    // Lists fire inside key and mouse handlers that hold the OSD's lock: tuning waits until the
    // lock is released, at the end of the key handler or from the queue.
    base::CScopedLock ui(m_uiLock);
    m_pendingChoices.push_back({list, value, value2});
    PostMessage(WM_QOR_LIST_SELECT);
}

void CMainFrame::RunPendingInput()
{
    int number = -1;
    std::vector<ListChoice> choices;
    {
        base::CScopedLock ui(m_uiLock);
        std::swap(number, m_pendingTuneNumber);
        choices.swap(m_pendingChoices);
    }
    if (number >= 0)
        FillTuneList(number);
    for (const ListChoice& choice : choices)
        OnListSelect(choice.list, choice.value, choice.value2);
}

// Widgets' requests -------------------------------------------------------------------------------

void CMainFrame::PostPointerPosition(int x10000, int y10000)
{
    PostMessage(WM_QOR_POINTER, static_cast<WPARAM>(x10000), static_cast<LPARAM>(y10000));
}

bool CMainFrame::TeletextClick(float fx, float fy)
{
    return TeletextClick(0, 0, fx, fy);
}

void CMainFrame::PostCommand(int id)
{
    PostMessage(WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(id)), 0);
}

// The video-stream table for the Video widget -----------------------------------------------------

void CMainFrame::LockTable()
{
    m_videoStreams.Lock()->Lock();
}

void CMainFrame::UnlockTable()
{
    m_videoStreams.Lock()->Unlock();
}

bool CMainFrame::LockStream(int slot, OnScreenDisplay::SurfaceTexture** texture, OnScreenDisplay::FrameRect* rect)
{
    videorenderer::CVideoStream* stream = m_videoStreams.Stream(slot);
    if (!stream)
        return false;
    stream->Lock()->Lock();
    if (!stream->Texture()) {
        stream->Lock()->Unlock();
        return false;
    }
    *texture = CD3DSurface::FromTexture(stream->Texture());
    const videorenderer::TextureRect& r = stream->Rect();
    *rect = {r.left, r.top, r.right, r.bottom};
    return true;
}

void CMainFrame::UnlockStream(int slot)
{
    if (videorenderer::CVideoStream* stream = m_videoStreams.Stream(slot))
        stream->Lock()->Unlock();
}

// Panels ------------------------------------------------------------------------------------------

void CMainFrame::OnChannelNumber(int number)
{
    // Called under the OSD's lock: the tune list needs the engine's lists, which are read with no
    // frame lock held. Only the newest number counts.
    base::CScopedLock ui(m_uiLock);
    m_pendingTuneNumber = number;
    PostMessage(WM_QOR_TUNE_NUMBER);
}

void CMainFrame::RefreshGuide()
{
    // The time scale follows the window whoever moved it (the engine, the scroll pad, the jump to
    // now, the arrow keys); the guide draws the model's new window on the next frame.
    UpdateGuideHeader();
    SignalRender();
}
