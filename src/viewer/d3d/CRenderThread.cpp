#include "viewer/d3d/CRenderThread.h"

#include <cassert>

#include "viewer/d3d/CD3DHandler.h"
#include "viewer/osd/Display.h"

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
    for (;;) {
        if (CheckRequest(command))
            return true;
        WaitForSingleObject(m_handler.GetRenderEvent(), 5);

        base::CScopedLock ui(m_uiLock);
        base::CScopedLock device(m_handler.DeviceLock());
        IDirect3DDevice9* const d3d = m_handler.GetDevice();
        if (!d3d)
            return false;
        d3d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        if (SUCCEEDED(d3d->BeginScene())) {
            m_root.Render(1.0f);
            d3d->EndScene();
        }
        const HRESULT hr = PresentFrame(d3d);
        if (hr == D3DERR_DEVICELOST || hr == D3DERR_DEVICENOTRESET) {
            // A lost device never comes back by presenting again: have the owner re-create it.
            if (!m_lossReported && m_notifyWindow)
                m_lossReported = PostMessageW(m_notifyWindow, WM_RENDER_DEVICE_LOST, 0, 0) != FALSE;
        } else {
            ++m_framesPresented;
        }
    }
}

HRESULT CRenderThread::PresentFrame(IDirect3DDevice9* device)
{
    return device->Present(nullptr, nullptr, nullptr, nullptr);
}
