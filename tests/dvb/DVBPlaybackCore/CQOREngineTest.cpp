// The channel engine playing the channels of a file ffmpeg wrote, through the file device, against
// the frame's stand-in: the stream PIDs reported are ffprobe's, every video and audio packet of the
// playing channel arrives (as a byte scan of the file counts them) and none of another, channels
// of one file share the device, and pausing a file stops its reader.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "ServiceTestKit.h"
#include "TestEngineUserInterface.h"
#include "base/Clock.h"
#include "base/Utf16.h"
#include "support/PesBuilder.h"
#include "support/SubtitleBuilder.h"
#include "support/TeletextBuilder.h"
#include "support/TestMedia.h"

using DVBPlaybackCore::CQOREngine;
using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

using test::PumpUntil;

namespace {

struct Program {
    uint16_t pcrPid = 0;
    std::vector<uint16_t> pids; // ffprobe's order: video, then audio
};

struct Probe {
    std::map<uint16_t, Program> programs;
    std::map<uint16_t, uint32_t> packets;
};

Probe ReadProbe(const std::string& path)
{
    Probe probe;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        uint32_t a = 0, b = 0, c = 0;
        words >> kind >> a >> b;
        if (kind == "program") {
            words >> c;
            probe.programs[static_cast<uint16_t>(a)].pcrPid = static_cast<uint16_t>(c);
        } else if (kind == "stream") {
            probe.programs[static_cast<uint16_t>(a)].pids.push_back(static_cast<uint16_t>(b));
        } else if (kind == "packets") {
            probe.packets[static_cast<uint16_t>(a)] = b;
        }
    }
    return probe;
}

class QOREngineTest : public ::testing::Test {
protected:
    // A file's channels get a transport_stream_id of their own.
    static constexpr uint16_t kTsid = 0xFFFF;

    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        m_folder = std::string(temp) + "tolvik_engine_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_folder.c_str(), nullptr);
        DeleteFileA((m_folder + "\\channels.dat").c_str());
        DeleteFileA((m_folder + "\\epg.dat").c_str());
        m_probe = ReadProbe(test::MediaPath("file_engine.txt"));
        ASSERT_EQ(m_probe.programs.size(), 2u);
        const std::u16string folder = base::Utf8ToUtf16(m_folder);
        m_engine = std::make_unique<CQOREngine>(&m_ui, folder, nullptr, folder);
    }
    void TearDown() override
    {
        m_engine.reset();
        DeleteFileA((m_folder + "\\channels.dat").c_str());
        DeleteFileA((m_folder + "\\epg.dat").c_str());
        RemoveDirectoryA(m_folder.c_str());
    }
    CQORService* Channel(uint16_t sid) { return m_engine->FindService(CServices::KeyOf(kTsid, sid)); }
    bool AllPacketsOf(uint16_t sid)
    {
        for (uint16_t pid : m_probe.programs[sid].pids)
            if (m_ui.Packets(pid) < m_probe.packets[pid])
                return false;
        return true;
    }
    void ExpectStreamsOf(uint16_t sid)
    {
        const Program& program = m_probe.programs[sid];
        ASSERT_EQ(program.pids.size(), 2u);
        auto data = m_ui.DataLock();
        EXPECT_EQ(m_ui.streams.video, program.pids[0]);
        EXPECT_EQ(m_ui.streams.audio, program.pids[1]);
        EXPECT_EQ(m_ui.streams.pcr, program.pcrPid);
    }

    std::string m_folder;
    Probe m_probe;
    test::CTestEngineUserInterface m_ui;
    std::unique_ptr<CQOREngine> m_engine;
};

} // namespace

