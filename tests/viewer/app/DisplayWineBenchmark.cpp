// Timings of the viewer's display on Wine's Direct3D (reported, never asserted): Layout, which
// runs on every pointer move in a band, rewraps the guide's description and measures the logo's
// name; and one full frame with every panel shown at 1280 x 1024. Usage: bench_display_wine
// [program folder] (default: TOLVIK_PROGRAM).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../d3d/D3DTestWindow.h"
#include "../d3d/WineTiming.h"
#include "viewer/CQORDisplay.h"
#include "viewer/ViewerGlobals.h"
#include "viewer/epg/CEPGEvent.h"

namespace {


std::wstring ProgramFolder(int argc, char** argv)
{
    std::string path = argc > 1 ? argv[1] : (std::getenv("TOLVIK_PROGRAM") ? std::getenv("TOLVIK_PROGRAM") : "");
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        path = "Z:" + path;
    }
    return std::wstring(path.begin(), path.end());
}

} // namespace

int main(int argc, char** argv)
{
    D3DTestWindow test;
    if (test.created != S_OK) {
        std::printf("no Direct3D device\n");
        return 1;
    }
    g_appFolder = ProgramFolder(argc, argv).c_str();
    CQORDisplay display;
    LARGE_INTEGER t0 = Now();
    display.Create(&test.handler);
    LARGE_INTEGER t1 = Now();
    std::printf("Create (67 textures, 3 fonts, 22 rows): %.1f ms, %zu textures\n", Milliseconds(t0, t1),
                display.GetTextures().GetCount());
    test.handler.SetClientSize(1280, 1024);
    display.SetSize(1280, 1024);

    // Everything up, with text in every place that wraps or measures.
    display.ShowBackground(true);
    display.ShowGuide(true);
    display.ShowTeletext(true);
    display.ShowSubtitles(true);
    display.ShowControls(true);
    display.ShowTopBars(true);
    display.ShowMenu(true);
    display.ShowVolume(true);
    display.ShowSwitcher(true);
    display.ShowRecorded(true);
    display.ShowChannelList(true);
    display.ShowTune(true);
    display.SetRecordIcon(1);
    display.SetScrambledIcon(true);
    display.SetMutedIcon(true);
    display.SetNoDataIcon(true);
    display.SetChannelName(L"Channel Twenty-Three HD");
    display.SetInfoText(0, L"20:00 Evening news");
    display.SetInfoText(1, L"20:30 Weather");
    CEPGEvent event;
    event.m_title = L"Evening news";
    event.m_text = L"News";
    event.m_extraText = L"The day's events at home and abroad, with sport and the weather for the night "
                        L"and the next day, and an interview with a guest of the studio about the week.";
    event.m_genre = 2;
    display.ShowEventDetails(&event);
    for (int i = 0; i < 40; ++i) {
        display.AddChannelListItem(std::to_wstring(i + 1).c_str(), L"Channel", i, 0, i == 0);
        display.AddTuneItem(std::to_wstring(i + 1).c_str(), L"Channel", i, 0);
    }
    display.AddSwitcherItem(L"English", 0x10000, 1);
    display.AddSwitcherItem(L"Deutsch", 0x10001, 0);

    std::vector<double> layouts;
    for (int i = 0; i < 200; ++i) {
        t0 = Now();
        display.Layout();
        layouts.push_back(Milliseconds(t0, Now()));
    }
    std::printf("Layout at 1280 x 1024: median %.3f ms\n", Median(layouts));

    IDirect3DDevice9* device = test.handler.GetDevice();
    std::vector<double> frames;
    for (int i = 0; i < 60; ++i) {
        t0 = Now();
        {
            base::CScopedLock lock(test.handler.DeviceLock());
            device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
            if (SUCCEEDED(device->BeginScene())) {
                display.Render(1.0f);
                device->EndScene();
            }
            device->Present(nullptr, nullptr, nullptr, nullptr);
        }
        if (i >= 10) // the transitions have run by then
            frames.push_back(Milliseconds(t0, Now()));
        Sleep(20);
    }
    std::printf("Full frame, every panel shown, 1280 x 1024 layout: median %.2f ms\n", Median(frames));
    return 0;
}
