// The channel engine choosing, opening and tuning the virtual BDA tuners from channel records: a
// second channel of the playing multiplex needs no tuning, another tuner closes the first, a
// missing tuner falls to the record's next one, and stepping walks the TV list with wrap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>

#include "SIBuilders.h"
#include "TunerEngineTest.h"
#include "base/Clock.h"
#include "base/Utf16.h"
#include "support/TSPacketBuilder.h"
#include "support/TestMedia.h"

using DVBPlaybackCore::CQOREngine;
using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

using test::PumpUntil;

namespace {

class QOREngineTunerTest : public test::CTunerEngineTest {
protected:
    void SetUp() override { StartEngine("channels_engine/channels.dat", "file_engine.ts"); }
    std::vector<std::pair<int32_t, std::u16string>> Devices() { return m_engine->GetDevices(); }
    using Devs = std::vector<std::pair<int32_t, std::u16string>>;
};

} // namespace

TEST_F(QOREngineTunerTest, ChoosesTunesAndKeepsTheTunersAsTheChannelsNeed)
{
    CQORService* one = m_engine->FindService(CServices::KeyOf(1110, 301));
    CQORService* two = m_engine->FindService(CServices::KeyOf(1110, 302));
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);

    ASSERT_EQ(m_engine->PlayServiceById(301, 1110, -1, 0), S_OK);
    EXPECT_EQ(Devices(), (Devs{{1, u"Virtual Tuner T/C (1)"}}));
    EXPECT_EQ(m_tuner.LastTune().frequency, 506000);
    EXPECT_EQ(one->GetListPosition(), CServices::kTVBase);
    // The multiplex arrives: both channels are attached to the running tuner, the playing one's
    // packets reach the frame and its streams are reported from the user-interface thread.
    ASSERT_TRUE(PumpUntil([&] { return one->GetReceptionState() == libDVB::CService::kReceived &&
                                       two->GetReceptionState() == libDVB::CService::kReceived; }));
    EXPECT_TRUE(PumpUntil([&] {
        auto data = m_ui.DataLock();
        return m_ui.streams.video != 0;
    }));
    EXPECT_TRUE(PumpUntil([&] {
        auto data = m_ui.DataLock();
        return !m_ui.packets.empty();
    }));
    const uint32_t tunes = m_tuner.LastTune().count;

    // The other channel of the multiplex: no tuning, same device.
    ASSERT_EQ(m_engine->PlayServiceById(302, 1110, -1, 0), S_OK);
    EXPECT_EQ(m_tuner.LastTune().count, tunes);
    EXPECT_EQ(Devices(), (Devs{{1, u"Virtual Tuner T/C (1)"}}));
    EXPECT_EQ(two->GetListPosition(), CServices::kTVBase + 1);

    // Next: the satellite channel needs the other tuner; the first is closed, DiSEqC goes out.
    ASSERT_EQ(m_engine->PlayNextService(), S_OK);
    EXPECT_EQ(Playing(), m_engine->FindService(CServices::KeyOf(1111, 258)));
    EXPECT_EQ(Playing()->GetListPosition(), CServices::kTVBase + 2);
    EXPECT_EQ(Devices(), (Devs{{2, u"Virtual Tuner S"}}));
    EXPECT_EQ(m_tuner.LastTune().frequency, 11778000);
    EXPECT_EQ(m_tuner.DiSEqCCount(), 1u);

    // Next: the first tuner of the record is missing, its second one plays it.
    ASSERT_EQ(m_engine->PlayNextService(), S_OK);
    EXPECT_EQ(Playing(), m_engine->FindService(CServices::KeyOf(1112, 260)));
    EXPECT_EQ(Devices(), (Devs{{3, u"Virtual Tuner T/C (1)"}}));
    EXPECT_EQ(m_tuner.LastTune().frequency, 522000);

    // Next wraps to the first of the list; the open tuner is retuned, not reopened.
    ASSERT_EQ(m_engine->PlayNextService(), S_OK);
    EXPECT_EQ(Playing(), one);
    EXPECT_EQ(Devices(), (Devs{{3, u"Virtual Tuner T/C (1)"}}));
    EXPECT_EQ(m_tuner.LastTune().frequency, 506000);
    ASSERT_EQ(m_engine->PlayPreviousService(), S_OK);
    EXPECT_EQ(Playing(), m_engine->FindService(CServices::KeyOf(1112, 260)));
    EXPECT_EQ(Playing()->GetListPosition(), CServices::kTVBase + 3);

    // Radio positions count from their own base.
    ASSERT_EQ(m_engine->PlayServiceById(400, 1113, -1, 0), S_OK);
    EXPECT_EQ(Playing()->GetListPosition(), CServices::kRadioBase);
    EXPECT_EQ(m_engine->Shutdown(), S_OK);
    EXPECT_TRUE(Devices().empty());
    EXPECT_EQ(Playing(), nullptr);
    EXPECT_EQ(m_ui.timeouts.load(), 0u);
}

