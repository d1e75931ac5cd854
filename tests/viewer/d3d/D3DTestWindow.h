// A visible 640 x 480 window under Xvfb with the viewer's Direct3D device on it, for tests that
// draw for real and read the result back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "viewer/d3d/CD3DHandler.h"

class D3DTestWindow {
public:
    D3DTestWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TolvikD3DTest";
        RegisterClassW(&wc);
        RECT r{0, 0, 640, 480};
        AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
        // Right after the Wine session comes up, window creation has been seen to fail at once:
        // try again for a few seconds before giving up.
        for (int attempt = 0; attempt < 20 && !window; ++attempt) {
            if (attempt)
                Sleep(250);
            window = CreateWindowW(L"TolvikD3DTest", L"Direct3D test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                   r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
        }
        if (window)
            created = handler.Create(window, window);
    }
    ~D3DTestWindow()
    {
        handler.ReleaseDevice();
        if (window)
            DestroyWindow(window);
    }

    // The whole back buffer as 0xRRGGBB rows (empty when unreadable).
    std::vector<uint32_t> BackBuffer(int* width, int* height)
    {
        base::CScopedLock lock(handler.DeviceLock());
        IDirect3DDevice9* d = handler.GetDevice();
        IDirect3DSurface9* back = nullptr;
        IDirect3DSurface9* copy = nullptr;
        std::vector<uint32_t> pixels;
        D3DSURFACE_DESC desc;
        if (d && SUCCEEDED(d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) && SUCCEEDED(back->GetDesc(&desc)) &&
            SUCCEEDED(d->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                     nullptr)) &&
            SUCCEEDED(d->GetRenderTargetData(back, copy))) {
            D3DLOCKED_RECT locked;
            if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
                *width = static_cast<int>(desc.Width);
                *height = static_cast<int>(desc.Height);
                pixels.resize(desc.Width * desc.Height);
                for (UINT y = 0; y < desc.Height; ++y)
                    for (UINT x = 0; x < desc.Width; ++x)
                        pixels[y * desc.Width + x] = reinterpret_cast<const uint32_t*>(
                                                         static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch)[x] &
                                                     0xFFFFFF;
                copy->UnlockRect();
            }
        }
        if (copy)
            copy->Release();
        if (back)
            back->Release();
        return pixels;
    }

    // The back buffer's pixel at a fraction of its size, as 0xRRGGBB (0xDEADBEEF when unreadable).
    uint32_t BackBufferPixel(float fx, float fy)
    {
        int w = 0, h = 0;
        const std::vector<uint32_t> pixels = BackBuffer(&w, &h);
        if (pixels.empty())
            return 0xDEADBEEF;
        return pixels[static_cast<size_t>(static_cast<int>(fy * h)) * w + static_cast<int>(fx * w)];
    }

    HWND window = nullptr;
    CD3DHandler handler;
    HRESULT created = E_FAIL;
};
