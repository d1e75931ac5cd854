// The main frame as the user sees it, with its real graphs and the program folder's skin: a
// television service of an ffmpeg-made multiplex shows its name, the several-languages icon and
// its moving test pattern on the X server; a radio service shows the background; a device
// re-created after the monitor was forgotten goes on showing pictures.
#include <gtest/gtest.h>

#include <winsock2.h> // the main frame's multicast parts need it before <windows.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <ctime>
#include <thread>
#include <tuple>
#include <string>
#include <vector>

#include "support/HostProgram.h"
#include "support/TestMedia.h"
#include "RecordingFolderProfile.h"
#include "TestEngineUserInterface.h"
#include "base/Utf16.h"
#include "viewer/WideText.h"
#include "viewer/MainFrm.h"
#include "viewer/ViewerGlobals.h"
#include "viewer/osd/Label.h"
#include "viewer/panels/CQORBackgroundpanel.h"
#include "viewer/panels/CQORChannelLogoPanel.h"
#include "viewer/panels/CQOREPGPanel.h"
#include "viewer/panels/CQOREPGScrollPanel.h"
#include "viewer/panels/CQORInfoPanel.h"
#include "viewer/panels/CQORStatusIcon.h"
#include "viewer/panels/CQORTopPanel.h"
#include "viewer/osd/PushButton.h"

namespace {

constexpr uint16_t kFileTsid = 0xFFFF; // a file's channels get this transport_stream_id
constexpr wchar_t kProfileKey[] = L"Software\\Harvo\\TolvikScreenTest";
constexpr int kWidth = 640, kHeight = 480;
// Where the test pattern's moving colour strip shows and no panel covers it.
const OnScreenDisplay::RectF kStrip{20, 350, 380, 390};

class CScreenTestApp : public CWinApp {
public:
    CScreenTestApp() : CWinApp(L"qor") {}
} g_app;

// The frame, counting the presentation times its live graph posts.
class CScreenFrame : public CMainFrame {
public:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message == WM_QOR_FRAME_TIME)
            ++frameTimes;
        return CMainFrame::OnWndMsg(message, wParam, lParam, result);
    }
    unsigned frameTimes = 0;
};

using OnScreenDisplay::Component;
using OnScreenDisplay::Control;
using OnScreenDisplay::Panel;
using test::PumpUntil;

CString WindowsPath(const std::string& path)
{
    std::wstring out = path.size() >= 2 && path[1] == ':' ? L"" : L"Z:";
    for (char c : path)
        out += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return CString(out.c_str());
}

bool IsUp(const Panel* p) { return p && p->GetState() == Panel::Shown; }

// A 24-bit bitmap file of one colour.
bool WriteBitmap(const CString& path, int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    std::vector<uint8_t> pixels(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * stride + x * 3 + 2] = 0xE0; // red
    HANDLE out = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
                    WriteFile(out, &info, sizeof(info), &written, nullptr) &&
                    WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
    return ok;
}

// A control's rectangle in client pixels.
OnScreenDisplay::RectF ClientRect(Control* control)
{
    OnScreenDisplay::RectF r = control->GetRect();
    for (Component* c = control->GetParent(); c; c = c->GetParent())
        if (Control* parent = c->AsControl())
            OnScreenDisplay::OffsetRect(r, parent->GetRect().left, parent->GetRect().top);
    return r;
}

// The client area as the X server shows it, rgb24.
struct Grab {
    std::vector<uint8_t> rgb;
    const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * kWidth + x) * 3]; }
    // Mean absolute difference of two equal rectangles of this grab, or of this grab and another.
    double Difference(const OnScreenDisplay::RectF& a, const Grab& other, float dx = 0) const
    {
        double sum = 0;
        int n = 0;
        for (int y = static_cast<int>(a.top); y < static_cast<int>(a.bottom); ++y)
            for (int x = static_cast<int>(a.left); x < static_cast<int>(a.right); ++x, ++n)
                for (int k = 0; k < 3; ++k)
                    sum += std::abs(At(x, y)[k] - other.At(x + static_cast<int>(dx), y)[k]);
        return n ? sum / (3.0 * n) : 0;
    }
    // Shares of the picture band (the rows no panel covers) with a bright red or a bright green
    // channel: the test patterns have both; the background's dark blue has neither.
    void Colours(double& red, double& green) const
    {
        int r = 0, g = 0, n = 0;
        for (int y = kHeight / 5; y < kHeight * 3 / 5; y += 2)
            for (int x = kWidth / 5; x < kWidth * 4 / 5; x += 2, ++n) {
                r += At(x, y)[0] > 150;
                g += At(x, y)[1] > 150;
            }
        red = static_cast<double>(r) / n;
        green = static_cast<double>(g) / n;
    }
    bool ShowsPattern() const
    {
        double red, green;
        Colours(red, green);
        return red > 0.1 && green > 0.1;
    }
};

class FrameScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        if (name.find("SmallVolume") != std::string::npos && !getenv("TOLVIK_SMALL_VOLUME"))
            GTEST_SKIP() << "needs TOLVIK_SMALL_VOLUME, a tmpfs of a few megabytes";
        // The program folder's skin, copied: the engine keeps its files in the program folder.
        wchar_t temp[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
        m_folder = CString(temp) + L"tolvik_screen_" + CString(std::to_wstring(GetCurrentProcessId()).c_str());
        // A process of the same id that ended without its tear-down left its folder behind.
        RemoveFolder();
        ASSERT_TRUE(CreateDirectoryW(m_folder, nullptr));
        std::wstring from = (WindowsPath(test::ProgramPath("skins")) + L'\0').GetString();
        from += L'\0';
        std::wstring to = (m_folder + L'\0').GetString();
        to += L'\0';
        SHFILEOPSTRUCTW copy{};
        copy.wFunc = FO_COPY;
        copy.pFrom = from.c_str();
        copy.pTo = to.c_str();
        copy.fFlags = FOF_NO_UI;
        ASSERT_EQ(SHFileOperationW(&copy), 0);
        ASSERT_NE(GetFileAttributesW(m_folder + L"\\skins\\default\\logo_background.png"), INVALID_FILE_ATTRIBUTES);
        // Alpha TV's logo in the engine's logo folder (found by the channel's name), 3 : 1; Beta
        // Radio has none.
        ASSERT_TRUE(CreateDirectoryW(m_folder + L"\\Resources", nullptr));
        ASSERT_TRUE(CreateDirectoryW(m_folder + L"\\Resources\\tv_logos", nullptr));
        ASSERT_TRUE(WriteBitmap(m_folder + L"\\Resources\\tv_logos\\Alpha TV.bmp", 96, 32));

        RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
        g_app.SetRegistryKey(L"Harvo\\TolvikScreenTest");
        // The recordings folder, when the test is given one.
        if (const char* recordings = getenv("TOLVIK_SMALL_VOLUME")) {
            m_recordings = WindowsPath(recordings);
            ASSERT_TRUE(WriteRecordingFolder(kProfileKey, m_recordings.GetString()));
        }
        g_appFolder = m_folder;
        // COM before the frame, as the program does: the graphs are COM objects.
        m_com = SUCCEEDED(CoInitialize(nullptr));
        ASSERT_TRUE(m_com);
        m_frame = new CScreenFrame;
        ASSERT_TRUE(m_frame->LoadFrame(128, FWS_ADDTOTITLE, nullptr, nullptr));
        m_frame->SetWindowText(L"frame screen test");
        // On top of every other window: the grab takes whatever the X server shows there.
        const CSize size = m_frame->ClientToWindowSize(kWidth, kHeight);
        m_frame->SetWindowPos(&CWnd::wndTopMost, 0, 0, size.cx, size.cy, SWP_SHOWWINDOW);
        CRect client;
        m_frame->GetClientRect(&client);
        ASSERT_EQ(client.Width(), kWidth);
        ASSERT_EQ(client.Height(), kHeight);
    }
    void TearDown() override
    {
        if (m_folder.IsEmpty())
            return; // skipped
        if (m_frame && ::IsWindow(m_frame->m_hWnd))
            m_frame->DestroyWindow(); // deletes the frame
        if (m_com)
            CoUninitialize();
        RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
        RemoveFolder();
    }
    void RemoveFolder()
    {
        std::wstring folder = (m_folder + L'\0').GetString();
        folder += L'\0';
        SHFILEOPSTRUCTW remove{};
        remove.wFunc = FO_DELETE;
        remove.pFrom = folder.c_str();
        remove.fFlags = FOF_NO_UI;
        SHFileOperationW(&remove);
    }

    // The client area grabbed by ffmpeg from the X server; empty when none arrived in time.
    Grab GrabClient()
    {
        POINT origin{0, 0};
        ClientToScreen(m_frame->m_hWnd, &origin);
        const char* display = getenv("DISPLAY");
        const char* media = getenv("TOLVIK_MEDIA");
        if (!display || !media)
            return {};
        const std::string unixPath = std::string(media) + "/frame_screen_grab.rgb";
        const std::string path = test::MediaPath("frame_screen_grab.rgb");
        DeleteFileA(path.c_str());
        const std::string command = "/usr/bin/ffmpeg -v error -y -f x11grab -video_size " + std::to_string(kWidth) +
                                    "x" + std::to_string(kHeight) + " -i " + display + "+" +
                                    std::to_string(origin.x) + "," + std::to_string(origin.y) +
                                    " -frames:v 1 -f rawvideo -pix_fmt rgb24 " + unixPath;
        if (!test::StartHostProgram(command))
            return {};
        const size_t size = static_cast<size_t>(kWidth) * kHeight * 3;
        Grab grab;
        PumpUntil([&] {
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) || data.nFileSizeLow < size)
                return false;
            grab.rgb = test::ReadFileBytes(path);
            return grab.rgb.size() == size;
        });
        if (grab.rgb.size() != size)
            grab.rgb.clear();
        return grab;
    }
    // Grabs until one satisfies `wanted` (at most seconds); the last grab.
    template <class Wanted>
    Grab GrabUntil(Wanted wanted, int seconds = 15)
    {
        Grab grab;
        const ULONGLONG until = GetTickCount64() + seconds * 1000;
        do {
            grab = GrabClient();
            if (!grab.rgb.empty() && wanted(grab))
                break;
            PumpUntil([] { return false; }, 200);
        } while (GetTickCount64() < until);
        return grab;
    }
    // The controls and the info bar up, as a pointer move brings them.
    void ShowControls()
    {
        CQORDisplay& display = m_frame->GetDisplay();
        {
            base::CScopedLock ui(m_frame->GetUiLock());
            display.ShowControls(true);
        }
        EXPECT_TRUE(PumpUntil([&] { return IsUp(display.GetInfo()); }, 5000));
    }
    std::u16string ChannelName()
    {
        base::CScopedLock ui(m_frame->GetUiLock());
        CQORChannelLogoPanel* logo = m_frame->GetDisplay().GetChannelLogo();
        return logo && logo->m_name ? logo->m_name->GetText() : std::u16string();
    }
    bool MultiAudioIconSet()
    {
        base::CScopedLock ui(m_frame->GetUiLock());
        CQORInfoPanel* info = m_frame->GetDisplay().GetInfo();
        return info && info->m_multiAudioIcon && info->m_multiAudioIcon->IsVisible();
    }
    // The several-languages icon against the hidden teletext icon beside it, on the same bar.
    double IconContrast(const Grab& grab)
    {
        OnScreenDisplay::RectF icon, beside;
        {
            base::CScopedLock ui(m_frame->GetUiLock());
            CQORInfoPanel* info = m_frame->GetDisplay().GetInfo();
            icon = ClientRect(info->m_multiAudioIcon);
            beside = ClientRect(info->m_teletextIcon);
        }
        EXPECT_GE(icon.left, 0);
        EXPECT_LE(beside.right, kWidth);
        EXPECT_LE(icon.bottom, kHeight);
        return grab.Difference(icon, grab, beside.left - icon.left);
    }
    libDVB::CTSEngine* OpenServices()
    {
        libDVB::CTSEngine* device = nullptr;
        const std::u16string path = base::Utf8ToUtf16(test::MediaPath("frame_services/services.ts"));
        EXPECT_EQ(m_frame->GetEngine()->CreateFileDevice(path, &device, nullptr), S_OK);
        return device;
    }

    CString m_folder, m_recordings;
    bool m_com = false;
    CScreenFrame* m_frame = nullptr;
};

} // namespace