// Pausing a tuner's channel records it into its timeshift buffer: nothing reaches the frame while
// paused, resuming replays from the buffer, and a paused channel left for another ends its buffer
// and the next one plays live. Going live from the buffer restarts the demultiplexer.
TEST_F(QOREngineTunerTest, PausesATunerChannelIntoItsBufferAndComesBackLive)
{
    // Twelve seconds of one channel: long enough to pause and resume while it is sent.
    m_tuner.MapFrequency(506000, test::WidePath(test::MediaPath("channels_network/timeshift.ts")));
    CQORService* one = m_engine->FindService(CServices::KeyOf(1110, 301));
    ASSERT_NE(one, nullptr);
    ASSERT_EQ(m_engine->PlayServiceById(301, 1110, -1, 0), S_OK);
    uint16_t video = 0;
    ASSERT_TRUE(PumpUntil([&] {
        auto data = m_ui.DataLock();
        video = m_ui.streams.video;
        return video != 0 && m_ui.packets[video] > 20;
    }));
    uint8_t paused = 9, created = 9;
    EXPECT_EQ(m_engine->GetTimeshiftState(&paused, &created), S_OK);
    EXPECT_EQ(paused + created, 0);
    m_ui.TakeLog();

    ASSERT_EQ(m_engine->StartTimeshift(), S_OK);
    EXPECT_EQ(m_ui.TakeCommands(), (std::vector<std::string>{"pause", "live0"}));
    m_engine->GetTimeshiftState(&paused, &created);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(created, 1);
    // The tuner goes on streaming into the buffer; the frame gets nothing.
    const uint32_t held = m_ui.Packets(video);
    EXPECT_FALSE(PumpUntil([&] { return m_ui.Packets(video) > held; }, 700));

    // Resume: the replay comes out of the buffer, which keeps recording.
    bool restart = false;
    ASSERT_EQ(m_engine->StopTimeshift(&restart), S_OK);
    EXPECT_FALSE(restart);
    EXPECT_EQ(m_ui.TakeCommands(), (std::vector<std::string>{"run", "live1"}));
    m_engine->GetTimeshiftState(&paused, &created);
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(PumpUntil([&] { return m_ui.Packets(video) > held; }));

    // Live again from the buffer: the demultiplexer is reset and the buffer ends.
    ASSERT_EQ(m_engine->StartTimeshift(), S_OK);
    restart = true;
    ASSERT_EQ(m_engine->StopTimeshift(&restart), S_OK);
    EXPECT_EQ(m_ui.TakeCommands(), (std::vector<std::string>{"pause", "live0", "stop", "reset", "run", "live1"}));
    m_engine->GetTimeshiftState(&paused, &created);
    EXPECT_EQ(paused + created, 0);
    const uint32_t live = m_ui.Packets(video);
    EXPECT_TRUE(PumpUntil([&] { return m_ui.Packets(video) > live; }));

    // Paused, then another channel of the multiplex: the buffer goes with its channel.
    ASSERT_EQ(m_engine->StartTimeshift(), S_OK);
    EXPECT_EQ(m_ui.live.load(), 0);
    ASSERT_EQ(m_engine->PlayServiceById(302, 1110, -1, 0), S_OK);
    EXPECT_FALSE(one->IsTimeshiftCreated());
    EXPECT_EQ(m_ui.live.load(), 1);
    m_engine->GetTimeshiftState(&paused, &created);
    EXPECT_EQ(paused + created, 0);
    // And back: the first channel plays live.
    ASSERT_EQ(m_engine->PlayServiceById(301, 1110, -1, 0), S_OK);
    const uint32_t back = m_ui.Packets(video);
    EXPECT_TRUE(PumpUntil([&] { return m_ui.Packets(video) > back; }));
    EXPECT_EQ(m_ui.timeouts.load(), 0u);
}