TEST_F(QOREngineTest, PlaysTheChannelsOfAFileThroughOneDevice)
{
    libDVB::CTSEngine* device = nullptr;
    int32_t id = 0;
    const std::u16string path = base::Utf8ToUtf16(test::MediaPath("file_engine.ts"));
    ASSERT_EQ(m_engine->CreateFileDevice(path, &device, &id), S_OK);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(id, 1);
    ASSERT_NE(Channel(301), nullptr);
    ASSERT_NE(Channel(302), nullptr);

    // The first play stops the graph before anything else and ends by stopping a recording.
    ASSERT_EQ(m_engine->PlayServiceById(301, kTsid, -1, 0), S_OK);
    std::vector<std::string> log = m_ui.TakeLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "stop");
    EXPECT_EQ(log.back(), "stoprecording");
    ExpectStreamsOf(301);
    CQORService* playing = nullptr;
    m_engine->GetCurrentService(&playing);
    EXPECT_EQ(playing, Channel(301));
    // A file's channels are in no list until their type is known: no position.
    EXPECT_EQ(Channel(301)->GetListPosition(), 0);
    EXPECT_EQ(m_engine->PlayServiceById(301, kTsid, 1234, 0), S_FALSE);
    EXPECT_EQ(Channel(301)->GetListPosition(), 0);

    // Playing it again changes nothing.
    EXPECT_EQ(m_engine->PlayServiceById(301, kTsid, -1, 0), S_FALSE);
    EXPECT_TRUE(m_ui.TakeLog().empty());
    EXPECT_EQ(m_engine->PlayServiceById(999, kTsid, -1, 0), S_FALSE);

    // Every video and audio packet of the playing channel, none of the other.
    ASSERT_EQ(device->StartStreaming(), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return AllPacketsOf(301); }));
    for (uint16_t pid : m_probe.programs[301].pids)
        EXPECT_EQ(m_ui.Packets(pid), m_probe.packets[pid]) << pid;
    for (uint16_t pid : m_probe.programs[302].pids)
        EXPECT_EQ(m_ui.Packets(pid), 0u) << pid;

    // The other channel of the file: same device, its own streams.
    ASSERT_EQ(m_engine->PlayServiceById(302, kTsid, -1, 0), S_OK);
    ExpectStreamsOf(302);
    ASSERT_EQ(m_engine->GetDevices().size(), 1u);
    EXPECT_EQ(m_engine->GetDevices()[0].first, 1);
    EXPECT_EQ(m_engine->GetDevices()[0].second, path);

    EXPECT_EQ(Channel(302)->GetListPosition(), 0);
    // No list holds a neighbour: stepping plays nothing and keeps the channel.
    EXPECT_EQ(m_engine->PlayNextService(), E_FAIL);
    EXPECT_EQ(m_engine->PlayPreviousService(), E_FAIL);
    m_engine->GetCurrentService(&playing);
    EXPECT_EQ(playing, Channel(302));

    // The file's device goes: its playing channel leaves the slot before its record is retired.
    ASSERT_EQ(m_engine->RemoveDevice(id), S_OK);
    m_engine->GetCurrentService(&playing);
    EXPECT_EQ(playing, nullptr);
    EXPECT_EQ(Channel(302), nullptr);
    EXPECT_EQ(m_ui.timeouts.load(), 0u);
}

TEST_F(QOREngineTest, PausingAFileStopsItsReaderAndStoppingComesBackLive)
{
    libDVB::CTSEngine* device = nullptr;
    ASSERT_EQ(m_engine->CreateFileDevice(base::Utf8ToUtf16(test::MediaPath("file_engine.ts")), &device, nullptr),
              S_OK);
    EXPECT_EQ(m_engine->StartTimeshift(), S_FALSE); // nothing plays
    EXPECT_EQ(m_engine->GetTimeshiftState(nullptr, nullptr), S_FALSE);
    ASSERT_EQ(m_engine->PlayServiceById(301, kTsid, -1, 0), S_OK);
    ASSERT_EQ(device->StartStreaming(), S_OK);
    const uint16_t video = m_probe.programs[301].pids[0];
    ASSERT_TRUE(PumpUntil([&] { return m_ui.Packets(video) > 5; }));
    m_ui.TakeLog();

    // A file pauses by stopping its reader; its channel's buffer is paused with it.
    uint8_t paused = 9, created = 9;
    EXPECT_EQ(m_engine->GetTimeshiftState(&paused, &created), S_OK);
    EXPECT_EQ(paused + created, 0);
    m_engine->StartTimeshift();
    EXPECT_EQ(m_ui.live.load(), 0);
    EXPECT_EQ(m_engine->GetTimeshiftState(&paused, &created), S_OK);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(created, 1);
    std::vector<std::string> log = m_ui.TakeLog();
    EXPECT_EQ(log, (std::vector<std::string>{"pause", "live0"}));
    // The reader has ended: no packet comes any more.
    const uint32_t held = m_ui.Packets(video);
    EXPECT_FALSE(PumpUntil([&] { return m_ui.Packets(video) > held; }, 500));

    // Resuming a file restarts its reader and goes live.
    bool restart = false;
    m_engine->StopTimeshift(&restart);
    EXPECT_TRUE(restart);
    EXPECT_EQ(m_ui.live.load(), 1);
    m_engine->GetTimeshiftState(&paused, &created);
    EXPECT_EQ(paused + created, 0);
    EXPECT_EQ(m_ui.TakeLog(), (std::vector<std::string>{"run", "live1"}));
    EXPECT_TRUE(PumpUntil([&] { return m_ui.Packets(video) > held; }));

    // Paused, then another channel: the pause ends with the old one and the new one plays live.
    m_engine->StartTimeshift();
    m_engine->GetTimeshiftState(&paused, &created);
    EXPECT_EQ(paused, 1);
    ASSERT_EQ(m_engine->PlayServiceById(302, kTsid, -1, 0), S_OK);
    EXPECT_FALSE(Channel(301)->IsTimeshiftCreated());
    m_engine->GetTimeshiftState(&paused, &created);
    EXPECT_EQ(paused + created, 0);
    EXPECT_EQ(m_ui.live.load(), 1);
    const uint16_t otherVideo = m_probe.programs[302].pids[0];
    EXPECT_TRUE(PumpUntil([&] { return m_ui.Packets(otherVideo) > 5; }));
    EXPECT_EQ(m_ui.timeouts.load(), 0u);
}