TEST_F(FrameScreenTest, TelevisionShowsNameIconAndPictureRadioTheBackground)
{
    // Idle: the background stands where the picture would.
    ASSERT_TRUE(PumpUntil([&] { return IsUp(m_frame->GetDisplay().GetBackground()); }, 5000));
    // The background is up in the tree before the render thread has drawn and presented it.
    const auto blueCentre = [](const Grab& g) {
        const uint8_t* c = g.At(kWidth / 2, kHeight / 2);
        return c[2] > c[0] + 20;
    };
    const Grab idle = GrabUntil(blueCentre);
    ASSERT_FALSE(idle.rgb.empty()) << "no grab from the X server";
    EXPECT_FALSE(idle.ShowsPattern());
    const uint8_t* centre = idle.At(kWidth / 2, kHeight / 2);
    EXPECT_GT(centre[2], centre[0] + 20) << "the background's blue";

    libDVB::CTSEngine* device = OpenServices();
    ASSERT_NE(device, nullptr);
    ASSERT_GE(m_frame->TuneStart(257, kFileTsid, -1), 0);
    ASSERT_EQ(device->StartStreaming(), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return ChannelName() == u"Alpha TV"; }, 10000));
    EXPECT_TRUE(MultiAudioIconSet()) << "an English and a German soundtrack";
    EXPECT_TRUE(PumpUntil([&] {
        videorenderer::CVideoStream* stream = m_frame->VideoStreamTable()->Stream(0);
        return stream && stream->Texture();
    }, 10000)) << "the presenter's pictures in the table";
    ShowControls();
    Grab tv = GrabUntil([](const Grab& g) { return g.ShowsPattern(); });
    ASSERT_FALSE(tv.rgb.empty());
    double red = 0, green = 0;
    tv.Colours(red, green);
    EXPECT_TRUE(tv.ShowsPattern()) << "the test pattern: red " << red << ", green " << green;
    EXPECT_FALSE(IsUp(m_frame->GetDisplay().GetBackground()));
    ShowControls();
    tv = GrabClient();
    ASSERT_FALSE(tv.rgb.empty());
    EXPECT_GT(IconContrast(tv), 20.0) << "the several-languages icon on the info bar";

    // The monitor forgotten, as after a move to another one: the device and the OSD are made
    // again, the live graph re-attached, and the pictures go on: the test pattern's colour strip
    // (below the panels' reach on the left) moves on, and the presenter posts frame times.
    m_frame->ForgetMonitor();
    m_frame->CheckMonitor();
    EXPECT_EQ(m_frame->GetMode(), 2);
    const unsigned presented = m_frame->frameTimes;
    EXPECT_TRUE(PumpUntil([&] { return m_frame->frameTimes > presented + 10; }, 10000));
    const Grab again = GrabUntil([&](const Grab& g) { return g.ShowsPattern() && g.Difference(kStrip, tv) > 3; });
    EXPECT_TRUE(again.ShowsPattern()) << "pictures after the re-creation";
    EXPECT_GT(again.Difference(kStrip, tv), 3.0) << "a moving picture";

    // The radio service: one soundtrack, no video; the background as when idle.
    ASSERT_GE(m_frame->TuneStart(258, kFileTsid, -1), 0);
    ASSERT_TRUE(SUCCEEDED(device->StartStreaming()));
    EXPECT_TRUE(PumpUntil([&] { return ChannelName() == u"Beta Radio"; }, 10000));
    EXPECT_TRUE(PumpUntil([&] { return IsUp(m_frame->GetDisplay().GetBackground()); }, 10000));
    EXPECT_FALSE(MultiAudioIconSet());
    ShowControls();
    const OnScreenDisplay::RectF band{kWidth / 5.0f, kHeight / 5.0f, kWidth * 4 / 5.0f, kHeight * 3 / 5.0f};
    const Grab radio = GrabUntil([&](const Grab& g) { return g.Difference(band, idle) < 8; });
    ASSERT_FALSE(radio.rgb.empty());
    EXPECT_FALSE(radio.ShowsPattern());
    EXPECT_LT(radio.Difference(band, idle), 8.0) << "the background, as when idle";
    EXPECT_LT(IconContrast(radio), 8.0) << "no several-languages icon";
    m_frame->StopAll();
}

