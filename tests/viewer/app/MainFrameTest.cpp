// The main frame with the real channel engine on a transport-stream file, with the graph calls
// recorded: playback modes, the stop-everything order, the recording, the engine's callbacks from
// its device thread against the user-interface thread, the channel menus and the forwarded "/rec".
#include <gtest/gtest.h>

#include <winsock2.h> // the main frame's multicast parts need it before <windows.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/PesBuilder.h"
#include "support/SubtitleBuilder.h"
#include "support/TestMedia.h"
#include "MainFrameFixture.h"
#include "TestEngineUserInterface.h"
#include "base/Utf16.h"
#include "viewer/MainFrm.h"
#include "viewer/ViewerGlobals.h"

namespace {

// A video PID no test stream uses; the streams' report of it brings three PES packets along.
constexpr uint16_t kProbePid = 0x1FF0;
const char kProbeText[] = "after the stream change";

class CFrameTestApp : public CWinApp {
public:
    CFrameTestApp() : CWinApp(L"qor") {}
} g_app;

using test::PumpUntil;

class CTestFrame;

// The graph calls written to the frame's log instead of a graph.
class CTestRelay : public CLiveRelay {
public:
    using CLiveRelay::CLiveRelay;
    CTestFrame* frame = nullptr;

    HRESULT LiveBuildGraph() override;
    void LiveDestroyGraph() override;
    HRESULT LiveSetStreams(uint16_t videoPid, uint16_t audioPid, int unused, uint16_t pcrPid) override;
    // The stand-in graph applies every stream change it is given.
    void LiveGetStreamPids(uint16_t& videoPid, uint16_t& audioPid) override;
    HRESULT LiveDeliverPacket(const uint8_t*, int length) override;
    void LiveSetVolume(int) override;
    void FileClose() override;
};

// The frame with its graph calls written to a log instead of a graph.
class CTestFrame : public CMainFrame {
public:
    CTestFrame() : CMainFrame(test::MakeRelay<CTestRelay>) { static_cast<CTestRelay&>(Relay()).frame = this; }
    std::vector<std::string> TakeLog()
    {
        std::lock_guard<std::mutex> lock(m_logLock);
        std::vector<std::string> log;
        log.swap(m_log);
        return log;
    }
    unsigned Packets() const { return m_packets; }
    uint16_t VideoPid() const { return m_video; }
    void FailBuild(bool fail) { m_failBuild = fail; }
    // The guide menu's answer.
    UINT guideChoice = 0;
    // The subtitle bitmaps handed to the display.
    std::atomic<unsigned> overlays{0};
    void* overlay = nullptr;
    HRESULT ShowOverlayBitmap(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom) override
    {
        ++overlays;
        overlay = bitmap;
        return CMainFrame::ShowOverlayBitmap(bitmap, left, top, right, bottom);
    }
    // The handles of the raw input that reached the default window procedure.
    std::vector<LPARAM> rawInputPassedOn;
    // What StopAll had done when the graph went.
    bool recordingAtDestroy = false;
    bool serviceAtDestroy = false;

protected:
    UINT TrackGuideMenu(HMENU, POINT) override { return guideChoice; }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_INPUT)
            rawInputPassedOn.push_back(lParam);
        return CMainFrame::DefWindowProc(message, wParam, lParam);
    }

private:
    friend class CTestRelay;
    void Log(const std::string& entry)
    {
        std::lock_guard<std::mutex> lock(m_logLock);
        m_log.push_back(entry);
    }
    std::mutex m_logLock;
    std::vector<std::string> m_log;
    std::atomic<unsigned> m_packets{0};
    std::atomic<uint16_t> m_video{0};
    std::atomic<uint16_t> m_audio{0};
    bool m_failBuild = false;
};

HRESULT CTestRelay::LiveBuildGraph()
{
    frame->Log("build");
    return frame->m_failBuild ? E_FAIL : S_OK;
}

void CTestRelay::LiveDestroyGraph()
{
    frame->Log("destroy");
    frame->recordingAtDestroy = IsRecording();
    CQORService* service = nullptr;
    if (frame->GetEngine())
        frame->GetEngine()->GetCurrentService(&service);
    frame->serviceAtDestroy = service != nullptr;
}

