// The render thread: while running it redraws the whole picture in a loop (clear, the OSD tree,
// present), woken by the render event or every 5 ms. Commands are synchronous.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <atomic>

#include "base/Lock.h"
#include "dshow/CAMThread.h"

namespace OnScreenDisplay {
class Display;
}
class CD3DHandler;

enum RenderCommand : DWORD {
    RENDER_CMD_EXIT = 1,
    RENDER_CMD_RUN = 2,
    RENDER_CMD_PAUSE = 3,
};

// Posted once to the notify window when Present reports the device lost; the owner answers with
// the same re-creation it runs on a change of monitor.
constexpr UINT WM_RENDER_DEVICE_LOST = 2030;

class CRenderThread : public dshow::CAMThread {
public:
    CRenderThread(CD3DHandler& handler, base::CCriticalSection& uiLock, OnScreenDisplay::Display& root,
                  HWND notifyWindow);
    ~CRenderThread() override;

    // Each waits for the thread's reply. Never call them holding the user-interface lock: the loop
    // waits for that lock and would not see the command.
    DWORD Run() { return Send(RENDER_CMD_RUN); }
    DWORD Pause() { return Send(RENDER_CMD_PAUSE); }
    // Ends the thread and waits for it.
    void Exit();

    unsigned FramesPresented() const { return m_framesPresented.load(); }

protected:
    DWORD ThreadProc() override;
    // The present step; tests replace it to inject a lost device.
    virtual HRESULT PresentFrame(IDirect3DDevice9* device);

private:
    DWORD Send(DWORD command);
    // Draws frames until a command arrives (true, the command in *command) or there is no device
    // (false).
    bool RenderLoop(DWORD* command);

    CD3DHandler& m_handler;
    base::CCriticalSection& m_uiLock;
    OnScreenDisplay::Display& m_root;
    HWND m_notifyWindow;
    bool m_lossReported = false;
    std::atomic<unsigned> m_framesPresented{0};
};
