#include "media/playback/win/TestPlaybackHost.h"

#include "dshow/CAutoLock.h"
#include "media/filters/videorenderer/win/CVideoStreamTable.h"
#include "media/playback/win/CDVBPlayback.h"

namespace test {

CTestPlaybackHost::CTestPlaybackHost()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &CTestPlaybackHost::ReceiverProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TolvikTestFrame";
    RegisterClassW(&wc);
    m_receiver = CreateWindowExW(0, wc.lpszClassName, L"frame", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                 nullptr);
    if (m_receiver)
        SetWindowLongPtrW(m_receiver, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CTestPlaybackHost::~CTestPlaybackHost()
{
    if (m_receiver)
        DestroyWindow(m_receiver);
}

LRESULT CALLBACK CTestPlaybackHost::ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CTestPlaybackHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == playback::CDVBPlayback::kPresentationTimeMessage) {
        self->m_frameTimes.push_back(int64_t(uint64_t(uint32_t(wParam)) | uint64_t(uint32_t(lParam)) << 32));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool CTestPlaybackHost::PumpUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        const DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds)
            return false;
        // Wakes for the next message, or looks again at the condition a little later.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(milliseconds - spent, 20), QS_ALLINPUT);
    }
}

std::vector<uint8_t> CTestPlaybackHost::ReadSlot(int slot, UINT width, UINT height)
{
    videorenderer::CVideoStreamTable* table = m_inner.VideoStreamTable();
    IDirect3DTexture9* texture = nullptr;
    {
        dshow::CAutoLock lock(table->Lock());
        videorenderer::CVideoStream* stream = table->Stream(slot);
        if (stream && stream->Texture()) {
            texture = stream->Texture();
            texture->AddRef();
        }
    }
    if (!texture)
        return {};
    std::vector<uint8_t> pixels = m_inner.ReadTexture(texture, width, height);
    texture->Release();
    return pixels;
}

} // namespace test