TEST_F(FrameScreenTest, ChannelLogoFromTheLogoFolderElseTheDefault)
{
    const auto logoShown = [&](const char16_t* channel, float* aspect) {
        EXPECT_TRUE(PumpUntil([&] { return ChannelName() == channel; }, 10000)) << base::Utf16ToUtf8(channel);
        base::CScopedLock ui(m_frame->GetUiLock());
        CQORChannelLogoPanel* panel = m_frame->GetDisplay().GetChannelLogo();
        *aspect = panel->m_logo->m_aspect;
        return panel->m_logo->GetTexture() == panel->GetLogoImage() && panel->GetLogoImage() != panel->GetDefaultLogo();
    };
    libDVB::CTSEngine* device = OpenServices();
    ASSERT_NE(device, nullptr);
    float aspect = 0;
    // The logo file's picture, in its own shape; a channel without one gets the default; the first
    // channel's picture again when it comes back.
    for (const auto& [sid, channel, own] : {std::make_tuple(257, u"Alpha TV", true),
                                            std::make_tuple(258, u"Beta Radio", false),
                                            std::make_tuple(257, u"Alpha TV", true)}) {
        ASSERT_GE(m_frame->TuneStart(static_cast<uint16_t>(sid), kFileTsid, -1), 0);
        ASSERT_TRUE(SUCCEEDED(device->StartStreaming()));
        EXPECT_EQ(logoShown(channel, &aspect), own) << base::Utf16ToUtf8(channel);
        EXPECT_FLOAT_EQ(aspect, own ? 3.0f : 4.0f / 3.0f) << base::Utf16ToUtf8(channel);
    }
    m_frame->StopAll();
}

