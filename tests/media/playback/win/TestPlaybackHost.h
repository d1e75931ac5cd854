// The playback objects' host for tests, in place of the viewer's main frame: the presenters' test
// host (window, Direct3D device and lock, video-stream table, SetVideoFormat) plus a window that
// receives the frame-time message 2029 and a record of the information panel's texts.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "media/filters/videorenderer/win/TestPresenterHost.h"
#include "media/playback/win/CPlaybackHost.h"

namespace test {

struct InfoText {
    std::wstring left, right;
    float value;
};

class CTestPlaybackHost : public playback::CPlaybackHost {
public:
    CTestPlaybackHost();
    ~CTestPlaybackHost() override;
    bool Ready() const { return m_inner.Ready() && m_receiver; }

    bool HasWindow() override { return m_inner.HasWindow(); }
    videorenderer::CVideoStreamTable* VideoStreamTable() override { return m_inner.VideoStreamTable(); }
    IDirect3DDevice9* Device() override { return m_inner.Device(); }
    void LockDevice() override { m_inner.LockDevice(); }
    void UnlockDevice() override { m_inner.UnlockDevice(); }
    void SignalRender() override { m_inner.SignalRender(); }
    void SetVideoFormat(int width, int height, double aspect) override { m_inner.SetVideoFormat(width, height, aspect); }
    HWND Window() override { return m_receiver; }
    IDirect3D9* Direct3D() override { return m_inner.m_d3d; }
    void SetInfoText(const CString& left, const CString& right, float value) override
    {
        m_infoTexts.push_back({left.GetString(), right.GetString(), value});
    }
    bool DoubleFrameRateAllowed() override { return false; }

    // Dispatches this thread's messages until `done` holds or the time is up; the result of `done`.
    static bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds);
    // Slot 0's picture as rows of B, G, R, X (empty when the slot is free).
    std::vector<uint8_t> ReadSlot(int slot, UINT width, UINT height);
    HRESULT ResetDevice() { return m_inner.ResetDevice(); }
    LONG RenderSignals() const { return m_inner.m_renderSignals; }
    std::vector<VideoFormat> Formats() { return m_inner.Formats(); }

    // The 90 kHz times message 2029 brought, in arrival order (user-interface thread only).
    std::vector<int64_t> m_frameTimes;
    std::vector<InfoText> m_infoTexts;

private:
    static LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CTestPresenterHost m_inner;
    HWND m_receiver = nullptr;
};

} // namespace test