HRESULT CTestRelay::LiveSetStreams(uint16_t videoPid, uint16_t audioPid, int unused, uint16_t pcrPid)
{
    frame->m_video = videoPid;
    frame->m_audio = audioPid;
    frame->Log("streams " + std::to_string(videoPid) + " " + std::to_string(audioPid));
    if (videoPid == kProbePid) {
        // Packets of the new PID that reach the frame while the graph changes over: the
        // recorder keeps them only if it follows the new PIDs already.
        uint8_t continuity = 0;
        for (uint64_t pts = 90000; pts <= 90000 + 3 * 3600; pts += 3600)
            for (const test::TSPacket& packet : test::PacketizePes(
                     kProbePid, test::MakePes(pts, std::vector<uint8_t>(kProbeText, kProbeText + sizeof kProbeText),
                                              0, 0xE0),
                     continuity))
                frame->OnTransportPacket(0, packet.data(), 188);
    }
    return CLiveRelay::LiveSetStreams(videoPid, audioPid, unused, pcrPid);
}

void CTestRelay::LiveGetStreamPids(uint16_t& videoPid, uint16_t& audioPid)
{
    videoPid = frame->m_video;
    audioPid = frame->m_audio;
}

HRESULT CTestRelay::LiveDeliverPacket(const uint8_t*, int length)
{
    if (length == 188)
        ++frame->m_packets;
    return S_OK;
}

void CTestRelay::LiveSetVolume(int)
{
    frame->Log("volume");
}

void CTestRelay::FileClose()
{
    frame->Log("fileclose");
}

bool Contains(const std::vector<std::string>& log, const std::string& entry)
{
    for (const std::string& e : log)
        if (e == entry)
            return true;
    return false;
}

class MainFrameTest : public test::MainFrameFixture<CTestFrame> {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OpenFrame(g_app, L"tolvik_frame_", L"Harvo\\TolvikFrameTest", L"frame test", false));
    }
    std::vector<CString> Recordings()
    {
        std::vector<CString> files;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW(m_recordings + L"\\*.mpg", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do
                files.push_back(m_recordings + L"\\" + found.cFileName);
            while (FindNextFileW(find, &found));
            FindClose(find);
        }
        return files;
    }
};

} // namespace

TEST_F(MainFrameTest, ModesChangeOnlyWhenAllowed)
{
    m_frame->TakeLog();
    EXPECT_EQ(m_frame->SetMode(0), 1);
    EXPECT_TRUE(m_frame->TakeLog().empty()) << "the same mode: not even the volume";
    EXPECT_EQ(m_frame->SetMode(2), S_OK);
    EXPECT_EQ(m_frame->GetMode(), 2);
    std::vector<std::string> log = m_frame->TakeLog();
    EXPECT_EQ(log, (std::vector<std::string>{"volume", "build", "volume"}));
    EXPECT_EQ(m_frame->SetMode(2), 1);
    EXPECT_TRUE(m_frame->TakeLog().empty());
    EXPECT_EQ(m_frame->SetMode(1), E_FAIL) << "a file only from idle";
    EXPECT_EQ(m_frame->GetMode(), 2);
    EXPECT_EQ(m_frame->SeekFile(0, 0.5), 1) << "live: nothing, mode - 1";

    EXPECT_EQ(m_frame->SetMode(0), S_OK);
    EXPECT_TRUE(Contains(m_frame->TakeLog(), "destroy"));
    EXPECT_EQ(m_frame->SetMode(1), S_OK);
    EXPECT_EQ(m_frame->SeekFile(0, 0.5), S_OK);
    // From a file the file closes first; a failed build leaves nothing playing: idle.
    m_frame->TakeLog();
    m_frame->FailBuild(true);
    EXPECT_EQ(m_frame->SetMode(2), E_FAIL);
    EXPECT_EQ(m_frame->GetMode(), 0);
    log = m_frame->TakeLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[1], "fileclose");
    EXPECT_EQ(log[2], "build");

    // A re-created device keeps the live graph: RestoreDevice re-attaches it, nothing is rebuilt.
    m_frame->FailBuild(false);
    ASSERT_EQ(m_frame->SetMode(2), S_OK);
    m_frame->TakeLog();
    m_frame->ForgetMonitor();
    m_frame->CheckMonitor();
    EXPECT_EQ(m_frame->GetMode(), 2);
    log = m_frame->TakeLog();
    EXPECT_FALSE(Contains(log, "build"));
    EXPECT_FALSE(Contains(log, "destroy"));

    EXPECT_EQ(CMainFrame::GetFileExtension(L"C:\\a.b\\film.mpg"), CString(L".mpg"));
    EXPECT_EQ(CMainFrame::GetFileExtension(L"C:\\a.b\\film"), CString(L""));
}

