// The main frame's lists, recorded shows, media files and popups through its window: commands
// arrive as WM_COMMAND, popups are the platform's menus chosen with keys, the channel engine is the
// real one on a transport-stream file and the file graph is the real one on ffmpeg-made files.
#include <gtest/gtest.h>

#include <winsock2.h> // the main frame's multicast parts need it before <windows.h>
#include <windows.h>
#include <dlgs.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/TestMedia.h"
#include "MainFrameFixture.h"
#include "TestEngineUserInterface.h"
#include "base/Utf16.h"
#include "viewer/MainFrm.h"
#include "viewer/ViewerGlobals.h"
#include "viewer/panels/CQORBackgroundpanel.h"
#include "viewer/panels/CQORChannelsPanel.h"
#include "viewer/osd/Seekbar.h"
#include "viewer/panels/CQORInfoPanel.h"
#include "viewer/panels/CQORRecordedPanel.h"
#include "viewer/panels/CQORSwitcherPanel.h"

namespace {


class CFilesTestApp : public CWinApp {
public:
    CFilesTestApp() : CWinApp(L"qor") {}
} g_app;

using test::PumpUntil;

std::string Narrow(const std::u16string& text)
{
    return base::Utf16ToUtf8(text);
}

// A Unix path as the platform names it on the drive that maps the root.
CString WindowsPath(const std::string& path)
{
    CString out = path.size() > 1 && path[1] == ':' ? CString() : CString(L"Z:");
    for (char c : path)
        out += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return out;
}

// A live graph that only counts packets and a file graph whose opens are logged.
class CFilesRelay : public CLiveRelay {
public:
    using CLiveRelay::CLiveRelay;
    std::vector<CString> opened;
    std::atomic<unsigned> packets{0};
    // Raw video behind the AVI Splitter can hang the real graph's state changes under this
    // platform: such a file is then only reported as opened with video.
    bool fakeVideo = false;

