// The presenters' host for tests, in place of the viewer's main frame: a window with a real
// Direct3D 9 HAL device (software vertex processing, multithreaded), the device lock, the render
// event, a video-stream table; it records the video formats and frame times it is told.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "dshow/CAMEvent.h"
#include "dshow/CAutoLock.h"
#include "media/filters/videorenderer/win/CDVBAllocPresenter.h"
#include "media/filters/videorenderer/win/CPresenterHost.h"
#include "media/filters/videorenderer/win/CVideoStreamTable.h"

namespace test {

struct VideoFormat {
    int width, height;
    double aspect;
};

class CTestPresenterHost : public videorenderer::CPresenterHost, public videorenderer::CDVBAllocPresenter::COwner {
public:
    CTestPresenterHost();
    ~CTestPresenterHost() override;
    bool Ready() const { return m_device != nullptr; }

    bool HasWindow() override { return m_window != nullptr; }
    videorenderer::CVideoStreamTable* VideoStreamTable() override { return &m_table; }
    IDirect3DDevice9* Device() override { return m_device; }
    void LockDevice() override { m_deviceLock.Lock(); }
    void UnlockDevice() override { m_deviceLock.Unlock(); }
    void SignalRender() override
    {
        InterlockedIncrement(&m_renderSignals);
        m_render.Set();
    }
    void SetVideoFormat(int width, int height, double aspect) override
    {
        dshow::CAutoLock lock(&m_recordLock);
        m_formats.push_back({width, height, aspect});
    }
    void PostPresentationTime(REFERENCE_TIME start) override
    {
        dshow::CAutoLock lock(&m_recordLock);
        m_times.push_back(start);
    }

    HRESULT ResetDevice();
    // Level 0 of a render-target texture as rows of B, G, R, X bytes (width x height pixels).
    std::vector<uint8_t> ReadTexture(IDirect3DTexture9* texture, UINT width, UINT height);
    std::vector<REFERENCE_TIME> Times()
    {
        dshow::CAutoLock lock(&m_recordLock);
        return m_times;
    }
    std::vector<VideoFormat> Formats()
    {
        dshow::CAutoLock lock(&m_recordLock);
        return m_formats;
    }
    void ClearRecords()
    {
        dshow::CAutoLock lock(&m_recordLock);
        m_times.clear();
        m_formats.clear();
    }
    volatile LONG m_renderSignals = 0;
    IDirect3D9* m_d3d = nullptr;

private:
    D3DPRESENT_PARAMETERS Parameters();

    HWND m_window = nullptr;
    IDirect3DDevice9* m_device = nullptr;
    dshow::CCritSec m_deviceLock;
    dshow::CAMEvent m_render;
    videorenderer::CVideoStreamTable m_table;
    dshow::CCritSec m_recordLock;
    std::vector<VideoFormat> m_formats;
    std::vector<REFERENCE_TIME> m_times;
};

} // namespace test