TEST_F(FrameScreenTest, GuideWindowFromTheEngineMovesTheMarkerAndTheTimeScale)
{
    // Two hours after the present window, from the engine's thread.
    const int64_t before = static_cast<int64_t>(std::time(nullptr));
    const int64_t start = CEPGData::InitialGridStart(before) + 4 * 1800;
    std::thread([&] { EXPECT_EQ(m_frame->SetEPGWindowStart(start), S_OK); }).join();
    const int64_t after = static_cast<int64_t>(std::time(nullptr));

    base::CScopedLock ui(m_frame->GetUiLock());
    CQOREPGPanel* guide = m_frame->GetDisplay().GetGuide();
    ASSERT_TRUE(guide && guide->m_guide && guide->m_guide->m_model && guide->m_header &&
                guide->m_header->m_timeScale);
    EXPECT_EQ(guide->m_guide->m_model->m_gridStart, start);
    EXPECT_GE(guide->m_guide->m_cursorTime, before) << "the marker at the present time";
    EXPECT_LE(guide->m_guide->m_cursorTime, after);
    // The time scale: the window's day and date, then the starts of its ten columns.
    const auto& items = guide->m_header->m_timeScale->Items();
    ASSERT_EQ(items.size(), 11u);
    const auto text = [](const CString& s) { return viewer::ToU16(s.GetString()); };
    EXPECT_NE(items[0].text.GetText().find(text(CMainFrame::DateText(start, false))), std::u16string::npos);
    EXPECT_EQ(items[1].text.GetText(), text(CMainFrame::TimeText(start, false)));
    EXPECT_EQ(items[10].text.GetText(), text(CMainFrame::TimeText(start + 9 * 1800, false)));
}