    HRESULT LiveBuildGraph() override { return S_OK; }
    void LiveDestroyGraph() override {}
    // The stand-in graph applies every stream change it is given, so the recorder follows them.
    HRESULT LiveSetStreams(uint16_t videoPid, uint16_t audioPid, int, uint16_t) override
    {
        m_video = videoPid;
        m_audio = audioPid;
        return S_OK;
    }
    void LiveGetStreamPids(uint16_t& videoPid, uint16_t& audioPid) override
    {
        videoPid = m_video;
        audioPid = m_audio;
    }
    HRESULT LiveDeliverPacket(const uint8_t*, int length) override
    {
        if (length == 188)
            ++packets;
        return S_OK;
    }
    HRESULT FileOpen(const CString& path, bool* hasVideo) override
    {
        opened.push_back(path);
        if (fakeVideo) {
            *hasVideo = true;
            return S_OK;
        }
        return CLiveRelay::FileOpen(path, hasVideo);
    }
    HRESULT FileSeek(double fraction) override
    {
        ++seeks;
        return CLiveRelay::FileSeek(fraction);
    }

public:
    std::atomic<int> seeks{0};

private:
    std::atomic<uint16_t> m_video{0}, m_audio{0};
};

// The frame with that relay.
class CFilesFrame : public CMainFrame {
public:
    CFilesFrame()
        : CMainFrame(test::MakeRelay<CFilesRelay>), opened(Stand().opened), packets(Stand().packets),
          fakeVideo(Stand().fakeVideo), seeks(Stand().seeks)
    {
    }
    std::vector<CString>& opened;
    std::atomic<unsigned>& packets;
    bool& fakeVideo;
    std::atomic<int>& seeks;
    using CMainFrame::ChooseChannelNode;
    bool FileIsRunning() { return Relay().FileIsRunning(); }

private:
    CFilesRelay& Stand() { return static_cast<CFilesRelay&>(Relay()); }
};

class MainFrameFilesTest : public test::MainFrameFixture<CFilesFrame> {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OpenFrame(g_app, L"tolvik_files_", L"Harvo\\TolvikFilesTest", L"files test", true));
    }
    void Command(int id) { m_frame->SendMessageW(WM_COMMAND, id, 0); }
    std::u16string InfoLine0()
    {
        CQORInfoPanel* info = m_frame->GetDisplay().GetInfo();
        return info && info->m_line0 ? info->m_line0->GetText() : std::u16string(u"(no panel)");
    }
    // Waits for the frame's open-file dialog (10 s), types `path` as its file name and presses OK.
    bool AnswerOpenDialog(const CString& path)
    {
        HWND dialog = nullptr;
        for (int i = 0; i < 1000 && !dialog; ++i) {
            for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w && !dialog;
                 w = FindWindowExW(nullptr, w, L"#32770", nullptr))
                if (GetWindow(w, GW_OWNER) == m_frame->m_hWnd && IsWindowVisible(w))
                    dialog = w;
            if (!dialog)
                Sleep(10);
        }
        HWND name = dialog ? GetDlgItem(dialog, cmb13) : nullptr;
        if (!name && dialog)
            name = GetDlgItem(dialog, edt1);
        if (!name || !SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.GetString())))
            return false;
        return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                            reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK))) != FALSE;
    }
    CString FileNameOfOpened() const
    {
        const CString& path = m_frame->opened.back();
        return path.Mid(path.ReverseFind(L'\\') + 1);
    }
    // The File menu's "Open file" (its first line) with the path typed into the open dialog that
    // follows and OK clicked, as a user does.
    void OpenFromFileMenu(const CString& path)
    {
        std::atomic<bool> answered{false};
        std::thread user([&] { answered = AnswerOpenDialog(path); });
        ChooseFromPopup(40, {VK_DOWN, VK_RETURN}); // returns when the dialog has closed
        user.join();
        EXPECT_TRUE(answered) << "no open dialog of the frame";
    }
    // A left click at `fraction` of the info bar's seek strip, once the pointer over it has brought
    // the bar up; the strip's rectangle is read from the display (window coordinates).
    void ClickSeekStrip(double fraction)
    {
        CQORInfoPanel* info = m_frame->GetDisplay().GetInfo();
        ASSERT_TRUE(info && info->m_progress);
        OnScreenDisplay::RectF r;
        {
            base::CScopedLock ui(m_frame->GetUiLock());
            r = info->m_progress->GetRect();
            for (OnScreenDisplay::Component* c = info->m_progress->GetParent(); c; c = c->GetParent())
                if (OnScreenDisplay::Control* parent = c->AsControl())
                    OnScreenDisplay::OffsetRect(r, parent->GetRect().left, parent->GetRect().top);
        }
        ASSERT_GT(r.Width(), 20.0f);
        const int x = static_cast<int>(r.left + fraction * (r.Width() - 1)), y = static_cast<int>((r.top + r.bottom) / 2);
        const LPARAM at = MAKELPARAM(x, y);
        m_frame->SendMessageW(WM_MOUSEMOVE, 0, at);
        ASSERT_TRUE(PumpUntil([&] {
            base::CScopedLock ui(m_frame->GetUiLock());
            return info->GetState() == OnScreenDisplay::Panel::Shown;
        }, 5000)) << "the info bar up under the pointer";
        test::ClickClient(m_frame->m_hWnd, at);
    }

};

} // namespace

