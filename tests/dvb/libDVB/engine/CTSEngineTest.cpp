#include <gtest/gtest.h>

#include "dvb/libDVB/service/ServiceTestKit.h"

using namespace test;

namespace {

struct EitOwner : libDVB::CTSEngine::CTSEngineCallback {
    int tables = 0;
    HRESULT result = S_OK;
    // Every copy of a section comes here; the owner acts on those not yet handled in their version.
    HRESULT OnEITTable(libDVB::CTSEngine*, const uint8_t*, uint32_t, libDVB::CEITTable* table) override
    {
        if (table->IsHandled())
            return S_OK;
        ++tables;
        return result;
    }
};

} // namespace

TEST(TSEngine, StateMachine)
{
    CTestListener listener;
    CTestEngine engine;
    EXPECT_EQ(engine.Stop(), S_FALSE);
    EXPECT_EQ(engine.Start(&listener), S_OK);
    EXPECT_EQ(engine.GetState(), libDVB::CTSEngine::kRunning);
    EXPECT_EQ(engine.Start(&listener), E_FAIL);
    EXPECT_TRUE(engine.GetRouter().IsPidEnabled(0));
    EXPECT_TRUE(engine.GetRouter().IsPidEnabled(1));
    EXPECT_EQ(engine.Stop(), S_OK);
    EXPECT_EQ(engine.GetState(), libDVB::CTSEngine::kStopped);
    EXPECT_FALSE(engine.GetRouter().IsPidEnabled(0));
    EXPECT_EQ(engine.Stop(), S_FALSE);
}

TEST(TSEngine, FailedOpenLeavesTheEngineStoppedAndUnrouted)
{
    CTestListener listener;
    CTestEngine engine;
    engine.openResult = E_FAIL;
    EXPECT_EQ(engine.Start(&listener), E_FAIL);
    EXPECT_EQ(engine.GetState(), libDVB::CTSEngine::kStopped);
    EXPECT_FALSE(engine.GetRouter().IsPidEnabled(0));
    engine.openResult = S_OK;
    EXPECT_EQ(engine.Start(&listener), S_OK); // it can be started again
    engine.Feed(0, Pat(1, 0, {{1, 0x100}}));
    EXPECT_EQ(listener.added, std::vector<uint16_t>{1});
}

TEST(TSEngine, RestartForgetsTheStreamButKeepsRunning)
{
    CTestListener listener;
    CTestEngine engine;
    engine.Start(&listener);
    engine.Feed(0, Pat(1, 0, {{1, 0x100}}));
    EXPECT_EQ(engine.Restart(), S_OK);
    EXPECT_EQ(listener.removed, std::vector<uint16_t>{1});
    EXPECT_EQ(engine.GetState(), libDVB::CTSEngine::kRunning);
    engine.Feed(0, Pat(1, 0, {{1, 0x100}})); // the same version is new again after the restart
    EXPECT_EQ(listener.added, (std::vector<uint16_t>{1, 1}));
}

TEST(TSEngine, EitTablesGoToTheOwnerAndOnlyActualSdtCounts)
{
    EitOwner owner;
    CTestListener listener;
    CTestEngine engine(&owner);
    engine.Start(&listener);
    engine.Feed(0, Pat(0x77, 0, {{1, 0x100}}));
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 0, 0, {{10, 61000, 20, "News"}}));
    EXPECT_EQ(owner.tables, 1);
    EXPECT_EQ(listener.Service(1)->GetPresentEvent().name, u"News");

    // A failing owner has the section handed over again with its next copy.
    owner.result = E_FAIL;
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 1, 0, {{11, 61000, 21, "Again"}}));
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 1, 0, {{11, 61000, 21, "Again"}}));
    EXPECT_EQ(owner.tables, 3);
    owner.result = S_OK;
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 1, 0, {{11, 61000, 21, "Again"}}));
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 1, 0, {{11, 61000, 21, "Again"}}));
    EXPECT_EQ(owner.tables, 4);

    // An SDT "other" (0x46) names nothing.
    Bytes other = Sdt(0x77, 1, 0, {{1, "Other", "X"}});
    other[0] = 0x46;
    FixCrc(other);
    engine.Feed(0x11, other);
    EXPECT_EQ(listener.Service(1)->GetName(), u"");
}

// Broadcasts send PMTs whose last ES_info_length runs a byte or two past the section: the channel
// still gets both of its streams and plays.
TEST(TSEngine, APmtWithAnEsInfoLengthTooLongStillPlays)
{
    for (const int over : {1, 2, 200}) {
        SCOPED_TRACE(over);
        CTestListener listener;
        CTestEngine engine;
        engine.Start(&listener);
        engine.Feed(0, Pat(1, 0, {{1, 0x100}}));
        const Bytes body = Cat({{0xE2, 0x00}, Loop12({}), {0x02, 0xE2, 0x00}, Loop12({}), {0x03, 0xE2, 0x01},
                                Loop12(Language("slk"), over)});
        engine.Feed(0x100, MakeLongSection(0x02, 1, 0, 0, 0, body));
        libDVB::CService* service = listener.Service(1);
        ASSERT_NE(service, nullptr);
        EXPECT_EQ(service->GetReceptionState(), libDVB::CService::kReceived);
        EXPECT_EQ(service->GetServiceType(), libDVB::CService::kTV);
        ASSERT_NE(service->GetAudioStream(), nullptr);
        const uint8_t* language = service->GetAudioStream()->language;
        EXPECT_EQ(std::string(language, language + 3), "slk");
        service->ActivateDecoding();
        for (const uint16_t pid : {0x200, 0x201}) {
            const auto packet = MakePacket(pid, {0x01});
            engine.GetRouter().DeliverPacket(packet.data(), 188);
            EXPECT_EQ(listener.packets[pid], 1) << pid;
        }
    }
}