TEST_F(MainFrameTest, PlaysAChannelRecordsItAndStopsRecordingEngineThenGraph)
{
    libDVB::CTSEngine* device = PlayFileChannel(301);
    ASSERT_NE(device, nullptr);
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(Current()->GetServiceId(), 301);
    EXPECT_EQ(m_frame->GetMode(), 2);
    EXPECT_NE(m_frame->VideoPid(), 0) << "the engine reported the streams to the frame";

    m_frame->ToggleRecording();
    ASSERT_TRUE(m_frame->IsRecording());
    ASSERT_EQ(device->StartStreaming(), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return m_frame->Packets() > 500; }));

    m_frame->StopAll();
    EXPECT_FALSE(m_frame->recordingAtDestroy) << "the recording stops first";
    EXPECT_FALSE(m_frame->serviceAtDestroy) << "the engine is shut down before the graph goes";
    EXPECT_FALSE(m_frame->IsRecording());
    EXPECT_EQ(m_frame->GetMode(), 0);
    EXPECT_EQ(Current(), nullptr);

    // The recorder wrote out and closed its file: an MPEG program stream.
    const std::vector<CString> files = Recordings();
    ASSERT_EQ(files.size(), 1u);
    const std::vector<uint8_t> bytes = test::ReadFileBytes(base::Utf16ToUtf8(
        std::u16string(reinterpret_cast<const char16_t*>(files[0].GetString()))));
    ASSERT_GT(bytes.size(), 2048u);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0x01);
    EXPECT_EQ(bytes[3], 0xBA) << "a pack header";
}

TEST_F(MainFrameTest, PresentedFrameTimeDrawsTheDueSubtitle)
{
    ASSERT_NE(PlayFileChannel(301), nullptr);
    ASSERT_NE(Current(), nullptr);
    // A display set at a time beyond 32 bits: a white 40 x 10 object at 100, 400.
    const uint64_t pts = 0x100000000ull + 90000;
    test::SubtitleRegion region;
    region.id = 1;
    region.width = 40;
    region.height = 10;
    region.objects.push_back({1});
    const test::Bytes field = test::FourBitField(std::vector<std::vector<uint8_t>>(5, std::vector<uint8_t>(40, 1)));
    const test::Bytes pes = test::MakePes(
        pts, test::SubtitlePesPayload({test::PageCompositionSegment(1, 5, 0, 2, {{1, 100, 400}}),
                                       test::RegionCompositionSegment(1, region),
                                       test::ClutDefinitionSegment(1, 0, 0, {{1, 0x40, true, 235, 128, 128, 0}}),
                                       test::ObjectDataSegment(1, 1, 0, field, field), test::EndOfDisplaySetSegment(1)}));
    ASSERT_EQ(Current()->GetSubtitleDecoder().DecodePes(pes.data(), static_cast<uint32_t>(pes.size())), S_OK);
    const unsigned before = m_frame->overlays;
    auto presented = [&](uint64_t time) {
        m_frame->SendMessage(WM_QOR_FRAME_TIME, static_cast<uint32_t>(time), static_cast<uint32_t>(time >> 32));
    };
    presented(pts - 1);
    EXPECT_EQ(m_frame->overlays, before) << "not due yet";
    presented(pts);
    ASSERT_EQ(m_frame->overlays, before + 1) << "the due set drawn and handed over";
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(static_cast<HBITMAP>(m_frame->overlay), sizeof dib, &dib), static_cast<int>(sizeof dib));
    const auto* pixels = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    auto at = [&](int x, int y) { return pixels[(dib.dsBm.bmHeight - 1 - y) * dib.dsBm.bmWidth + x]; };
    EXPECT_EQ(at(120, 405) >> 24, 0xFFu) << "the region, opaque";
    EXPECT_GT(at(120, 405) & 0xFF, 200u) << "white";
    EXPECT_EQ(at(90, 405), 0u) << "left of the region: clear";
    presented(pts + 3600);
    EXPECT_EQ(m_frame->overlays, before + 1) << "a set is shown once";
}

TEST_F(MainFrameTest, RecordingFollowsAStreamChangeBeforeTheGraph)
{
    ASSERT_NE(PlayFileChannel(301), nullptr);
    m_frame->ToggleRecording();
    ASSERT_TRUE(m_frame->IsRecording());
    // The report comes from a device thread holding the service's lock.
    std::thread([&] {
        CQORService* service = Current();
        ASSERT_NE(service, nullptr);
        base::CScopedLock lock(service->Lock());
        m_frame->OnStreamsChanged(0, kProbePid, kProbePid + 1, kProbePid);
    }).join();
    EXPECT_EQ(m_frame->VideoPid(), kProbePid);
    m_frame->StopAll();
    const std::vector<CString> files = Recordings();
    ASSERT_EQ(files.size(), 1u);
    const std::vector<uint8_t> bytes = test::ReadFileBytes(base::Utf16ToUtf8(
        std::u16string(reinterpret_cast<const char16_t*>(files[0].GetString()))));
    const std::string text(bytes.begin(), bytes.end());
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[3], 0xBA) << "a pack header first";
    EXPECT_NE(text.find(kProbeText), std::string::npos) << "the packets of the new video PID were recorded";
    EXPECT_NE(text.find(std::string("\0\0\1\xE0", 4)), std::string::npos);
}