TEST_F(MainFrameFilesTest, ChannelAndStreamListsFromThePlayingFile)
{
    ASSERT_NE(PlayFileChannel(302), nullptr);
    ASSERT_NE(Current(), nullptr);
    CQORDisplay& display = m_frame->GetDisplay();
    OnScreenDisplay::ListBox* channels = display.GetChannels()->m_list;
    // The favourites tab first: the file's channels are no favourites.
    Command(21);
    EXPECT_TRUE(display.IsChannelListShown());
    EXPECT_EQ(channels->GetCount(), 0);
    // The network tab lists the channels a network-kind device receives: both of the file.
    Command(101);
    ASSERT_EQ(channels->GetCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const OnScreenDisplay::ListBoxItem& item = channels->GetItem(i);
        EXPECT_EQ(item.text1.GetText(), u"");
        EXPECT_EQ(static_cast<uint32_t>(item.value1) >> 16, kFileTsid);
        EXPECT_EQ(item.value2, -1) << "a network channel steps in its own TV or radio list";
        if ((item.value1 & 0xFFFF) == 302) {
            EXPECT_EQ(channels->m_selection, i) << "the playing channel is preselected";
            EXPECT_EQ(item.text2.GetText(), u"File Two");
        }
    }
    // The tab is kept for the next opening.
    Command(100);
    Command(21);
    EXPECT_EQ(channels->GetCount(), 2);

    // The file's one audio stream has no language: "Language 1 (Unknown)", the one in use.
    OnScreenDisplay::CheckListBox* switcher = display.GetSwitcher()->m_list;
    Command(23);
    EXPECT_TRUE(display.IsSwitcherShown());
    ASSERT_EQ(switcher->GetCount(), 1);
    EXPECT_EQ(Narrow(switcher->GetItem(0).text.GetText()), "Language 1 (Unknown)");
    EXPECT_EQ(switcher->GetItem(0).value >> 16, 1);
    EXPECT_EQ(switcher->GetItem(0).checked, 1);
    Command(81);
    ASSERT_EQ(switcher->GetCount(), 1) << "the list is refilled, not appended to";
    EXPECT_EQ(Narrow(switcher->GetItem(0).text.GetText()), "Language 1 (Unknown)");
    // No subtitle streams: only "No subtitles", chosen.
    Command(82);
    ASSERT_EQ(switcher->GetCount(), 1);
    EXPECT_EQ(Narrow(switcher->GetItem(0).text.GetText()), "No subtitles");
    EXPECT_EQ(switcher->GetItem(0).value, 0x20000);
    EXPECT_EQ(switcher->GetItem(0).checked, 1);

    // A Channels-menu node without a transport_stream_id names no channel: nothing changes.
    m_frame->StopAll();
    CChannelNode node(L"File Two", 0, 302, 0);
    m_frame->ChooseChannelNode(&node);
    EXPECT_EQ(m_frame->GetMode(), 0);
    EXPECT_EQ(Current(), nullptr);
}