TEST_F(QOREngineTest, DevicesAreOpenedRegisteredAndClosed)
{
    libDVB::CTSEngine* device = reinterpret_cast<libDVB::CTSEngine*>(1);
    int32_t id = 0;
    EXPECT_EQ(m_engine->CreateBDADevice(u"No Such Tuner", &device, &id), E_FAIL);
    EXPECT_EQ(device, nullptr);
    device = reinterpret_cast<libDVB::CTSEngine*>(1);
    // Nobody sends to the group: no table comes within the opening's wait, nothing is registered.
    // (A port no other test sends to: a socket bound to a port also hears groups that other
    // sockets of the machine joined on it.)
    EXPECT_EQ(m_engine->CreateMulticastDevice(u"239.1.2.3", 47123, &device, &id), E_FAIL);
    EXPECT_EQ(device, nullptr);
    device = reinterpret_cast<libDVB::CTSEngine*>(1);
    EXPECT_EQ(m_engine->CreateMulticastDevice(u"239.1.2.3", 65536, &device, &id), E_FAIL);
    EXPECT_EQ(device, nullptr);
    // A file that is not there is not registered.
    EXPECT_EQ(m_engine->CreateFileDevice(u"C:\\no\\such\\file.ts", &device, &id), E_FAIL);
    EXPECT_EQ(device, nullptr);
    EXPECT_TRUE(m_engine->GetDevices().empty());

    const std::u16string path = base::Utf8ToUtf16(test::MediaPath("file_engine.ts"));
    int32_t first = 0, second = 0;
    ASSERT_EQ(m_engine->CreateFileDevice(path, &device, &first), S_OK);
    ASSERT_EQ(m_engine->CreateFileDevice(path, &device, &second), S_OK);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2); // the failed attempts used no id
    EXPECT_EQ(m_engine->RemoveDevice(7), E_FAIL);
    EXPECT_EQ(m_engine->RemoveDevice(first), S_OK);
    EXPECT_EQ(m_engine->RemoveDevice(first), E_FAIL);
    ASSERT_EQ(m_engine->CreateFileDevice(path, &device, &first), S_OK);
    EXPECT_EQ(first, 3); // ids are never reused
    EXPECT_EQ(m_engine->GetDevices().size(), 2u);
    EXPECT_EQ(m_engine->CloseAllDevices(), S_OK);
    EXPECT_TRUE(m_engine->GetDevices().empty());

    // Null service and slots other than 0 are refused.
    EXPECT_EQ(m_engine->PlayService(nullptr, -1, 0), E_FAIL);
    ASSERT_EQ(m_engine->CreateFileDevice(path, &device, nullptr), S_OK);
    EXPECT_EQ(m_engine->PlayService(Channel(301), -1, 1), E_FAIL);
    EXPECT_TRUE(m_ui.TakeLog().empty());
}