TEST_F(MainFrameTest, DeviceThreadCallbacksNeverDeadlockTheUserInterface)
{
    libDVB::CTSEngine* device = PlayFileChannel(301);
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device->StartStreaming(), S_OK);

    // A second thread reports streams and packets as a device thread does, holding the playing
    // service's lock as the engine's report path does, while this thread tunes, records and fills.
    std::atomic<bool> stop{false};
    std::atomic<unsigned> progress{0};
    std::thread packets([&] {
        uint8_t packet[188] = {0x47, 0x01, 0x00, 0x10};
        unsigned n = 0;
        while (!stop) {
            CQORService* service = Current();
            if (service) {
                base::CScopedLock lock(service->Lock());
                m_frame->OnTransportPacket(0, packet, 188);
                if (++n % 64 == 0)
                    m_frame->OnStreamsChanged(0, n % 128 ? 256 : 0, 257, 256);
            }
            std::this_thread::yield();
        }
    });
    std::thread watchdog([&] {
        unsigned last = progress;
        auto since = std::chrono::steady_clock::now();
        while (!stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (progress != last) {
                last = progress;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > std::chrono::seconds(10)) {
                fprintf(stderr, "the user-interface thread hung for 10 s\n");
                fflush(stderr);
                std::_Exit(3);
            }
        }
    });
    const ULONGLONG until = GetTickCount64() + 5000;
    for (unsigned round = 0; GetTickCount64() < until; ++round) {
        m_frame->TuneStart(round % 2 ? 302 : 301, kFileTsid, -1);
        m_frame->FillTuneList(round % 6);
        m_frame->FillChannelList(static_cast<int>(round % 4));
        m_frame->FillAudioList();
        m_frame->FillSubtitleList();
        m_frame->ToggleRecording();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        ++progress;
    }
    stop = true;
    packets.join();
    watchdog.join();
    m_frame->StopAll();
    EXPECT_FALSE(m_frame->IsRecording());
    EXPECT_GT(progress.load(), 10u);
}

