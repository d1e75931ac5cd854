// The floor a Direct3D 9 window costs under Wine, for the viewer's benchmark to set beside the
// viewer: a window with a device made as the viewer makes its own (primary-screen-sized back
// buffer, copy swap, software vertex processing, multithreaded), cleared and presented every 5 ms
// as the viewer's render thread redraws, for the seconds given (default 10), then it ends.
#include <windows.h>

#include <d3d9.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    const DWORD seconds = argc > 1 ? DWORD(std::atoi(argv[1])) : 10;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
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
    const DWORD end = GetTickCount() + seconds * 1000;
    while (int(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
        if (SUCCEEDED(device->BeginScene()))
            device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    device->Release();
    d3d->Release();
    DestroyWindow(window);
    return 0;
}