// Stepping among favourites stays in the favourites and wraps at both ends.
TEST_F(QOREngineTunerTest, StepsThroughTheFavouritesWithWrap)
{
    CQORService* two = m_engine->FindService(CServices::KeyOf(1110, 302));
    CQORService* radio = m_engine->FindService(CServices::KeyOf(1113, 400));
    ASSERT_NE(two, nullptr);
    ASSERT_NE(radio, nullptr);
    m_engine->SetFavourite(two, 1);
    m_engine->SetFavourite(radio, 2);
    ASSERT_EQ(m_engine->PlayService(two, CServices::kFavouriteBase, 0), S_OK);
    ASSERT_EQ(m_engine->PlayNextService(), S_OK);
    EXPECT_EQ(Playing(), radio);
    EXPECT_EQ(radio->GetListPosition(), CServices::kFavouriteBase + 1);
    ASSERT_EQ(m_engine->PlayNextService(), S_OK);
    EXPECT_EQ(Playing(), two);
    ASSERT_EQ(m_engine->PlayPreviousService(), S_OK);
    EXPECT_EQ(Playing(), radio);
    EXPECT_EQ(m_tuner.LastTune().frequency, 538000);
    EXPECT_EQ(m_ui.timeouts.load(), 0u);
}

namespace {

struct GuideEvent {
    uint16_t id;
    int64_t start; // UTC
    int64_t duration;
    std::string name, text;
};

// An EIT schedule section (ETSI EN 300 468, 5.2.4) of one service with short event descriptors.
test::Bytes EitSchedule(uint16_t sid, uint16_t tsid, uint16_t onid, const std::vector<GuideEvent>& events)
{
    auto bcd = [](int64_t v) { return static_cast<uint8_t>(((v / 10) << 4) | (v % 10)); };
    test::Bytes body = {static_cast<uint8_t>(tsid >> 8), static_cast<uint8_t>(tsid), static_cast<uint8_t>(onid >> 8),
                        static_cast<uint8_t>(onid), 0, 0x50};
    for (const auto& e : events) {
        const test::Bytes descriptor =
            test::Descriptor(0x4D, test::Cat({test::Str("deu"), test::Text(e.name), test::Text(e.text)}));
        const int64_t day = e.start / 86400, second = e.start % 86400;
        const uint16_t flags = static_cast<uint16_t>((4 << 13) | descriptor.size());
        body = test::Cat({body, {static_cast<uint8_t>(e.id >> 8), static_cast<uint8_t>(e.id)},
                          test::MjdTime(static_cast<uint16_t>(40587 + day), static_cast<uint8_t>(second / 3600),
                                        static_cast<uint8_t>(second / 60 % 60), static_cast<uint8_t>(second % 60)),
                          {bcd(e.duration / 3600), bcd(e.duration / 60 % 60), bcd(e.duration % 60)},
                          {static_cast<uint8_t>(flags >> 8), static_cast<uint8_t>(flags)}, descriptor});
    }
    return test::MakeLongSection(0x50, sid, 0, 0, 0, body);
}

// A zone of the CRT's own (the guide's local time), half an hour off UTC, for one test.
class CZone {
public:
    explicit CZone(const char* zone)
    {
        const char* old = std::getenv("TZ");
        m_old = old ? old : "";
        _putenv_s("TZ", zone);
        _tzset();
    }
    ~CZone()
    {
        _putenv_s("TZ", m_old.c_str());
        _tzset();
    }

private:
    std::string m_old;
};

} // namespace

