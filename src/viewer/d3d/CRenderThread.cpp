#include "viewer/d3d/CRenderThread.h"

#include <cassert>

#include "viewer/d3d/CD3DHandler.h"
#include "viewer/osd/Clock.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/RedrawSchedule.h"

namespace {

int64_t NowMicroseconds()
{
    static const int64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart / frequency * 1000000 + count.QuadPart % frequency * 1000000 / frequency;
}

// The display mode's refresh rate in hertz; 0 when the device does not tell.
unsigned RefreshRate(IDirect3DDevice9* device)
{
    D3DDISPLAYMODE mode{};
    return SUCCEEDED(device->GetDisplayMode(0, &mode)) ? mode.RefreshRate : 0;
}

} // namespace

CRenderThread::CRenderThread(CD3DHandler& handler, base::CCriticalSection& uiLock, OnScreenDisplay::Display& root,
                             HWND notifyWindow)
    : m_handler(handler), m_uiLock(uiLock), m_root(root), m_notifyWindow(notifyWindow)
{
}

CRenderThread::~CRenderThread()
{
    Exit();
}

DWORD CRenderThread::Send(DWORD command)
{
    assert(!m_uiLock.IsHeldByCurrentThread() && "the render loop waits for the UI lock");
    if (!ThreadExists())
        return static_cast<DWORD>(E_FAIL);
    return CallWorker(command);
}

void CRenderThread::Exit()
{
    if (!ThreadExists())
        return;
    Send(RENDER_CMD_EXIT);
    Close();
}

DWORD CRenderThread::ThreadProc()
{
    DWORD command = GetRequest();
    for (;;) {
        Reply(0);
        if (command == RENDER_CMD_EXIT)
            return 0;
        if (command == RENDER_CMD_RUN) {
            m_lossReported = false; // a run follows a re-creation: a new loss is news again
            // The loop ends on the next command (already taken from the channel) or, without a
            // device, to wait for one.
            if (RenderLoop(&command))
                continue;
        }
        command = GetRequest(); // RENDER_CMD_PAUSE and unknown requests wait here
    }
}

bool CRenderThread::RenderLoop(DWORD* command)
{
    OnScreenDisplay::RedrawSchedule schedule;
    {
        base::CScopedLock device(m_handler.DeviceLock());
        if (!m_handler.GetDevice())
            return false;
        schedule = OnScreenDisplay::RedrawSchedule(RefreshRate(m_handler.GetDevice()));
    }
    schedule.Start(NowMicroseconds());
    bool newFrame = false;
    for (;;) {
        if (CheckRequest(command))
            return true;
        const int64_t wait = schedule.WaitFrom(NowMicroseconds());
        if (WaitForSingleObject(m_handler.GetRenderEvent(), static_cast<DWORD>((wait + 999) / 1000)) == WAIT_OBJECT_0) {
            newFrame = true;
            ++m_videoFrames;
        }
        const int64_t now = NowMicroseconds();
        if (now < schedule.NextRefresh())
            continue; // a frame before the refresh is drawn at the refresh
        ++m_refreshes;
        // Read without the lock: an entry this read misses is seen at the next refresh.
        const bool osdChanged = m_uiLock.Entries() != m_uiEntriesSeen;
        const bool draw = schedule.Refresh(now, newFrame || osdChanged);
        const bool present = m_presentRequested.exchange(false);
        if (!draw && !present)
            continue;
        HRESULT hr;
        if (draw) {
            newFrame = false;
            base::CScopedLock ui(m_uiLock);
            base::CScopedLock device(m_handler.DeviceLock());
            IDirect3DDevice9* const d3d = m_handler.GetDevice();
            if (!d3d)
                return false;
            // The OSD's [-1, 1] square maps onto the viewport: the client area's part of the back buffer.
            const RECT area = m_handler.DrawnArea();
            const D3DVIEWPORT9 viewport{0, 0, static_cast<DWORD>(area.right), static_cast<DWORD>(area.bottom), 0.0f,
                                        1.0f};
            d3d->SetViewport(&viewport);
            d3d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
            if (SUCCEEDED(d3d->BeginScene())) {
                m_root.Render(1.0f);
                d3d->EndScene();
            }
            ++m_framesDrawn;
            // What moves by itself, asked after the drawing that may have ended a transition.
            schedule.Drawn(now, m_root.AnimationDelay(OnScreenDisplay::Now()));
            m_uiEntriesSeen = m_uiLock.Entries(); // this thread's own entry included
            hr = PresentFrame(d3d);
        } else {
            // The unchanged back buffer (the copy swap effect keeps it) goes to the window again.
            base::CScopedLock device(m_handler.DeviceLock());
            IDirect3DDevice9* const d3d = m_handler.GetDevice();
            if (!d3d)
                return false;
            hr = PresentFrame(d3d);
        }
        if (hr == D3DERR_DEVICELOST || hr == D3DERR_DEVICENOTRESET) {
            // A lost device never comes back by presenting again: have the owner re-create it.
            if (!m_lossReported && m_notifyWindow)
                m_lossReported = PostMessageW(m_notifyWindow, WM_RENDER_DEVICE_LOST, 0, 0) != FALSE;
        } else {
            ++m_framesPresented;
        }
    }
}

unsigned CRenderThread::FrameCount(WPARAM which) const
{
    switch (which) {
    case 0: return FramesPresented();
    case 1: return FramesDrawn();
    case 2: return VideoFramesSeen();
    default: return 0;
    }
}

HRESULT CRenderThread::PresentFrame(IDirect3DDevice9* device)
{
    // Only the drawn part goes to the window; it is scaled only when the window outgrows the back buffer.
    const RECT area = m_handler.DrawnArea();
    return device->Present(&area, nullptr, nullptr, nullptr);
}