TEST_F(FrameScreenTest, TimeScaleFollowsEveryMoveOfTheGuideWindow)
{
    CQORDisplay& display = m_frame->GetDisplay();
    // Up as a key or a click finds it: its showing time has run, drawn to its end or not (the
    // render thread of a loaded machine had not drawn the guide's end within 5 s in 2 runs of 30).
    const auto shownNow = [&](Panel* panel) {
        base::CScopedLock ui(m_frame->GetUiLock());
        return panel && (panel->GetProgress(), panel->GetState() == Panel::Shown);
    };
    const auto window = [&] {
        base::CScopedLock ui(m_frame->GetUiLock());
        return display.GetGuide()->m_guide->m_model->m_gridStart;
    };
    // The labels above the grid: the window's day and date, then the starts of its ten columns.
    const auto labelsShowWindow = [&] {
        base::CScopedLock ui(m_frame->GetUiLock());
        CQOREPGPanel* guide = display.GetGuide();
        if (!guide || !guide->m_guide || !guide->m_header || !guide->m_header->m_timeScale)
            return false;
        const int64_t start = guide->m_guide->m_model->m_gridStart, span = guide->m_guide->m_model->m_columnSpan;
        const auto& items = guide->m_header->m_timeScale->Items();
        const auto text = [](const CString& t) { return viewer::ToU16(t.GetString()); };
        return items.size() == 11u &&
               items[0].text.GetText().find(text(CMainFrame::DateText(start, false))) != std::u16string::npos &&
               items[1].text.GetText() == text(CMainFrame::TimeText(start, false)) &&
               items[10].text.GetText() == text(CMainFrame::TimeText(start + 9 * span, false));
    };
    const auto key = [&](WPARAM vk) { m_frame->SendMessageW(WM_KEYDOWN, vk, 1); };
    // A click on one of the scroll pad's buttons, with the pointer brought onto it first.
    const auto clickPad = [&](OnScreenDisplay::Button* CQOREPGScrollPanel::*button) {
        OnScreenDisplay::RectF r;
        {
            base::CScopedLock ui(m_frame->GetUiLock());
            r = ClientRect(display.GetGuide()->m_scrollPad->*button);
        }
        const LPARAM at = MAKELPARAM(static_cast<int>((r.left + r.right) / 2), static_cast<int>((r.top + r.bottom) / 2));
        m_frame->SendMessageW(WM_MOUSEMOVE, 0, at);
        EXPECT_TRUE(PumpUntil([&] { return shownNow(display.GetGuide()->m_scrollPad); }, 5000));
        // A button takes a press only once the pointer has moved onto it while its pad was up.
        m_frame->SendMessageW(WM_MOUSEMOVE, 0, at);
        test::ClickClient(m_frame->m_hWnd, at);
    };

    // 'E' opens the guide on the engine's window.
    key('E');
    ASSERT_TRUE(PumpUntil([&] { return shownNow(display.GetGuide()); }, 5000));
    const int64_t opened = window();
    EXPECT_TRUE(labelsShowWindow()) << "opened";

    // The pad's right and left buttons move the window by half an hour each way.
    clickPad(&CQOREPGScrollPanel::m_right);
    EXPECT_TRUE(PumpUntil([&] { return window() == opened + 1800; }, 5000));
    EXPECT_TRUE(labelsShowWindow()) << "scrolled right";
    clickPad(&CQOREPGScrollPanel::m_left);
    clickPad(&CQOREPGScrollPanel::m_left);
    EXPECT_TRUE(PumpUntil([&] { return window() == opened - 1800; }, 5000));
    EXPECT_TRUE(labelsShowWindow()) << "scrolled left";

    // Down onto a row whose one event lies ten hours on: the window follows the selection.
    CMainFrame::EPGChannel channel = nullptr;
    const std::u16string name = u"Far", title = u"Late show";
    ASSERT_EQ(m_frame->BeginEPGUpdate(), S_OK);
    ASSERT_EQ(m_frame->AddEPGChannel(&name, 1, 2, &channel), S_OK);
    m_frame->AddEPGEvent(channel, &title, 3, 4, opened + 10 * 3600, 60, 0, nullptr, nullptr, 0);
    ASSERT_EQ(m_frame->CommitEPGUpdate(), S_OK);
    key(VK_DOWN);
    EXPECT_GT(window(), opened + 8 * 3600);
    EXPECT_TRUE(labelsShowWindow()) << "moved by the arrow keys";

    // Return jumps back to now.
    key(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return window() == opened; }, 5000));
    EXPECT_TRUE(labelsShowWindow()) << "jumped to now";

    // A display made again on a new device shows the window at once.
    m_frame->ForgetMonitor();
    m_frame->CheckMonitor();
    EXPECT_TRUE(labelsShowWindow()) << "after the device was made again";
}