TEST_F(MainFrameTest, ForwardedRecordCommandPlaysRecordsAndArmsItsTimer)
{
    libDVB::CTSEngine* device = nullptr;
    ASSERT_EQ(m_frame->GetEngine()->CreateFileDevice(base::Utf8ToUtf16(test::MediaPath("file_engine.ts")), &device,
                                                     nullptr),
              S_OK);
    const CString path = m_recordings + L"\\scheduled.mpg";
    std::u16string block = u"/rec";
    block += u'\0';
    for (const std::u16string& word : {std::u16string(u"65535"), std::u16string(u"302"), std::u16string(u"1"),
                                       std::u16string(u"0"),
                                       std::u16string(reinterpret_cast<const char16_t*>(path.GetString()))}) {
        block += word;
        block += u'\0';
    }
    COPYDATASTRUCT data{};
    data.dwData = 0xFFFFFFFF;
    data.cbData = static_cast<DWORD>(block.size() * sizeof(char16_t));
    data.lpData = block.data();
    EXPECT_EQ(SendMessageW(m_frame->m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(Current()->GetServiceId(), 302);
    EXPECT_TRUE(m_frame->IsRecording());
    EXPECT_NE(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);

    // Another data kind is not taken; too few values are taken and ignored.
    data.dwData = 1;
    EXPECT_EQ(SendMessageW(m_frame->m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), FALSE);
    const std::u16string few(u"/rec\0" u"1\0" u"2\0", 9);
    data.dwData = 0xFFFFFFFF;
    data.cbData = static_cast<DWORD>(few.size() * sizeof(char16_t));
    data.lpData = const_cast<char16_t*>(few.data());
    EXPECT_EQ(SendMessageW(m_frame->m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
    EXPECT_TRUE(m_frame->IsRecording());

    // A second "/rec" while the first records: the first ends, the second records to its path,
    // which came split at its spaces as an unquoted job's path does.
    std::u16string second(u"/rec\0" u"65535\0" u"302\0" u"1\0" u"0\0", 19);
    second += reinterpret_cast<const char16_t*>(m_recordings.GetString());
    second += u"\\my";
    second += u'\0';
    second += u"second take.mpg"; // the last string without its NUL
    data.cbData = static_cast<DWORD>(second.size() * sizeof(char16_t));
    data.lpData = second.data();
    EXPECT_EQ(SendMessageW(m_frame->m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
    EXPECT_TRUE(m_frame->IsRecording());
    EXPECT_NE(GetFileAttributesW(m_recordings + L"\\my second take.mpg"), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);
    m_frame->StopAll();
}

TEST_F(MainFrameTest, KeysAndMultimediaKeysBecomeCommands)
{
    const auto postedCommand = [this]() -> int {
        MSG msg;
        int command = 0;
        while (PeekMessageW(&msg, m_frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            if (command == 0)
                command = LOWORD(msg.wParam);
        return command;
    };
    postedCommand();
    // No view shown: Up opens the channel list, 'E' the guide; the keypad plus raises the volume.
    SendMessageW(m_frame->m_hWnd, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(21, postedCommand());
    SendMessageW(m_frame->m_hWnd, WM_KEYDOWN, 'E', 1);
    EXPECT_EQ(24, postedCommand());
    SendMessageW(m_frame->m_hWnd, WM_KEYDOWN, VK_ADD, 1);
    EXPECT_EQ(13, postedCommand());
    // Record, with a keyboard's device bits set; every multimedia key counts as handled.
    EXPECT_EQ(0, SendMessageW(m_frame->m_hWnd, WM_APPCOMMAND, 0, MAKELPARAM(0, 48 | FAPPCOMMAND_KEY)));
    EXPECT_EQ(11, postedCommand());
    EXPECT_EQ(0, SendMessageW(m_frame->m_hWnd, WM_APPCOMMAND, 0, MAKELPARAM(0, 7)));
    EXPECT_EQ(0, postedCommand());
    // Volume down stands for the keypad minus.
    SendMessageW(m_frame->m_hWnd, WM_APPCOMMAND, 0, MAKELPARAM(0, 9));
    EXPECT_EQ(14, postedCommand());
}

TEST_F(MainFrameTest, RawInputGoesOnToTheDefaultProcedureAfterItsHandling)
{
    // No remote-control device exists here: the keyboard's raw input stands in for one, the
    // frame its target even when not in front. The frame reads it, finds no remote's report,
    // and the default procedure, which frees the input's data, still gets it.
    RAWINPUTDEVICE keyboard{0x01, 0x06, RIDEV_INPUTSINK, m_frame->m_hWnd};
    ASSERT_TRUE(RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard))) << GetLastError();
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_F24;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
    EXPECT_TRUE(PumpUntil([&] { return m_frame->rawInputPassedOn.size() >= 2; }, 5000))
        << m_frame->rawInputPassedOn.size() << " of the key's two raw inputs passed on";
    keyboard.dwFlags = RIDEV_REMOVE;
    keyboard.hwndTarget = nullptr;
    RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard));
    // A report arriving while the viewer is in front, as the remote's would.
    m_frame->rawInputPassedOn.clear();
    SendMessageW(m_frame->m_hWnd, WM_INPUT, RIM_INPUT, 0x4711);
    ASSERT_EQ(m_frame->rawInputPassedOn.size(), 1u);
    EXPECT_EQ(m_frame->rawInputPassedOn[0], 0x4711);
}

TEST_F(MainFrameTest, ChannelMenuFileAndViewMenusAndLanguages)
{
    libDVB::CTSEngine* device = nullptr;
    ASSERT_EQ(m_frame->GetEngine()->CreateFileDevice(base::Utf8ToUtf16(test::MediaPath("file_engine.ts")), &device,
                                                     nullptr),
              S_OK);
    m_frame->BuildChannelTree(true);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    m_frame->RebuildChannelMenu(menu);
    // No favourites: the three groups without the separator; no announcement: one grayed line.
    ASSERT_EQ(menu.GetMenuItemCount(), 3);
    wchar_t text[128];
    GetMenuStringW(menu, 2, text, 128, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Network channels");
    HMENU network = GetSubMenu(menu, 2);
    ASSERT_NE(network, nullptr);
    // The grayed line and its separator come before the network group's channels: the file's two
    // channels, received through a device of the network kind.
    ASSERT_EQ(GetMenuItemCount(network), 4);
    GetMenuStringW(network, 0, text, 128, MF_BYPOSITION);
    EXPECT_STREQ(text, L"No available network sources found");
    EXPECT_TRUE(GetMenuState(network, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(network, 1, MF_BYPOSITION) & MF_SEPARATOR);
    GetMenuStringW(network, 2, text, 128, MF_BYPOSITION);
    EXPECT_STREQ(text, L"File One");
    // Channel items carry their node; their ids count from 100 with every rebuild.
    EXPECT_GE(GetMenuItemID(network, 2), 100u);
    EXPECT_LT(GetMenuItemID(network, 2), 39000u);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(network, 2, TRUE, &info));
    const CChannelNode* node = reinterpret_cast<const CChannelNode*>(info.dwItemData);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->m_serviceId, 301);
    EXPECT_EQ(node->m_transportStreamId, kFileTsid);

    CMenu file;
    ASSERT_TRUE(file.CreatePopupMenu());
    m_frame->FillFileMenu(file);
    ASSERT_EQ(file.GetMenuItemCount(), 6);
    EXPECT_EQ(file.GetMenuItemID(0), 32776u);
    EXPECT_EQ(file.GetMenuItemID(3), 32805u);
    EXPECT_EQ(file.GetMenuItemID(5), 32780u);
    CMenu view;
    ASSERT_TRUE(view.CreatePopupMenu());
    m_frame->FillViewMenu(view);
    ASSERT_EQ(view.GetMenuItemCount(), 6);
    EXPECT_EQ(view.GetMenuItemID(5), 32803u);
    EXPECT_FALSE(GetMenuState(view, 5, MF_BYPOSITION) & MF_CHECKED);

    // Language names through the platform's locale table.
    wchar_t english[64] = {}, native[64] = {};
    GetLocaleInfoW(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT), SORT_DEFAULT), LOCALE_SENGLANGUAGE, english, 64);
    GetLocaleInfoW(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT), SORT_DEFAULT), LOCALE_SNATIVELANGNAME, native, 64);
    const CString german = CMainFrame::LanguageDisplayName("ger");
    EXPECT_EQ(german, CString(english) + L" (" + native + L")");
    EXPECT_EQ(german, CMainFrame::LanguageDisplayName("deu"));
    EXPECT_FALSE(german.IsEmpty());
    EXPECT_EQ(CMainFrame::LanguageDisplayName("NAR"), CString(L"Narrator"));
    EXPECT_TRUE(CMainFrame::LanguageDisplayName("xyz").IsEmpty());
}

TEST_F(MainFrameTest, PresenterFormatIsCheckedAndAppliedOnTheUserInterfaceThread)
{
    // From a streaming thread; a non-positive or NaN aspect is refused (the sizes divide by it).
    std::thread presenter([&] {
        m_frame->SetVideoFormat(720, 576, 0.0);
        m_frame->SetVideoFormat(720, 576, std::nan(""));
        m_frame->SetVideoFormat(720, 576, 16.0 / 9.0);
    });
    presenter.join();
    PumpUntil([] { return false; }, 200);
    m_frame->SetVideoSize(viewer::VideoSize::Normal);
    CRect client;
    m_frame->GetClientRect(&client);
    EXPECT_EQ(client.Width(), 720);
    EXPECT_EQ(client.Height(), 405);

    // Timeshift pauses the watchdog; going live restarts its grace.
    m_frame->SetLiveFlag(0);
    EXPECT_EQ(m_frame->GetLiveFlag(), 0);
    m_frame->SetLiveFlag(1);
    EXPECT_EQ(m_frame->GetLiveFlag(), 1);
}

TEST_F(MainFrameTest, SecondViewerOnTheSchedulersDesktopForwardsItsRecordCommandToThisFrame)
{
    // This frame is the running viewer: its mutex, its class and its title.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
    ASSERT_NE(mutex, nullptr);
    ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "another viewer runs";
    m_frame->SetWindowText(L"Tolvik v1.0");
    libDVB::CTSEngine* device = nullptr;
    ASSERT_EQ(m_frame->GetEngine()->CreateFileDevice(base::Utf8ToUtf16(test::MediaPath("file_engine.ts")), &device,
                                                     nullptr),
              S_OK);

    std::wstring program;
    const std::string path = test::ProgramPath("Tolvik.exe");
    if (path.size() < 2 || path[1] != ':')
        program = L"Z:";
    for (char c : path)
        program += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    std::wstring command = L"\"" + program + L"\" /rec 65535 301 1 0";
    // Started as the scheduler's service starts a job: on a desktop named "WinSta0", which does
    // not hold this frame's window. The desktop's process would inherit our output and outlive us.
    wchar_t desktop[] = L"WinSta0";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.lpDesktop = desktop;
    si.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << GetLastError();
    // The second viewer (started again on the interactive desktop) hands its arguments over and
    // ends; the first plays and records.
    EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 60000));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_TRUE(PumpUntil([&] { return m_frame->IsRecording(); }, 30000)) << "the command was not forwarded";
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(Current()->GetServiceId(), 301);
    EXPECT_TRUE(m_frame->IsRecording());
    m_frame->StopAll();
    EXPECT_EQ(Recordings().size(), 1u) << "the generated name in the recordings folder";
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

