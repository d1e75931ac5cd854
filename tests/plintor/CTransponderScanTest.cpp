#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "dvb/DVBPlaybackCore/CETHTuneInfo.h"
#include "dvb/libDVB/service/ServiceTestKit.h"
#include "plintor/CTransponderScan.h"

using namespace test;
using DVBPlaybackCore::CQORService;
using plintor::CTransponderScan;

namespace {

struct Posted {
    std::vector<std::unique_ptr<CQORService>> records;
    bool accept = true;
    CTransponderScan::Post Sink()
    {
        return [this](CQORService* record) {
            if (!accept)
                return false;
            // After the hand-over the engine no longer knows the record.
            EXPECT_EQ(record->GetServiceManager(), nullptr);
            records.emplace_back(record);
            return true;
        };
    }
};

std::unique_ptr<DVBPlaybackCore::CTuneInfo> GroupTuneInfo()
{
    auto info = std::make_unique<DVBPlaybackCore::CETHTuneInfo>();
    info->SetAddress(u"239.1.2.3");
    info->SetPort(1234);
    return info;
}

// Program 1 free TV, 2 scrambled, 3 announced in the PAT but without its PMT.
void FeedMultiplex(CTestEngine& engine, bool sdt = true)
{
    engine.Feed(0, Pat(0x77, 0, {{1, 0x100}, {2, 0x101}, {3, 0x102}}));
    engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}}));
    engine.Feed(0x101, Pmt(2, 0, 0x300, {{0x02, 0x300, {}}}));
    if (sdt)
        engine.Feed(0x11, Sdt(0x77, 0x2000, 0, {{1, "One", "Maker"}, {2, "Two", "Maker", true, true}}));
    Bytes scrambled(188, 0xFF);
    scrambled[0] = 0x47;
    scrambled[1] = 0x03;
    scrambled[2] = 0x00;
    scrambled[3] = 0x90; // transport_scrambling_control 2, payload only
    engine.GetRouter().DeliverPacket(scrambled.data(), 188);
}

} // namespace

TEST(TransponderScan, ReceivedServicesArePostedWithTheirTuningRecordAndTheRestDeleted)
{
    base::CManualResetEvent stop;
    CTransponderScan scan(stop);
    CTestEngine engine;
    ASSERT_EQ(engine.Start(&scan), S_OK);
    FeedMultiplex(engine);
    Posted posted;
    CTransponderScan::Waits waits{500, 50, 50}; // program 3's PMT never comes
    EXPECT_EQ(scan.Collect(engine, GroupTuneInfo, posted.Sink(), waits), CTransponderScan::kScanned);

    ASSERT_EQ(posted.records.size(), 2u);
    EXPECT_EQ(posted.records[0]->GetServiceId(), 1);
    EXPECT_EQ(posted.records[0]->GetName(), u"One");
    EXPECT_EQ(posted.records[0]->GetProvider(), u"Maker");
    EXPECT_EQ(posted.records[0]->GetTransportStreamId(), 0x77);
    EXPECT_EQ(posted.records[0]->GetSelected(), 1u);
    EXPECT_EQ(posted.records[1]->GetServiceId(), 2);
    EXPECT_EQ(posted.records[1]->GetSelected(), 0u); // scrambled: unticked
    for (const auto& record : posted.records) {
        ASSERT_EQ(record->GetTuneInfoCount(), 1u);
        auto* info = dynamic_cast<DVBPlaybackCore::CETHTuneInfo*>(record->GetTuneInfo(0));
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->GetAddress(), u"239.1.2.3");
        EXPECT_EQ(info->GetPort(), 1234u);
    }
    EXPECT_EQ(engine.GetServiceManager().GetRecordCount(), 0u);

    // The next transponder starts empty; refused records are deleted (the sanitiser sees leaks).
    posted.records.clear();
    posted.accept = false;
    FeedMultiplex(engine);
    EXPECT_EQ(scan.Collect(engine, GroupTuneInfo, posted.Sink(), waits), CTransponderScan::kScanned);
    EXPECT_TRUE(posted.records.empty());
}

TEST(TransponderScan, NoPATSkipsTheTransponder)
{
    base::CManualResetEvent stop;
    CTransponderScan scan(stop);
    CTestEngine engine;
    ASSERT_EQ(engine.Start(&scan), S_OK);
    Posted posted;
    EXPECT_EQ(scan.Collect(engine, GroupTuneInfo, posted.Sink(), {30, 10000, 5000}), CTransponderScan::kNoPAT);
    EXPECT_TRUE(posted.records.empty());
}

TEST(TransponderScan, StopEndsTheLongWaitAtOnceAndKeepsWhatWasReceived)
{
    base::CManualResetEvent stop;
    CTransponderScan scan(stop);
    CTestEngine engine;
    ASSERT_EQ(engine.Start(&scan), S_OK);
    FeedMultiplex(engine, false); // program 3's PMT never comes: a 10 s wait
    Posted posted;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop.Set();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(scan.Collect(engine, GroupTuneInfo, posted.Sink()), CTransponderScan::kScanned);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    stopper.join();
    EXPECT_LT(elapsed, std::chrono::milliseconds(50 + 200));
    ASSERT_EQ(posted.records.size(), 2u);
    EXPECT_EQ(posted.records[0]->GetName(), u"Program 1"); // no SDT: the name it was given
}

TEST(TransponderScan, ServicesAnnouncedWhileTheWorkerWaits)
{
    base::CManualResetEvent stop;
    CTransponderScan scan(stop);
    CTestEngine engine;
    ASSERT_EQ(engine.Start(&scan), S_OK);
    Posted posted;
    // The reception thread appends to the pending list while the worker waits on the events.
    std::thread reception([&] {
        engine.Feed(0, Pat(0x77, 0, {{1, 0x100}, {2, 0x101}}));
        engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}}));
        engine.Feed(0x101, Pmt(2, 0, 0x300, {{0x04, 0x300, {}}}));
        engine.Feed(0x11, Sdt(0x77, 0x2000, 0, {{1, "One", "Maker"}, {2, "Two", ""}}));
    });
    EXPECT_EQ(scan.Collect(engine, GroupTuneInfo, posted.Sink(), {5000, 5000, 5000}), CTransponderScan::kScanned);
    reception.join();
    ASSERT_EQ(posted.records.size(), 2u);
    EXPECT_EQ(posted.records[1]->GetName(), u"Two");
    EXPECT_EQ(posted.records[1]->GetProvider(), u"");
}

TEST(TransponderScan, MulticastEntryCarriesGroupAndPort)
{
    const uint8_t group[4] = {239, 255, 0, 17};
    const uint64_t entry = plintor::PackMulticastEntry(group, 5004);
    EXPECT_EQ(entry, 0xEFFF0011138C0000ull);
    std::u16string address;
    uint16_t port = 0;
    plintor::UnpackMulticastEntry(entry, &address, &port);
    EXPECT_EQ(address, u"239.255.0.17");
    EXPECT_EQ(port, 5004);
}