TEST_F(FrameScreenTest, OnTopButtonShowsTheStateWhereverItChanges)
{
    CQORDisplay& display = m_frame->GetDisplay();
    const auto pushed = [&] {
        base::CScopedLock ui(m_frame->GetUiLock());
        CQORTopPanel* top = display.GetTopButtons();
        return top && top->m_alwaysOnTop && top->m_alwaysOnTop->IsPushed();
    };
    const auto topmost = [&] { return (GetWindowLongW(m_frame->m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };

    // The profile at start.
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, CString(kProfileKey) + L"\\qor", 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const DWORD on = 1;
    RegSetValueExW(key, L"OnTop", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof(on));
    RegCloseKey(key);
    m_frame->LoadWindowSettings();
    ASSERT_TRUE(m_frame->IsOnTop());
    EXPECT_TRUE(pushed()) << "from the profile";

    // The View menu's "Always on top" arrives as the window's command.
    m_frame->SendMessageW(WM_COMMAND, ID_VIEW_ALWAYS_ON_TOP, 0);
    EXPECT_FALSE(m_frame->IsOnTop());
    EXPECT_FALSE(topmost());
    EXPECT_FALSE(pushed()) << "from the View menu";

    // The button itself, clicked once the pointer at the top has brought the window buttons.
    m_frame->SendMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(kWidth / 2, 2));
    ASSERT_TRUE(PumpUntil([&] { return IsUp(display.GetTopButtons()); }, 5000));
    OnScreenDisplay::RectF r;
    {
        base::CScopedLock ui(m_frame->GetUiLock());
        r = ClientRect(display.GetTopButtons()->m_alwaysOnTop);
    }
    const LPARAM at = MAKELPARAM(static_cast<int>((r.left + r.right) / 2), static_cast<int>((r.top + r.bottom) / 2));
    m_frame->SendMessageW(WM_MOUSEMOVE, 0, at);
    test::ClickClient(m_frame->m_hWnd, at);
    EXPECT_TRUE(PumpUntil([&] { return m_frame->IsOnTop(); }, 5000));
    EXPECT_TRUE(topmost());
    EXPECT_TRUE(pushed()) << "from the button";

    // A display made again on a new device.
    m_frame->ForgetMonitor();
    m_frame->CheckMonitor();
    EXPECT_TRUE(pushed()) << "after the device was made again";
}

// Run by its own entry, in a mount namespace with a small tmpfs as the recordings folder: the
// recording ends at the reserve by the recorder's report while the pictures go on, and what it
// wrote is a program stream that ffprobe reads.
TEST_F(FrameScreenTest, RecordingIntoASmallVolumeEndsAtTheReserveWhilePicturesGoOn)
{
    ASSERT_FALSE(m_recordings.IsEmpty());
    libDVB::CTSEngine* device = OpenServices();
    ASSERT_NE(device, nullptr);
    ASSERT_GE(m_frame->TuneStart(257, kFileTsid, -1), 0);
    ASSERT_EQ(device->StartStreaming(), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return m_frame->frameTimes > 0; }, 10000)) << "pictures before the recording";
    m_frame->ToggleRecording();
    ASSERT_TRUE(m_frame->IsRecording());
    const auto iconShown = [&] {
        base::CScopedLock ui(m_frame->GetUiLock());
        CQORStatusIcon* icon = m_frame->GetDisplay().GetRecordIcon();
        return icon && (icon->GetState() == Panel::Showing || icon->GetState() == Panel::Shown);
    };
    EXPECT_TRUE(iconShown());
    EXPECT_TRUE(PumpUntil([&] { return !m_frame->IsRecording(); }, 20000)) << "the recorder reported the reserve";
    // The packet thread drops the recorder first and then waits for the OSD's lock, which the render
    // thread holds while it draws a frame, to hide the icon: it goes within that frame, not at once.
    EXPECT_TRUE(PumpUntil([&] { return !iconShown(); }, 1000)) << "the record icon hidden";
    const unsigned presented = m_frame->frameTimes;
    EXPECT_TRUE(PumpUntil([&] { return m_frame->frameTimes > presented + 10; }, 10000)) << "frame times after it";

    // The one file, of some megabytes but less than the volume; ffprobe names its format.
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(m_recordings + L"\\*.mpg", &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    EXPECT_GT(found.nFileSizeLow, 1000000u);
    const std::string recording = std::string(getenv("TOLVIK_SMALL_VOLUME")) + "/" +
                                  base::Utf16ToUtf8(reinterpret_cast<const char16_t*>(found.cFileName));
    const std::string report = std::string(getenv("TOLVIK_MEDIA")) + "/small_volume_probe.txt";
    DeleteFileA(test::MediaPath("small_volume_probe.txt").c_str());
    ASSERT_TRUE(test::StartHostProgram("/bin/sh -c \"ffprobe -v error -show_entries format=format_name:stream=codec_name "
                                       "-of csv=p=0 '" + recording + "' > '" + report + ".tmp' && mv '" + report +
                                       ".tmp' '" + report + "'\""));
    ASSERT_TRUE(PumpUntil([] { return test::FileExists(test::MediaPath("small_volume_probe.txt")); }, 20000));
    const std::vector<uint8_t> text = test::ReadFileBytes(test::MediaPath("small_volume_probe.txt"));
    const std::string probe(text.begin(), text.end());
    EXPECT_NE(probe.find("mpeg2video"), std::string::npos) << probe;
    EXPECT_NE(probe.find("mp2"), std::string::npos) << probe;
    EXPECT_NE(probe.find("\nmpeg\n"), std::string::npos) << "an MPEG program stream: " << probe;
    m_frame->StopAll();
}
