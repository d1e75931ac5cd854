// The BDA engine over the virtual tuner: a DVB-T broadcast made by ffmpeg becomes named services,
// and the graph follows the engine's states.
#include <gtest/gtest.h>

#include "BDATestSupport.h"
#include "VirtualTunerClient.h"
#include "dshow/CComPtr.h"
#include "dvb/libBDA/BDALocators.h"
#include "dvb/libBDA/BDANetworkTypes.h"
#include "dvb/libDVB/service/ServiceTestKit.h"
#include "dvb/libDVB_BDADevice/CBDATSEngine.h"
#include "support/TestMedia.h"

using dshow::CComPtr;
using libBDA::CBDADeviceEntry;
using libDVB_BDADevice::CBDATSEngine;

namespace {

constexpr LONG kMappedFrequency = 506000;

class BDAEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        ASSERT_TRUE(m_tuner.IsLoaded()) << "the virtual tuner server is not registered";
        m_tuner.Reset();
        m_tuner.MapFrequency(kMappedFrequency, test::WidePath(test::MediaPath("bda_dvbt.ts")));
        m_entry = test::EntryOf(virtualtuner::CLSID_VirtualTunerTC, libBDA::kNetworkDVBT);
        ASSERT_NE(m_entry, nullptr);
    }
    void TearDown() override
    {
        EXPECT_TRUE(test::OurGraphsInRunningObjectTable().empty());
        CoUninitialize();
    }
    static CComPtr<IDVBTLocator> Locator()
    {
        CComPtr<IDVBTLocator> locator;
        locator.Attach(libBDA::CreateDVBTLocator(kMappedFrequency, 8));
        return locator;
    }

    test::CVirtualTunerClient m_tuner;
    CBDADeviceEntry* m_entry = nullptr;
};

// An engine whose base cannot start, as when its device fails to open.
class FailingEngine : public CBDATSEngine {
public:
    using CBDATSEngine::CBDATSEngine;
    HRESULT OpenDevice() override { return E_FAIL; }
};

} // namespace

TEST_F(BDAEngineTest, TunedBroadcastYieldsNamedServices)
{
    test::CTestListener listener;
    {
        CBDATSEngine engine(m_entry, nullptr);
        ASSERT_EQ(engine.Start(&listener), S_OK);
        EXPECT_EQ(engine.Start(&listener), S_FALSE); // the graph is open already
        EXPECT_EQ(m_entry->GetGraphState(), CBDADeviceEntry::kGraphOpen);
        EXPECT_EQ(engine.SetDiSEqCPort(0, false), S_FALSE);
        EXPECT_EQ(m_tuner.DiSEqCCount(), 0u);
        ASSERT_EQ(engine.Tune(Locator()), S_OK);
        ASSERT_TRUE(SUCCEEDED(engine.StartStreaming()));
        EXPECT_EQ(engine.Tune(Locator()), S_FALSE); // not while running
        EXPECT_TRUE(engine.GetServiceManager().AllSDTEvent().Wait(20000));
        EXPECT_EQ(engine.GetServiceManager().GetTransportStreamId(), 0x0456);
        ASSERT_EQ(engine.Stop(), S_OK);
        EXPECT_EQ(m_entry->GetGraphState(), CBDADeviceEntry::kGraphClosed);
    }
    ASSERT_NE(listener.Service(0x0101), nullptr);
    EXPECT_EQ(listener.Service(0x0101)->GetName(), u"Virtual One");
    EXPECT_EQ(listener.Service(0x0101)->GetProvider(), u"Tolvik Test");
    EXPECT_EQ(listener.Service(0x0101)->GetServiceType(), libDVB::CService::kTV);
    EXPECT_EQ(listener.removed, std::vector<uint16_t>{0x0101});
}

TEST_F(BDAEngineTest, DestroyingARunningEngineClosesTheGraph)
{
    test::CTestListener listener;
    {
        CBDATSEngine engine(m_entry, nullptr);
        ASSERT_EQ(engine.Start(&listener), S_OK);
        ASSERT_EQ(engine.Tune(Locator()), S_OK);
        engine.StartStreaming();
    }
    EXPECT_EQ(m_entry->GetGraphState(), CBDADeviceEntry::kGraphClosed);
    // The entry stays in the list and opens again for a new engine.
    CBDATSEngine again(m_entry, nullptr);
    EXPECT_EQ(again.Start(&listener), S_OK);
    EXPECT_EQ(again.Stop(), S_OK);
}

TEST_F(BDAEngineTest, AFailedStartClosesTheTunerAgain)
{
    test::CTestListener listener;
    FailingEngine engine(m_entry, nullptr);
    EXPECT_EQ(engine.Start(&listener), E_FAIL);
    EXPECT_EQ(m_entry->GetGraphState(), CBDADeviceEntry::kGraphClosed);
    EXPECT_EQ(engine.GetState(), libDVB::CTSEngine::kStopped);
    EXPECT_EQ(m_tuner.Registrations(), 0);
    // The tuner is free for the next engine.
    CBDATSEngine next(m_entry, nullptr);
    EXPECT_EQ(next.Start(&listener), S_OK);
    EXPECT_EQ(next.Stop(), S_OK);
}

// The sink's bytes are confirmed packet by packet by the sync byte behind each. A stop releases the
// last packet that waits for its successor; bytes that come in after the stop (the tuner pushes
// while the graph changes state) are not routed into the next run, which may be another multiplex.
TEST_F(BDAEngineTest, StreamingStopsReleaseTheLastPacketAndStartsDropTheOldTail)
{
    test::CTestListener listener;
    CBDATSEngine engine(m_entry, nullptr);
    ASSERT_EQ(engine.Start(&listener), S_OK); // not tuned: the tuner itself sends nothing
    uint8_t continuity = 0;
    const auto input = [&](uint8_t version, uint16_t program, bool patLast) {
        const auto pat = test::PacketizeSections(0, {test::Pat(1, version, {{program, 0x100}})}, continuity);
        const auto null = test::MakePacket(0x1FFF, {});
        auto bytes = test::Concatenate(patLast ? std::vector<test::TSPacket>{null, pat[0]} : std::vector<test::TSPacket>{pat[0], null});
        engine.OnDumpData(bytes.data(), static_cast<int32_t>(bytes.size()));
    };
    ASSERT_TRUE(SUCCEEDED(engine.StartStreaming()));
    input(0, 1, true);
    EXPECT_TRUE(listener.added.empty()); // the PAT waits for the sync byte behind it
    engine.StopStreaming();
    EXPECT_EQ(listener.added, std::vector<uint16_t>{1});
    input(1, 3, true); // late bytes of the old input, the PAT last
    ASSERT_TRUE(SUCCEEDED(engine.StartStreaming()));
    input(2, 2, false);
    EXPECT_EQ(listener.added, (std::vector<uint16_t>{1, 2}));
    EXPECT_EQ(engine.Stop(), S_OK);
}