// A device thread replays new PMT and SDT versions (the playing channel's video PID moving, the
// names changing) for 30 s while the user-interface thread plays, steps through the favourites,
// and reads and selects the audio stream under the frame's user-interface lock: the engine must
// neither call the frame under a service lock nor let the frame's locks wait for each other.
TEST_F(QOREngineTest, ReportsFromADeviceThreadNeverDeadlockTheFrame)
{
    auto* device = new test::CTestEngine(m_engine.get());
    ASSERT_EQ(m_engine->AddDevice(device, nullptr, u"replay"), S_OK);
    auto pmt = [](uint16_t program, uint8_t version) {
        const uint16_t base = static_cast<uint16_t>(program << 8);
        return test::Pmt(program, version & 31, base,
                         {{0x02, uint16_t(base + (version & 1)), {}},
                          {0x03, uint16_t(base + 0x10), test::Language("deu")},
                          {0x03, uint16_t(base + 0x11), test::Language("eng")}});
    };
    auto sdt = [](uint8_t version) {
        const std::string suffix = " " + std::to_string(version);
        return test::Sdt(1, 1, version & 31, {{1, "One" + suffix, "P"}, {2, "Two" + suffix, "P"}});
    };
    device->Feed(0, test::Pat(1, 0, {{1, 0x100}, {2, 0x101}}));
    device->Feed(0x100, pmt(1, 0));
    device->Feed(0x101, pmt(2, 0));
    device->Feed(0x11, sdt(0));
    ASSERT_NE(Channel(1), nullptr);
    ASSERT_NE(Channel(2), nullptr);
    m_engine->SetFavourite(Channel(1), 1);
    m_engine->SetFavourite(Channel(2), 2);

    std::atomic<bool> stop{false};
    std::atomic<uint32_t> versions{0};
    std::thread replay([&] {
        for (uint8_t version = 1; !stop.load(); ++version) {
            device->Feed(0x100, pmt(1, version));
            device->Feed(0x101, pmt(2, version));
            device->Feed(0x11, sdt(version));
            ++versions;
            std::this_thread::yield();
        }
    });
    ASSERT_EQ(m_engine->PlayService(Channel(1), CServices::kFavouriteBase, 0), S_OK);
    const ULONGLONG until = GetTickCount64() + 30000;
    uint32_t steps = 0, selections = 0;
    while (GetTickCount64() < until) {
        EXPECT_EQ(steps % 3 ? m_engine->PlayNextService() : m_engine->PlayPreviousService(), S_OK);
        ++steps;
        PumpUntil([] { return false; }, 10);
        CQORService* playing = nullptr;
        m_engine->GetCurrentService(&playing);
        ASSERT_NE(playing, nullptr);
        auto ui = m_ui.UILock();
        EXPECT_FALSE(playing->GetName().empty());
        base::CScopedLock lock(playing->Lock());
        const uint16_t pid = static_cast<uint16_t>((playing->GetServiceId() << 8) + 0x10 + steps % 2);
        if (const libDVB::CStream* audio = playing->FindStream(pid, libDVB::CStream::kAudio))
            selections += playing->SelectAudioStream(*audio) == S_OK;
    }
    stop = true;
    replay.join();
    PumpUntil([] { return false; }, 50);
    EXPECT_GT(versions.load(), 100u);
    EXPECT_GT(steps, 100u);
    EXPECT_GT(selections, 0u);
    EXPECT_EQ(m_ui.timeouts.load(), 0u);
    auto data = m_ui.DataLock();
    EXPECT_GE(m_ui.streamReports, steps);
}

// Decoded pages cross to the user-interface thread as message 2037 (wParam the decoder, lParam the
// page key, 0 for a dropped overlay page); keypad digits become the page-number entry text.
TEST_F(QOREngineTest, TeletextPagesArePostedAndKeypadDigitsEnterAPage)
{
    auto* decoder = reinterpret_cast<libDVB::CTeletextDecoder*>(0x1234);
    EXPECT_EQ(m_engine->OnTeletextPage(decoder, 0x00020164, true, false), S_OK);
    EXPECT_EQ(m_engine->OnTeletextPage(decoder, 0x00000188, true, true), S_OK);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, CQOREngine::kTeletextPageMessage, CQOREngine::kTeletextPageMessage,
                             PM_REMOVE));
    EXPECT_EQ(msg.wParam, reinterpret_cast<WPARAM>(decoder));
    EXPECT_EQ(msg.lParam, 0x00020164);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, CQOREngine::kTeletextPageMessage, CQOREngine::kTeletextPageMessage,
                             PM_REMOVE));
    EXPECT_EQ(msg.lParam, 0);

    m_ui.TakeLog();
    EXPECT_EQ(m_engine->TeletextKeyDown('1'), S_OK); // the main keyboard's digits are not handled
    EXPECT_TRUE(m_ui.TakeLog().empty());
    EXPECT_EQ(m_engine->TeletextKeyDown(VK_NUMPAD1), S_OK);
    EXPECT_EQ(m_ui.TakeLog(), std::vector<std::string>{"entry"});
    EXPECT_EQ(m_engine->RelayDisplayFlag(true), S_OK);
    EXPECT_EQ(m_ui.TakeLog(), std::vector<std::string>{"panel1"});
    libDVB::CEITEvent event;
    EXPECT_EQ(m_engine->GetEvent(1, 0x80000000u, &event), E_FAIL);
}

