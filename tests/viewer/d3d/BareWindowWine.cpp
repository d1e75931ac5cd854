// The floor a Direct3D 9 window costs under Wine, for the viewer's benchmark to set beside the
// viewer: a window with a device made as the viewer makes its own (primary-screen-sized back
// buffer, copy swap, software vertex processing, multithreaded), paced as the viewer's render
// thread is: at the display mode's refresh (60 Hz when it reports none) it clears and presents, but
// only when the picture changed, for the seconds given (default 10), then it ends. With "video" it
// also does what the video path asks of Wine: a 720x576 YUY2 frame written into an offscreen
// surface and stretched into a power-of-two render-target texture 50 times a second (the renderer),
// and that texture drawn on a quad with DrawPrimitiveUP at the next refresh (the render thread).
// It answers the viewer's frame-count message (presented, drawn, video frames) as the viewer does.
#include <windows.h>

#include <d3d9.h>

#include <cstdlib>
#include <cstring>

namespace {

struct Vertex {
    float x, y, z, rhw, u, v;
};

constexpr UINT kFrameCountsMessage = 2031;
unsigned g_counts[3]; // presented, drawn, video frames

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kFrameCountsMessage)
        return wParam < 3 ? g_counts[wParam] : 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv)
{
    const DWORD seconds = argc > 1 ? DWORD(std::atoi(argv[1])) : 10;
    const bool video = argc > 2 && std::strcmp(argv[2], "video") == 0;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BareDirect3DWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"bare Direct3D 9 window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                736, 615, nullptr, nullptr, wc.hInstance, nullptr);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!window || !d3d)
        return 1;
    D3DPRESENT_PARAMETERS pp = {};
    pp.BackBufferWidth = GetSystemMetrics(SM_CXSCREEN);
    pp.BackBufferHeight = GetSystemMetrics(SM_CYSCREEN);
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_COPY;
    pp.hDeviceWindow = window;
    pp.Windowed = TRUE;
    pp.Flags = D3DPRESENTFLAG_DEVICECLIP | D3DPRESENTFLAG_VIDEO;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    IDirect3DDevice9* device = nullptr;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED, &pp, &device)))
        return 1;
    IDirect3DTexture9* texture = nullptr;
    IDirect3DSurface9* frame = nullptr;
    if (video && (FAILED(device->CreateTexture(1024, 1024, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                                               &texture, nullptr)) ||
                  FAILED(device->CreateOffscreenPlainSurface(720, 576, D3DFMT_YUY2, D3DPOOL_DEFAULT, &frame, nullptr))))
        return 1;
    const RECT picture = {0, 0, 720, 576};
    // As the viewer draws: only the part of the back buffer that the client area covers, presented
    // unscaled.
    RECT client;
    GetClientRect(window, &client);
    client.right = client.right < LONG(pp.BackBufferWidth) ? client.right : LONG(pp.BackBufferWidth);
    client.bottom = client.bottom < LONG(pp.BackBufferHeight) ? client.bottom : LONG(pp.BackBufferHeight);
    const D3DVIEWPORT9 viewport = {0, 0, DWORD(client.right), DWORD(client.bottom), 0.0f, 1.0f};
    const float w = float(client.right), h = float(client.bottom);
    const Vertex quad[4] = {{0, 0, 0, 1, 0, 0}, {w, 0, 0, 1, 720.0f / 1024, 0}, {0, h, 0, 1, 0, 576.0f / 1024},
                            {w, h, 0, 1, 720.0f / 1024, 576.0f / 1024}};
    D3DDISPLAYMODE mode{};
    const DWORD period = 1000 / (SUCCEEDED(device->GetDisplayMode(0, &mode)) && mode.RefreshRate ? mode.RefreshRate : 60);
    DWORD nextFrame = GetTickCount(), nextRefresh = GetTickCount(), frames = 0;
    bool changed = true;
    const DWORD end = GetTickCount() + seconds * 1000;
    while (int(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        if (video && int(GetTickCount() - nextFrame) >= 0) {
            nextFrame += 20;
            D3DLOCKED_RECT locked;
            if (SUCCEEDED(frame->LockRect(&locked, &picture, 0))) {
                for (int y = 0; y < 576; ++y)
                    std::memset(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, int(frames + y) & 0xFF, 720 * 2);
                frame->UnlockRect();
            }
            ++frames;
            IDirect3DSurface9* level = nullptr;
            if (SUCCEEDED(texture->GetSurfaceLevel(0, &level))) {
                device->StretchRect(frame, &picture, level, &picture, D3DTEXF_NONE);
                level->Release();
            }
            changed = true;
            ++g_counts[2];
        }
        const DWORD now = GetTickCount();
        if (int(now - nextRefresh) >= 0) {
            nextRefresh += period;
            if (int(now - nextRefresh) >= 0)
                nextRefresh = now + period;
            if (changed) {
                changed = false;
                device->SetViewport(&viewport);
                device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
                if (SUCCEEDED(device->BeginScene())) {
                    if (video) {
                        device->SetTexture(0, texture);
                        device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
                        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
                    }
                    device->EndScene();
                }
                ++g_counts[1];
                if (SUCCEEDED(device->Present(&client, nullptr, nullptr, nullptr)))
                    ++g_counts[0];
            }
        }
        // Until the next refresh or video frame, whichever comes first, or a message.
        const DWORD after = GetTickCount();
        int wait = int(nextRefresh - after);
        if (video && int(nextFrame - after) < wait)
            wait = int(nextFrame - after);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait > 0 ? DWORD(wait) : 0, QS_ALLINPUT);
    }
    if (frame)
        frame->Release();
    if (texture)
        texture->Release();
    device->Release();
    d3d->Release();
    DestroyWindow(window);
    return 0;
}
