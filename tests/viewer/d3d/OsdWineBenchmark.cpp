// Timings of the OSD on Wine's Direct3D (reported, never asserted): a frame of clear, a tree of
// panels and present; a memo's word wrap of 1 kB beside GDI's own DrawText wrap; the user-interface thread's wait for its lock while frames are drawn at
// 50 Hz; the three skin fonts' creation; a 300-character layout; a string's draw with no GDI call.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include "D3DTestWindow.h"
#include "WineTiming.h"
#include "viewer/d3d/CRenderThread.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/Memo.h"
#include "viewer/osd/Panel.h"
#include "viewer/d3d/COSDFont.h"
#include "viewer/d3d/FontList.h"

using namespace OnScreenDisplay;


int main()
{
    D3DTestWindow test;
    if (test.created != S_OK) {
        std::printf("no Direct3D device\n");
        return 1;
    }
    IDirect3DDevice9* device = test.handler.GetDevice();
    const int w = static_cast<int>(test.handler.GetPresentParameters().BackBufferWidth);
    const int h = static_cast<int>(test.handler.GetPresentParameters().BackBufferHeight);

    LARGE_INTEGER t0 = Now();
    FontList fonts;
    fonts.Add(L"normal", L"Tahoma", 26, false, false);
    fonts.Add(L"bold", L"Tahoma", 26, true, false);
    fonts.Add(L"big", L"Tahoma", 40, true, false);
    std::printf("three fonts created: %.1f ms\n", Milliseconds(t0, Now()));

    COSDFont* normal = fonts.Lookup(L"normal");
    std::u16string text;
    for (int i = 0; i < 300; ++i)
        text.push_back(static_cast<char16_t>(u'a' + i % 26));
    COSDString laid;
    std::vector<double> layouts;
    for (int i = 0; i < 50; ++i) {
        t0 = Now();
        laid.Layout(normal->Atlas(), text);
        layouts.push_back(Milliseconds(t0, Now()));
    }
    std::printf("layout of 300 characters: %.3f ms (median of 50)\n", Median(layouts));

    // A memo rewraps its text on every display layout, measuring each word through the atlas:
    // a guide description of about 1 kB in a 600-pixel column, beside GDI wrapping the same text
    // in the same face with DrawText (the platform's own word break).
    std::u16string description;
    for (int i = 0; description.size() < 1024; ++i)
        description += i % 7 ? u"evening " : u"documentary\u00e9s ";
    {
        Display memoRoot;
        memoRoot.Create(test.handler.GetSurface());
        memoRoot.SetSize(w, h);
        auto* memo = new Memo();
        memo->SetParent(&memoRoot);
        memo->SetFont(normal);
        memo->SetRect(0, 0, 600, static_cast<float>(h));
        memo->SetText(description);
        std::vector<double> wraps, peers;
        for (int i = 0; i < 50; ++i) {
            t0 = Now();
            memo->Layout();
            wraps.push_back(Milliseconds(t0, Now()));
        }
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT gdiFont = CreateFontW(-26, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                    ANTIALIASED_QUALITY, 0, L"Tahoma");
        HGDIOBJ old = SelectObject(dc, gdiFont);
        const std::wstring wide(description.begin(), description.end());
        for (int i = 0; i < 50; ++i) {
            RECT r{0, 0, 600, 0};
            t0 = Now();
            DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, DT_WORDBREAK | DT_CALCRECT);
            peers.push_back(Milliseconds(t0, Now()));
        }
        SelectObject(dc, old);
        DeleteObject(gdiFont);
        DeleteDC(dc);
        std::printf("memo wrap of %zu characters into %zu lines: %.3f ms; GDI DrawText wrap %.3f ms; "
                    "ratio (GDI/ours) %.2f\n", description.size(), memo->GetLines().size(), Median(wraps),
                    Median(peers), Median(peers) / Median(wraps));
    }

    // A tree of ten panels, each a quad and a label, over the whole back buffer.
    Display root;
    root.Create(test.handler.GetSurface());
    root.SetSize(w, h);
    for (int i = 0; i < 10; ++i) {
        auto* panel = new Panel();
        panel->SetRect(20.0f * i, 40.0f * i, w - 20.0f * i, 40.0f * i + 80);
        root.AddChild(panel);
        panel->SetState(Panel::Shown);
        auto* image = new Image();
        image->SetRect(0, 0, panel->GetRect().Width(), 80);
        image->SetParent(panel);
        auto* label = new Label();
        label->SetRect(10, 20, 400, 60);
        label->SetParent(panel);
        label->SetFont(normal);
        label->SetText(u"Alpha TV \u2013 evening news");
    }
    std::vector<double> frames, draws;
    for (int i = 0; i < 100; ++i) {
        base::CScopedLock lock(test.handler.DeviceLock());
        t0 = Now();
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        const LARGE_INTEGER d0 = Now();
        root.Render(1.0f);
        draws.push_back(Milliseconds(d0, Now()));
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
        frames.push_back(Milliseconds(t0, Now()));
    }
    std::printf("frame of clear, 10 panels with text and present at %dx%d: %.2f ms (median of 100); "
                "the tree alone: %.3f ms\n", w, h, Median(frames), Median(draws));

    // The user-interface thread's wait for its lock while the render thread draws at 50 Hz.
    base::CCriticalSection uiLock;
    CRenderThread thread(test.handler, uiLock, root, test.window);
    thread.Create();
    thread.Run();
    std::atomic<bool> stop{false};
    HANDLE event = test.handler.GetRenderEvent();
    HANDLE ticker = CreateThread(nullptr, 0, [](void* p) -> DWORD {
        auto* args = static_cast<std::pair<std::atomic<bool>*, HANDLE>*>(p);
        while (!*args->first) {
            SetEvent(args->second);
            Sleep(20);
        }
        return 0;
    }, new std::pair<std::atomic<bool>*, HANDLE>(&stop, event), 0, nullptr);
    std::vector<double> waits;
    for (int i = 0; i < 100; ++i) {
        t0 = Now();
        uiLock.Lock();
        waits.push_back(Milliseconds(t0, Now()));
        uiLock.Unlock();
        Sleep(7);
    }
    stop = true;
    WaitForSingleObject(ticker, INFINITE);
    CloseHandle(ticker);
    thread.Exit();
    std::sort(waits.begin(), waits.end());
    std::printf("user-interface lock wait while drawing at 50 Hz: median %.3f ms, 95th %.3f ms, max %.3f ms\n",
                waits[waits.size() / 2], waits[waits.size() * 95 / 100], waits.back());
    return 0;
}