TEST_F(MainFrameTest, FullDiskEndsTheRecordingWhilePacketsGoOn)
{
    // The share of the free space a recording may use: none, so the reserve is all the space free
    // at the start and the first bytes written go below it.
    g_app.WriteProfileInt(L"", L"FreeDiskSpace", 0);
    m_frame->LoadWindowSettings();
    libDVB::CTSEngine* device = PlayFileChannel(301);
    ASSERT_NE(device, nullptr);
    m_frame->ToggleRecording();
    ASSERT_TRUE(m_frame->IsRecording());
    ASSERT_EQ(device->StartStreaming(), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return !m_frame->IsRecording(); }, 30000)) << "the recorder reported a full disk";
    const unsigned atEnd = m_frame->Packets();
    EXPECT_TRUE(PumpUntil([&] { return m_frame->Packets() > atEnd + 50; })) << "the live graph still gets packets";
    m_frame->StopAll();
    const std::vector<CString> files = Recordings();
    ASSERT_EQ(files.size(), 1u);
    // The recorder was deleted at once: its file is closed (no sharing conflict) and what it wrote
    // before the reserve was reached, if anything, is a program stream.
    HANDLE file = CreateFileW(files[0], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    const std::vector<uint8_t> bytes = test::ReadFileBytes(base::Utf16ToUtf8(
        std::u16string(reinterpret_cast<const char16_t*>(files[0].GetString()))));
    if (bytes.size() >= 4) {
        EXPECT_EQ(bytes[3], 0xBA);
    }
}