// EIT sections spliced into the stream ffmpeg wrote reach the guide through the tuner: the playing
// channel's row, its events as UTC instants, an overlapping one trimmed, one without texts "N/A",
// one beyond two days left out; at 14:10 local time the grid starts at 13:30, at 14:40 at 14:00.
TEST_F(QOREngineTunerTest, EventsOfTheStreamReachTheGuide)
{
    CZone zone("XST-5:30");
    const int64_t local = base::DaysFromCivil(2026, 12, 9) * 86400 + 14 * 3600 + 10 * 60;
    const int64_t now = local - 5 * 3600 - 1800;
    ASSERT_EQ(base::LocalUtcOffset(now), 5 * 3600 + 1800);
    int64_t clock = now;
    m_engine->SetClock([&clock] { return clock; });

    std::ifstream in(test::MediaPath("file_engine.ts"), std::ios::binary);
    std::vector<uint8_t> stream((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(stream.size(), 188u * 20);
    uint8_t continuity = 0;
    const auto eit = test::PacketizeSections(
        0x12, {EitSchedule(301, 1110, 1,
                           {{1, now - 600, 3600, "First", ""},
                            {2, now + 2400, 1800, "Second", "About it"},
                            {3, now + 200000, 1800, "Later", ""}})},
        continuity);
    std::vector<uint8_t> spliced(stream.begin(), stream.begin() + 188 * 10);
    for (const auto& packet : eit)
        spliced.insert(spliced.end(), packet.begin(), packet.end());
    spliced.insert(spliced.end(), stream.begin() + 188 * 10, stream.end());
    const std::string path = m_folder + "\\eit.ts";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(spliced.data()),
                                                static_cast<std::streamsize>(spliced.size()));
    m_tuner.MapFrequency(506000, test::WidePath(path));

    ASSERT_EQ(m_engine->PlayServiceById(301, 1110, -1, 0), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return m_engine->GetEPGStore().GetEventCount() >= 3; }));
    int32_t row = -1;
    ASSERT_EQ(m_engine->UpdateEPGView(false, 1, &row), S_OK);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(m_ui.gridStart.load(), now - 40 * 60);
    {
        auto ui = m_ui.UILock();
        ASSERT_EQ(m_ui.guideEvents.size(), 2u);
        const auto& first = m_ui.guideEvents[0];
        EXPECT_EQ(first.name, u"First");
        EXPECT_EQ(first.description, u"N/A");
        EXPECT_EQ(first.start, now - 600);
        EXPECT_EQ(first.minutes, 50);
        EXPECT_EQ(first.keyLow, 301u << 16 | 1);
        EXPECT_EQ(first.keyHigh, 1u << 16 | 1110);
        EXPECT_EQ(m_ui.guideEvents[1].description, u"About it");
        EXPECT_EQ(m_ui.guideEvents[1].start, now + 2400);
        EXPECT_EQ(m_ui.guideEvents[1].minutes, 30);
        m_ui.guideEvents.clear();
    }
    libDVB::CEITEvent event;
    ASSERT_EQ(m_engine->GetEvent(301u << 16 | 2, 1u << 16 | 1110, &event), S_OK);
    EXPECT_EQ(event.name, u"Second");

    clock = now + 1800; // 14:40 local
    EXPECT_EQ(m_engine->UpdateEPGView(true, 1, &row), S_FALSE);
    EXPECT_EQ(m_ui.gridStart.load(), now - 10 * 60);
    m_engine->SetClock(nullptr);
}

// A tuning record without a locator (a tuning type the system does not know) is passed over, never
// called through: the record's next one opens and tunes the tuner.
TEST_F(QOREngineTunerTest, ATuningRecordWithoutLocatorIsPassedOver)
{
    ASSERT_EQ(m_engine->PlayServiceById(401, 1114, -1, 0), S_OK);
    EXPECT_EQ(Devices(), (Devs{{1, u"Virtual Tuner T/C (1)"}}));
    EXPECT_EQ(m_tuner.LastTune().frequency, 554000);
    EXPECT_EQ(Playing()->GetListPosition(), CServices::kRadioBase + 1);
}

