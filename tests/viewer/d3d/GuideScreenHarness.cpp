// Shows the programme guide in a real window on Wine's Direct3D for a screen grab. Usage:
//   guide_screen_harness EVENTS READY QUIT CORNER_PNG
// EVENTS lists "now <utc>" and then "channel <name>" lines each followed by its events as
// "event <utc start> <minutes> <genre> <title>". The harness fills the guide's model from it, draws
// at 25 frames a second, writes READY ("x y width height" of the client area on the screen) once
// frames are on the screen, and exits when QUIT appears (or after two minutes). CORNER_PNG is the
// skin's genre corner (one frame in a 1-pixel border).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "viewer/d3d/CD3DHandler.h"
#include "viewer/epg/CEPGData.h"
#include "viewer/osd/Display.h"
#include "viewer/epg/ProgramGuide2.h"
#include "viewer/osd/Scale.h"
#include "viewer/d3d/COSDFont.h"
#include "viewer/d3d/COSDTexture.h"
#include "viewer/d3d/FontList.h"

using namespace OnScreenDisplay;

namespace {

constexpr int kWidth = 1024, kHeight = 600;
int64_t g_now = 0;
int64_t FixedNow() { return g_now; }

// A white one-frame texture of w x h: the guide colours the marker by modulation.
COSDTexture* WhiteTexture(int w, int h)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    for (int i = 0; i < w * h; ++i)
        static_cast<uint32_t*>(bits)[i] = 0xFFFFFFFF;
    HRESULT hr = E_FAIL;
    auto* texture = new COSDTexture(nullptr, &hr, 1);
    texture->AddRef();
    if (FAILED(hr) || FAILED(texture->SetBitmap(bitmap, 0, 0, w, h))) {
        texture->Release();
        texture = nullptr;
    }
    DeleteObject(bitmap);
    return texture;
}

bool Fill(const char* path, CEPGData** model)
{
    std::ifstream in(path);
    std::string line;
    CEPGChannel* channel = nullptr;
    uint32_t key = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        if (kind == "now") {
            fields >> g_now;
            *model = new CEPGData(g_now);
            if ((*model)->BeginUpdate() != 0)
                return false;
        } else if (kind == "channel" && *model) {
            std::string name;
            fields >> name;
            (*model)->AddChannel(CString(std::wstring(name.begin(), name.end()).c_str()), ++key, 0xA0, &channel);
        } else if (kind == "event" && channel) {
            int64_t start = 0;
            int minutes = 0;
            uint32_t genre = 0;
            std::string title;
            fields >> start >> minutes >> genre >> title;
            (*model)->AddEvent(channel, CString(std::wstring(title.begin(), title.end()).c_str()), ++key, 0xB0, start,
                               minutes, genre, CString(), CString(), 0);
        }
    }
    return *model && (*model)->Publish() == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5)
        return 2;
    CEPGData* model = nullptr;
    if (!Fill(argv[1], &model)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TolvikGuideScreen";
    RegisterClassW(&wc);
    HWND window = nullptr;
    for (int attempt = 0; attempt < 20 && !window; ++attempt) {
        if (attempt)
            Sleep(250);
        window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Guide", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                 kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    }
    CD3DHandler handler;
    if (!window || FAILED(handler.Create(window, window))) {
        std::fprintf(stderr, "no window or no Direct3D device\n");
        return 1;
    }
    SetScale(1.0f);
    FontList fonts;
    fonts.Add(L"normal", L"Tahoma", 26, false, false);
    const std::string cornerPath = argv[4];
    HRESULT loaded = E_FAIL;
    auto* corner = new COSDTexture(std::wstring(cornerPath.begin(), cornerPath.end()).c_str(), &loaded, 1);
    corner->AddRef();
    if (FAILED(loaded)) {
        std::fprintf(stderr, "cannot load %s\n", argv[4]);
        return 1;
    }
    COSDTexture* marker = WhiteTexture(54, 56);

    Display root;
    root.Create(handler.GetSurface());
    root.SetSize(kWidth, kHeight);
    auto* guide = new ProgramGuide2();
    guide->SetParent(&root);
    guide->SetRect(0, 0, kWidth, kHeight);
    guide->SetFont(fonts.Lookup(L"normal"));
    guide->SetCornerTexture(corner);
    guide->SetNowTexture(marker);
    guide->SetModel(model);
    guide->m_clock = FixedNow;

    bool announced = false;
    for (int frame = 0; frame < 25 * 120 && GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES; ++frame) {
        {
            base::CScopedLock lock(handler.DeviceLock());
            IDirect3DDevice9* device = handler.GetDevice();
            device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
            device->BeginScene();
            root.Render(1.0f);
            device->EndScene();
            device->Present(nullptr, nullptr, nullptr, nullptr);
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        if (frame == 10 && !announced) {
            POINT origin{0, 0};
            ClientToScreen(window, &origin);
            std::ofstream ready(argv[2]);
            ready << origin.x << ' ' << origin.y << ' ' << kWidth << ' ' << kHeight << '\n';
            announced = true;
        }
        Sleep(40);
    }
    root.DeleteChildren();
    corner->Release();
    marker->Release();
    handler.ReleaseDevice();
    DestroyWindow(window);
    delete model;
    return 0;
}