TEST_F(MainFrameTest, RecordingsTakeFreeNamesAndAMissingFolderStartsNothing)
{
    libDVB::CTSEngine* device = PlayFileChannel(301);
    ASSERT_NE(device, nullptr);
    // Three starts within a second or two: the sink truncates what exists, so each needs its own
    // name (" - time", then " (2)"); the short date's slashes never reach the file system.
    for (int i = 0; i < 3; ++i) {
        m_frame->ToggleRecording();
        ASSERT_TRUE(m_frame->IsRecording()) << i;
        m_frame->ToggleRecording();
        ASSERT_FALSE(m_frame->IsRecording());
    }
    const std::vector<CString> files = Recordings();
    EXPECT_EQ(files.size(), 3u);
    for (const CString& file : files) {
        const CString name = file.Mid(file.ReverseFind(L'\\') + 1);
        EXPECT_EQ(wcspbrk(name.GetString(), L"/:*?\"<>|"), nullptr) << base::Utf16ToUtf8(
            std::u16string(reinterpret_cast<const char16_t*>(name.GetString())));
        DeleteFileW(file);
    }
    // The recordings folder vanished after start-up: no recorder, no icon.
    ASSERT_TRUE(RemoveDirectoryW(m_recordings));
    m_frame->ToggleRecording();
    EXPECT_FALSE(m_frame->IsRecording());
    m_frame->StopAll();
}

TEST_F(MainFrameTest, CommandsThroughTheWindowVolumeMutePanelsAndRecording)
{
    auto command = [&](int id) { m_frame->SendMessageW(WM_COMMAND, id, 0); };
    for (int i = 0; i < 21; ++i)
        command(14);
    EXPECT_EQ(m_frame->GetVolume(), 0) << "clamped at 0";
    command(13);
    EXPECT_EQ(m_frame->GetVolume(), 5);
    m_frame->TakeLog();
    command(18);
    EXPECT_TRUE(m_frame->IsMuted());
    EXPECT_TRUE(Contains(m_frame->TakeLog(), "volume")) << "both graphs get 0";
    command(13);
    EXPECT_FALSE(m_frame->IsMuted()) << "volume up while muted unmutes";
    EXPECT_EQ(m_frame->GetVolume(), 5) << "and leaves the volume as it was";
    for (int i = 0; i < 30; ++i)
        command(13);
    EXPECT_EQ(m_frame->GetVolume(), 100);

    CQORDisplay& display = m_frame->GetDisplay();
    const bool menu = display.IsMenuShown();
    command(10);
    EXPECT_NE(display.IsMenuShown(), menu);
    command(21);
    EXPECT_TRUE(display.IsChannelListShown());
    command(22);
    EXPECT_TRUE(display.IsRecordedShown());
    EXPECT_FALSE(display.IsChannelListShown()) << "one list at a time";
    command(90);
    EXPECT_FALSE(display.IsRecordedShown());

    // Recording only in live mode.
    command(11);
    EXPECT_FALSE(m_frame->IsRecording());
    ASSERT_NE(PlayFileChannel(301), nullptr);
    command(11);
    EXPECT_TRUE(m_frame->IsRecording());
    command(11);
    EXPECT_FALSE(m_frame->IsRecording());
    EXPECT_EQ(Recordings().size(), 1u);
    m_frame->StopAll();
}