namespace {

// The frame's window as far as teletext goes: message 2037 is handed back to the engine.
CQOREngine* g_teletextEngine = nullptr;
std::atomic<int> g_teletextMessages{0};

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CQOREngine::kTeletextPageMessage && g_teletextEngine) {
        ++g_teletextMessages;
        g_teletextEngine->OnTeletextPage(reinterpret_cast<libDVB::CTeletextDecoder*>(wParam),
                                         static_cast<uint32_t>(lParam), false, lParam == 0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

// A channel with a teletext and a subtitle stream, fed from another thread as a device would: the
// page on screen is posted as message 2037 to the frame, comes back and is drawn into the page
// bitmap the frame is shown; a display set drawn at its time reaches the frame as an overlay.
TEST_F(QOREngineTest, TeletextPagesAndSubtitleBitmapsReachTheFrame)
{
    WNDCLASSW frameClass = {};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = GetModuleHandleW(nullptr);
    frameClass.lpszClassName = L"TolvikTestFrame";
    RegisterClassW(&frameClass);
    HWND frame = CreateWindowExW(0, L"TolvikTestFrame", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 frameClass.hInstance, nullptr);
    ASSERT_NE(frame, nullptr);
    const std::u16string folder = base::Utf8ToUtf16(m_folder);
    m_engine.reset();
    m_engine = std::make_unique<CQOREngine>(&m_ui, folder, frame, folder);
    g_teletextEngine = m_engine.get();

    auto* device = new test::CTestEngine(m_engine.get());
    ASSERT_EQ(m_engine->AddDevice(device, nullptr, u"feed"), S_OK);
    device->Feed(0, test::Pat(1, 0, {{1, 0x100}, {2, 0x200}}));
    device->Feed(0x100, test::Pmt(1, 0, 0x110,
                                  {{0x02, 0x110, {}},
                                   {0x06, 0x120, test::Teletext({{"deu", 1, 1, 0x00}})},
                                   {0x06, 0x130, test::Subtitling("deu")}}));
    device->Feed(0x200, test::Pmt(2, 0, 0x210, {{0x02, 0x210, {}}}));
    ASSERT_NE(Channel(1), nullptr);
    ASSERT_EQ(m_engine->PlayServiceById(1, kTsid, -1, 0), S_OK);
    {
        // The playing channel chooses its subtitles as the frame's menu does.
        base::CScopedLock lock(Channel(1)->Lock());
        const libDVB::CStream* subtitles = Channel(1)->FindStream(0x130, libDVB::CStream::kSubtitle);
        ASSERT_NE(subtitles, nullptr);
        Channel(1)->SelectSubtitleStream(*subtitles);
    }
    ASSERT_EQ(m_engine->ShowTeletext(true, 100, false), S_OK);
    m_ui.TakeLog();
    const uint32_t overlaysBefore = m_ui.overlays.load();
    EXPECT_EQ(m_ui.overlayLit.load(), 0u); // attaching cleared the bitmap

    std::thread feed([&] {
        uint8_t teletextContinuity = 0, subtitleContinuity = 0;
        const test::TeletextHeader header = test::PageHeader(100);
        // A page is complete when the next header of its magazine starts.
        const std::vector<std::vector<uint8_t>> units = {
            test::TeletextUnit(1, 0, test::HeaderData(header)),
            test::TeletextUnit(1, 1, test::RowData("Tolvik Videotext")),
            test::TeletextUnit(1, 0, test::HeaderData(test::PageHeader(101)))};
        for (const auto& pes : {test::TeletextPes(units, 90000), test::TeletextPes({}, 90000)})
            for (const auto& p : test::PacketizePes(0x120, pes, teletextContinuity))
                device->GetRouter().DeliverPacket(p.data(), 188);
        test::SubtitleRegion region;
        region.id = 1;
        region.width = 720;
        region.height = 100;
        region.objects = {{1, 0, 0, 10, 0}};
        const auto set = test::MakePes(
            1000, test::SubtitlePesPayload(
                      {test::PageCompositionSegment(1, 5, 0, 1, {{1, 0, 100}}), test::RegionCompositionSegment(1, region),
                       test::ClutDefinitionSegment(1, 0, 0, {{1, 0x40, true, 235, 128, 128, 0}}),
                       test::ObjectDataSegment(1, 1, 0, test::FourBitField({{1, 1, 1, 1}}), {})}));
        for (const auto& pes : {set, test::MakePes(2000, {})})
            for (const auto& p : test::PacketizePes(0x130, pes, subtitleContinuity))
                device->GetRouter().DeliverPacket(p.data(), 188);
    });
    feed.join();
    EXPECT_TRUE(PumpUntil([&] { return g_teletextMessages.load() > 0; }));
    const std::vector<std::string> log = m_ui.TakeLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "page"), log.end());

    // The video clock reaches the set's time: the bitmap goes to the frame, which reads it then.
    ASSERT_EQ(m_engine->DrawSubtitles(1000), S_OK);
    EXPECT_GT(m_ui.overlays.load(), overlaysBefore);
    EXPECT_EQ(m_ui.overlayWidth.load(), 720);
    EXPECT_GT(m_ui.overlayLit.load(), 0u);
    EXPECT_EQ(m_ui.timeouts.load(), 0u);

    // The choice stays with the channel: away and back, its subtitle panel shows again.
    ASSERT_EQ(m_engine->PlayServiceById(2, kTsid, -1, 0), S_OK);
    m_ui.TakeLog();
    ASSERT_EQ(m_engine->PlayServiceById(1, kTsid, -1, 0), S_OK);
    const std::vector<std::string> back = m_ui.TakeLog();
    EXPECT_NE(std::find(back.begin(), back.end(), "panel1"), back.end());
    m_engine.reset();
    g_teletextEngine = nullptr;
    DestroyWindow(frame);
}

