// The render thread: while running it draws the whole picture (clear, the OSD tree, present) at
// the display's refresh when something changed: a new video frame (the render event), a change of
// the OSD tree (anyone else having held the user-interface lock, under which every change is made)
// or an animation of the tree that is due. An unchanged picture is not drawn again: the platform's
// software rasteriser does not wait for the vertical blank in Present, and would draw the same
// picture hundreds of times a second. Commands are synchronous.
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
// Sent by the benchmark to the window whose thread this is: the count of frames presented (wParam
// 0), drawn (1) and of new video frames seen (2) since the thread was made.
constexpr UINT WM_RENDER_FRAME_COUNTS = 2031;

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
    unsigned FramesDrawn() const { return m_framesDrawn.load(); }
    unsigned VideoFramesSeen() const { return m_videoFrames.load(); }
    // Refreshes of the display the running loop has passed, drawn or not.
    unsigned Refreshes() const { return m_refreshes.load(); }
    // The answer to WM_RENDER_FRAME_COUNTS.
    unsigned FrameCount(WPARAM which) const;
    // The window was uncovered: the unchanged picture is presented again at the next refresh.
    void RequestPresent() { m_presentRequested.store(true); }

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
    // The user-interface lock's entry count when this thread last left it after drawing.
    uint64_t m_uiEntriesSeen = 0;
    std::atomic<bool> m_presentRequested{false};
    std::atomic<unsigned> m_framesPresented{0};
    std::atomic<unsigned> m_framesDrawn{0};
    std::atomic<unsigned> m_videoFrames{0};
    std::atomic<unsigned> m_refreshes{0};
};