TEST_F(MainFrameTest, ChosenChannelListItemTunesFromTheQueue)
{
    ASSERT_NE(PlayFileChannel(301), nullptr);
    ASSERT_EQ(Current()->GetServiceId(), 301);
    // What the display reports for the channel list: (transport_stream_id << 16) | service_id.
    static_cast<viewer::DisplayListener*>(m_frame)->OnOsdListSelect(11, (kFileTsid << 16) | 302, 1001);
    EXPECT_TRUE(PumpUntil([&] { return Current() && Current()->GetServiceId() == 302; }));
    static_cast<viewer::DisplayListener*>(m_frame)->OnOsdListSelect(12, (kFileTsid << 16) | 301, 1000);
    EXPECT_TRUE(PumpUntil([&] { return Current() && Current()->GetServiceId() == 301; }));
    EXPECT_EQ(m_frame->GetMode(), 2);
    m_frame->StopAll();
}

TEST_F(MainFrameTest, GuideRowsAndNextPreviousMessagesTuneLikeEveryRoad)
{
    libDVB::CTSEngine* device = nullptr;
    ASSERT_EQ(m_frame->GetEngine()->CreateFileDevice(base::Utf8ToUtf16(test::MediaPath("file_engine.ts")), &device,
                                                     nullptr),
              S_OK);
    ASSERT_EQ(m_frame->GetMode(), 0);
    // A channel-name click fires under the OSD's lock: the channel starts from the queue, live
    // mode first. The key: service_id, transport_stream_id, row number 5.
    m_frame->OnOsdGuideClick(70, 5u << 16, 302u << 16 | kFileTsid);
    EXPECT_TRUE(PumpUntil([&] { return Current() && Current()->GetServiceId() == 302; }));
    EXPECT_EQ(m_frame->GetMode(), 2);
    // The event menu's first entry plays the row's channel.
    m_frame->guideChoice = 1;
    m_frame->ShowGuideMenu(70, 0, 0, 0, 301u << 16 | kFileTsid, MK_RBUTTON, false, false);
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(Current()->GetServiceId(), 301);

    // Next and previous channel take the tune start too: from idle back to live.
    ASSERT_EQ(m_frame->SetMode(0), S_OK);
    EXPECT_EQ(SendMessageW(m_frame->m_hWnd, WM_QOR_NEXT_SERVICE, 0, 0) >= 0, true);
    EXPECT_EQ(m_frame->GetMode(), 2);
    ASSERT_EQ(m_frame->SetMode(0), S_OK);
    SendMessageW(m_frame->m_hWnd, WM_QOR_PREVIOUS_SERVICE, 0, 0);
    EXPECT_EQ(m_frame->GetMode(), 2);
    ASSERT_NE(Current(), nullptr);
    m_frame->StopAll();
}

TEST(GuideTexts, LocalDateTimeAndWeekday)
{
    // 2026-12-09 20:00:37 UTC: a Wednesday, or already Thursday east of UTC+4.
    const int64_t time = 1796846437;
    const int weekday = CMainFrame::WeekdayNumber(time);
    EXPECT_TRUE(weekday == 4 || weekday == 5) << weekday;
    const CString withSeconds = CMainFrame::TimeText(time, true);
    const CString withoutSeconds = CMainFrame::TimeText(time, false);
    EXPECT_GE(withSeconds.Find(L"37"), 0) << static_cast<const wchar_t*>(withSeconds);
    EXPECT_LT(withoutSeconds.Find(L"37"), 0) << static_cast<const wchar_t*>(withoutSeconds);
    EXPECT_FALSE(withoutSeconds.IsEmpty());
    EXPECT_GE(CMainFrame::DateText(time, false).Find(L"2026"), 0);
    EXPECT_GT(CMainFrame::DateText(time, true).GetLength(), CMainFrame::DateText(time, false).GetLength());
    // Beyond the year 3000 the C library converts nothing: empty texts and weekday 0.
    EXPECT_TRUE(CMainFrame::DateText(int64_t{33000000000}, false).IsEmpty());
    EXPECT_TRUE(CMainFrame::TimeText(int64_t{33000000000}, true).IsEmpty());
    EXPECT_EQ(0, CMainFrame::WeekdayNumber(int64_t{33000000000}));
}