// One guide refresh of the network channels at 14:10 local time: the grid starts at 13:30, an
// event overlapping the next ends where it begins, one without texts reads "N/A", one beyond
// two days is left out, and a second refresh without new events does nothing.
TEST_F(QOREngineTest, TheGuideGetsRowsTrimmedEventsAndItsHalfHourGrid)
{
    ASSERT_EQ(m_engine->CreateFileDevice(base::Utf8ToUtf16(test::MediaPath("file_engine.ts")), nullptr, nullptr),
              S_OK);
    CQORService* channel = Channel(301);
    ASSERT_NE(channel, nullptr);
    const int64_t local = base::DaysFromCivil(2026, 12, 9) * 86400 + 14 * 3600 + 10 * 60;
    const int64_t offset = base::LocalUtcOffset(local);
    const int64_t now = local - offset;
    m_engine->SetClock([now] { return now; });

    auto event = [&](uint16_t id, int64_t start, int64_t duration, const std::u16string& name,
                     const std::u16string& text) {
        libDVB::CEITEventUpdate update;
        update.original_network_id = channel->GetOriginalNetworkId();
        update.transport_stream_id = channel->GetTransportStreamId();
        update.service_id = channel->GetServiceId();
        update.event_id = id;
        update.start = start;
        update.duration = duration;
        update.shortEvents.push_back({name, text});
        m_engine->GetEPGStore().MergeEvent(update);
    };
    event(1, now - 600, 3600, u"First", u"");
    event(2, now + 2400, 1800, u"Second", u"About it");
    event(3, now + 200000, 1800, u"Later", u"");

    int32_t row = -1;
    ASSERT_EQ(m_engine->UpdateEPGView(false, 3, &row), S_OK);
    EXPECT_EQ(m_ui.gridStart.load(), now - 40 * 60); // 13:30 local
    EXPECT_EQ(m_engine->UpdateEPGView(true, 3, &row), S_FALSE);
    auto ui = m_ui.UILock();
    ASSERT_EQ(m_ui.guideEvents.size(), 2u);
    const auto& first = m_ui.guideEvents[0];
    EXPECT_EQ(first.name, u"First");
    EXPECT_EQ(first.description, u"N/A");
    EXPECT_EQ(first.start, now - 600); // UTC, as stored
    EXPECT_EQ(first.minutes, 50);      // ends where the second begins
    EXPECT_EQ(first.keyLow, static_cast<uint32_t>(channel->GetServiceId()) << 16 | 1);
    EXPECT_EQ(m_ui.guideEvents[1].description, u"About it");
    EXPECT_EQ(m_ui.guideEvents[1].minutes, 30);
}