namespace {

// Two channels of the terrestrial tuner in two multiplexes (one.ts, two.ts; PIDs 0x100/0x101 and
// 0x200/0x201): the tuner streams the moment it is tuned.
class QOREngineSwitchTest : public test::CTunerEngineTest {
protected:
    void SetUp() override
    {
        StartEngine("channels_switch/channels.dat", "channels_switch/one.ts");
        m_tuner.MapFrequency(522000, test::WidePath(test::MediaPath("channels_switch/two.ts")));
    }
    void ForgetPlayed()
    {
        auto data = m_ui.DataLock();
        m_ui.streams = {};
        m_ui.packets.clear();
    }
    // The frame has the channel's streams and gets packets of both.
    bool PlaysPictureAndSound(uint16_t video, uint16_t audio)
    {
        return PumpUntil(
            [&] {
                auto data = m_ui.DataLock();
                return m_ui.streams.video == video && m_ui.streams.audio == audio && m_ui.packets[video] > 0 &&
                       m_ui.packets[audio] > 0;
            },
            10000);
    }
};

} // namespace

// The new multiplex reports its streams while the report that the channel left was detached is
// still waiting for the user-interface thread: none of the new channel's reports is lost, so every
// switch shows picture and sound.
TEST_F(QOREngineSwitchTest, EverySwitchBetweenTwoMultiplexesShowsPictureAndSound)
{
    // The frame's graph runs only once the new channel's PMT, which comes a moment after the PAT,
    // is in: the user-interface thread is still switching when the channel reports its streams.
    m_ui.onRun = [this] {
        const ULONGLONG until = GetTickCount64() + 5000;
        while (Playing()->GetReceptionState() != libDVB::CService::kReceived && GetTickCount64() < until)
            Sleep(1);
    };
    for (int i = 0; i < 100; ++i) {
        const bool one = i % 2 == 0;
        ForgetPlayed();
        ASSERT_EQ(m_engine->PlayServiceById(one ? 301 : 302, one ? 1110 : 1112, -1, 0), S_OK);
        ASSERT_TRUE(PlaysPictureAndSound(one ? 0x100 : 0x200, one ? 0x101 : 0x201)) << "switch " << i;
    }
    EXPECT_EQ(m_engine->GetDevices().size(), 1u);
    EXPECT_EQ(m_ui.timeouts.load(), 0u);
}

// The playing channel's programme is left out of the PAT for two seconds: the channel leaves the
// slot and, back in the next PAT version, plays again by itself (its recording not ended), picture
// and sound within a PMT interval and a GOP of its return.
TEST_F(QOREngineSwitchTest, AProgrammeThatLeavesThePatAndReturnsPlaysAgain)
{
    std::map<uint16_t, uint32_t> expected;
    std::ifstream lines(test::MediaPath("channels_switch/leave.txt"));
    std::string word;
    for (uint32_t pid, count; lines >> word >> pid >> count;)
        expected[static_cast<uint16_t>(pid)] = count;
    ASSERT_GT(expected[0x100], 200u);
    ASSERT_GT(expected[0x101], 50u);
    m_tuner.MapFrequency(506000, test::WidePath(test::MediaPath("channels_switch/leave.ts")));
    CQORService* one = m_engine->FindService(CServices::KeyOf(1110, 301));
    ASSERT_EQ(m_engine->PlayServiceById(301, 1110, -1, 0), S_OK);
    ASSERT_TRUE(PlaysPictureAndSound(0x100, 0x101));

    ASSERT_TRUE(PumpUntil([&] { return Playing() == nullptr; }));
    ForgetPlayed();
    m_ui.TakeLog();
    EXPECT_TRUE(PumpUntil([&] {
        auto data = m_ui.DataLock();
        return m_ui.packets[0x100] >= expected[0x100] && m_ui.packets[0x101] >= expected[0x101];
    })) << m_ui.Packets(0x100) << " video and " << m_ui.Packets(0x101) << " audio packets";
    EXPECT_EQ(Playing(), one);
    EXPECT_EQ(one->GetListPosition(), CServices::kTVBase);
    {
        auto data = m_ui.DataLock();
        EXPECT_EQ(m_ui.streams.video, 0x100);
        EXPECT_EQ(m_ui.streams.audio, 0x101);
    }
    const std::vector<std::string> commands = m_ui.TakeCommands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), "run"), commands.end());
    EXPECT_EQ(std::find(commands.begin(), commands.end(), "stoprecording"), commands.end());
    EXPECT_EQ(m_ui.timeouts.load(), 0u);
}