TEST_F(MainFrameFilesTest, RecordedShowsArePlainFilesNewestFirst)
{
    // An empty folder: an empty list and one grayed line in the popup.
    HMENU popup = CreatePopupMenu();
    m_frame->FillRecordedMenu(popup, m_recordings);
    ASSERT_EQ(GetMenuItemCount(popup), 1);
    wchar_t text[128] = {};
    GetMenuStringW(popup, 0, text, 128, MF_BYPOSITION);
    EXPECT_STREQ(text, L"No recorded shows found");
    EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ(GetMenuItemID(popup, 0), 0u);

    // Three shows made at known times, a sub-folder, a hidden and a system file.
    const wchar_t* names[] = {L"old.mpg", L"newest.mpg", L"middle.mpg", L"hidden.mpg", L"system.mpg"};
    const ULONGLONG created[] = {100, 300, 200, 400, 500};
    for (int i = 0; i < 5; ++i) {
        HANDLE file = CreateFileW(m_recordings + L"\\" + names[i], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ULARGE_INTEGER t;
        t.QuadPart = 130000000000000000ull + created[i] * 10000000ull;
        FILETIME time{t.LowPart, t.HighPart};
        EXPECT_TRUE(SetFileTime(file, &time, &time, &time));
        CloseHandle(file);
    }
    ASSERT_TRUE(SetFileAttributesW(m_recordings + L"\\hidden.mpg", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW(m_recordings + L"\\system.mpg", FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(CreateDirectoryW(m_recordings + L"\\folder.mpg", nullptr));

    Command(22);
    CQORDisplay& display = m_frame->GetDisplay();
    EXPECT_TRUE(display.IsRecordedShown());
    const CArray<CString, const CString&>& files = m_frame->GetRecordedFiles();
    ASSERT_EQ(files.GetSize(), 3);
    // The folder setting ends in a backslash and one more is put before each name.
    const CString folder = m_frame->GetRecPath() + L"\\";
    const wchar_t* newestFirst[] = {L"newest.mpg", L"middle.mpg", L"old.mpg"};
    for (int i = 0; i < 3; ++i)
        EXPECT_STREQ(files[i].GetString(), (folder + newestFirst[i]).GetString()) << i;
    OnScreenDisplay::ListBox* list = display.GetRecorded()->m_list;
    ASSERT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->GetItem(0).text2.GetText(), u"newest.mpg");
    EXPECT_EQ(list->GetItem(2).value1, 2);

    m_frame->FillRecordedMenu(popup, m_recordings);
    ASSERT_EQ(GetMenuItemCount(popup), 3);
    EXPECT_EQ(GetMenuItemID(popup, 0), 40000u);
    EXPECT_EQ(GetMenuItemID(popup, 2), 40002u);
    GetMenuStringW(popup, 1, text, 128, MF_BYPOSITION);
    EXPECT_STREQ(text, L"middle.mpg");
    DestroyMenu(popup);

    // A chosen item comes back through the queue: the list closes and the file goes to the graph.
    static_cast<viewer::DisplayListener*>(m_frame)->OnOsdListSelect(10, 1, 0);
    EXPECT_TRUE(PumpUntil([&] { return !m_frame->opened.empty(); }, 10000));
    ASSERT_EQ(m_frame->opened.size(), 1u);
    // The popup's fill above named the folder without the closing backslash.
    EXPECT_STREQ(m_frame->opened[0].GetString(), (m_recordings + L"\\middle.mpg").GetString());
    EXPECT_FALSE(display.IsRecordedShown());
    RemoveTree(m_recordings);
}

TEST_F(MainFrameFilesTest, MediaFilesGoToTheFileGraphOrTheEngine)
{
    CQORDisplay& display = m_frame->GetDisplay();
    const auto backgroundShown = [&] {
        const int state = display.GetBackground()->GetState();
        return state == OnScreenDisplay::Panel::Shown || state == OnScreenDisplay::Panel::Showing;
    };
    // Sound only, through the platform's file source and WAVE parser: file mode, the file's name
    // as the info text, the background panel over the empty picture.
    m_frame->OpenMediaFile(WindowsPath(test::MediaPath("playback/tone.wav")));
    ASSERT_EQ(m_frame->GetMode(), 1);
    EXPECT_EQ(InfoLine0(), u"tone.wav");
    EXPECT_TRUE(backgroundShown());
    // Stop (17) leaves the file at its start (a sound-only one stopped); play (12) runs it again;
    // Close file ends it.
    Command(17);
    EXPECT_EQ(m_frame->GetMode(), 1);
    Command(12);
    Command(32778);
    EXPECT_EQ(m_frame->GetMode(), 0);

    // A forwarded command line other than "/rec" is taken and left alone: nothing opens.
    const CString wav = WindowsPath(test::MediaPath("playback/tone.wav"));
    std::u16string block(reinterpret_cast<const char16_t*>(wav.GetString()));
    block += u'\0';
    COPYDATASTRUCT data{};
    data.dwData = 0xFFFFFFFF;
    data.cbData = static_cast<DWORD>(block.size() * sizeof(char16_t));
    data.lpData = block.data();
    m_frame->opened.clear();
    EXPECT_EQ(SendMessageW(m_frame->m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
    EXPECT_EQ(m_frame->GetMode(), 0);
    EXPECT_TRUE(m_frame->opened.empty());

    // The File menu's "Open file..." and its dialog open it.
    ASSERT_NO_FATAL_FAILURE(OpenFromFileMenu(wav));
    EXPECT_EQ(m_frame->GetMode(), 1);
    EXPECT_EQ(InfoLine0(), u"tone.wav");
    m_frame->StopAll();

    // A file with video hides the background.
    m_frame->fakeVideo = true;
    m_frame->OpenMediaFile(m_folder + L"\\film.avi");
    m_frame->fakeVideo = false;
    ASSERT_EQ(m_frame->GetMode(), 1);
    EXPECT_EQ(InfoLine0(), u"film.avi");
    EXPECT_FALSE(backgroundShown());
    m_frame->StopAll();

    // "film.TS" is not a transport-stream file by its extension: the file graph gets it.
    const CString ts = WindowsPath(test::MediaPath("file_engine.ts"));
    ASSERT_TRUE(CopyFileW(ts, m_folder + L"\\film.TS", FALSE));
    m_frame->opened.clear();
    m_frame->OpenMediaFile(m_folder + L"\\film.TS");
    ASSERT_EQ(m_frame->opened.size(), 1u);
    EXPECT_EQ(Current(), nullptr);
    m_frame->StopAll();

    // A ".ts" file opens live, streams, and its first channel plays once its tables are read.
    m_frame->opened.clear();
    ASSERT_TRUE(CopyFileW(ts, m_folder + L"\\film.ts", FALSE));
    m_frame->OpenMediaFile(m_folder + L"\\film.ts");
    EXPECT_TRUE(m_frame->opened.empty());
    EXPECT_EQ(m_frame->GetMode(), 2);
    EXPECT_TRUE(PumpUntil([&] { return Current() != nullptr; }, 10000));
    EXPECT_TRUE(PumpUntil([&] { return m_frame->packets > 100; }, 10000)) << "the channel's packets reach the graph";
    m_frame->StopAll();

    // A file that cannot be opened changes nothing.
    m_frame->OpenMediaFile(m_folder + L"\\missing.avi");
    EXPECT_EQ(m_frame->GetMode(), 0);
}

// A sound file opened from the File menu, paused, sought by clicks on the seek strip to its middle
// and its end, played again and stopped with the Stop button's command, then closed: the platform's
// MPEG audio graph once hung in Stop after such seeks, and later, while the Stop command still
// paused the stopped graph again before Close, in 2 of 77 processes (its GStreamer parser thread
// and its stream thread waiting on each other). Several rounds: the hang came now and then. The
// Stop command now leaves a sound-only file stopped at its start.
TEST_F(MainFrameFilesTest, ASoundFileSoughtToItsEndStopsAndCloses)
{
    const CString mp3 = WindowsPath(test::MediaPath("playback/tone.mp3"));
    // Wide enough for the info bar to hold its seek strip beside its buttons.
    m_frame->SetWindowPos(nullptr, 0, 0, 1024, 640, SWP_NOZORDER | SWP_NOMOVE);
    const auto stripShows = [&](double fraction) {
        float shown = -1;
        if (PumpUntil([&] {
                base::CScopedLock ui(m_frame->GetUiLock());
                shown = m_frame->GetDisplay().GetInfo()->m_progress->GetPosition();
                return std::abs(shown - fraction) < 0.05;
            }, 5000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the strip shows " << shown;
    };
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        m_frame->opened.clear();
        ASSERT_NO_FATAL_FAILURE(OpenFromFileMenu(mp3));
        ASSERT_EQ(m_frame->opened.size(), 1u);
        EXPECT_EQ(FileNameOfOpened(), L"tone.mp3");
        ASSERT_EQ(m_frame->GetMode(), 1);
        ASSERT_TRUE(m_frame->FileIsRunning());
        Command(12); // pause
        EXPECT_FALSE(m_frame->FileIsRunning());
        // Each click moves the paused file, which may have played to its end (it lasts a second):
        // the strip's tick shows the place.
        for (double fraction : {0.5, 1.0}) {
            const int seeks = m_frame->seeks;
            ASSERT_NO_FATAL_FAILURE(ClickSeekStrip(fraction));
            EXPECT_EQ(m_frame->seeks, seeks + 1) << "the click reached the file's seek";
            EXPECT_TRUE(stripShows(fraction)) << fraction;
        }
        Command(12); // play
        EXPECT_TRUE(m_frame->FileIsRunning());
        Command(17); // stop: at the start, stopped (sound only)
        EXPECT_EQ(m_frame->GetMode(), 1);
        EXPECT_FALSE(m_frame->FileIsRunning());
        EXPECT_TRUE(stripShows(0.0)) << "after Stop";
        Command(32778); // Close file
        EXPECT_EQ(m_frame->GetMode(), 0);
    }
}

TEST_F(MainFrameFilesTest, RecordingIsAProgramStreamThatPlaysFromTheList)
{
    libDVB::CTSEngine* device = PlayFileChannel(301);
    ASSERT_NE(device, nullptr);
    Command(11);
    ASSERT_TRUE(m_frame->IsRecording());
    ASSERT_EQ(device->StartStreaming(), S_OK);
    // The file plays once, paced by its clock: recorded until its packets stop coming.
    unsigned last = 0;
    ULONGLONG quietSince = GetTickCount64();
    EXPECT_TRUE(PumpUntil(
        [&] {
            if (m_frame->packets != last) {
                last = m_frame->packets;
                quietSince = GetTickCount64();
            }
            return last > 0 && GetTickCount64() - quietSince > 1000;
        },
        20000));
    Command(11);
    ASSERT_FALSE(m_frame->IsRecording());
    m_frame->StopAll();

    // The new recording heads the recorded shows and goes to the file graph when chosen.
    Command(22);
    ASSERT_EQ(m_frame->GetRecordedFiles().GetSize(), 1);
    const CString recording = m_frame->GetRecordedFiles()[0];
    EXPECT_EQ(recording.Right(4), CString(L".mpg"));
    static_cast<viewer::DisplayListener*>(m_frame)->OnOsdListSelect(10, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !m_frame->opened.empty(); }, 10000));
    ASSERT_EQ(m_frame->opened.size(), 1u);
    EXPECT_EQ(m_frame->opened[0], recording);
    m_frame->StopAll();
    // What the recording holds is read by ffprobe after this test.
    const char* out = std::getenv("TOLVIK_RECORDING_OUT");
    ASSERT_NE(out, nullptr);
    CreateDirectoryW(WindowsPath(out), nullptr);
    EXPECT_TRUE(CopyFileW(recording, WindowsPath(out) + L"\\recording.mpg", FALSE)) << GetLastError();
}

TEST_F(MainFrameFilesTest, PopupsAreRealMenusChosenWithKeys)
{
    // File: "Close file" is offered while a file plays; Escape chooses nothing.
    m_frame->OpenMediaFile(WindowsPath(test::MediaPath("playback/tone.wav")));
    ASSERT_EQ(m_frame->GetMode(), 1);
    ChooseFromPopup(40, {VK_ESCAPE});
    EXPECT_EQ(m_frame->GetMode(), 1);
    ChooseFromPopup(40, {VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(m_frame->GetMode(), 0);

    // File: the recorded shows' submenu plays the chosen show.
    HANDLE file = CreateFileW(m_recordings + L"\\show.mpg", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    m_frame->opened.clear();
    ChooseFromPopup(40, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN});
    ASSERT_EQ(m_frame->opened.size(), 1u);
    EXPECT_EQ(FileNameOfOpened(), L"show.mpg");

    // View: the last line, "Always on top", arrives as the window's command.
    const bool onTop = m_frame->IsOnTop();
    ChooseFromPopup(41, {VK_UP, VK_RETURN});
    EXPECT_TRUE(PumpUntil([&] { return m_frame->IsOnTop() != onTop; }, 5000));

    // Channels: the network group's last channel, "File Two", plays.
    libDVB::CTSEngine* device = nullptr;
    ASSERT_EQ(m_frame->GetEngine()->CreateFileDevice(base::Utf8ToUtf16(test::MediaPath("file_engine.ts")), &device,
                                                     nullptr),
              S_OK);
    ChooseFromPopup(42, {VK_UP, VK_RIGHT, VK_END, VK_RETURN});
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(Current()->GetServiceId(), 302);
    EXPECT_EQ(m_frame->GetMode(), 2);
    m_frame->StopAll();
}
