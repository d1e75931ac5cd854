// The scan over BDA locators on the virtual tuner receiving the demo broadcast: the four demo
// services with their names, providers and ids, each with the tuner's tuning record; a silent
// transponder skipped; the DiSEqC command of the chosen mode before a satellite tune; a tuner the
// machine lacks ends the scan at once; the source keeps its own reference to every locator.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <map>
#include <sstream>

#include "VirtualTunerClient.h"
#include "base/Utf16.h"
#include "dvb/DVBPlaybackCore/CBDATuneInfo.h"
#include "dvb/DVBPlaybackCore/CQORService.h"
#include "dvb/libBDA/BDALocators.h"
#include "plintor/ManualEntry.h"
#include "plintor/ScanRun.h"
#include "plintor/win/CBDAScanSource.h"
#include "support/TestMedia.h"

using DVBPlaybackCore::CBDATuneInfo;
using DVBPlaybackCore::CQORService;

namespace {

struct Outcome {
    std::vector<uint32_t> messages;
    std::vector<std::unique_ptr<CQORService>> found;
};

Outcome Scan(plintor::CScanSource& source, int sourceType)
{
    Outcome outcome;
    base::CManualResetEvent stop;
    plintor::RunScan(source, sourceType, stop, [&](uint32_t id, uintptr_t wParam, intptr_t) {
        outcome.messages.push_back(id);
        if (id == plintor::kScanRecord)
            outcome.found.emplace_back(reinterpret_cast<CQORService*>(wParam));
        return true;
    });
    return outcome;
}

ULONG References(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

class BDAScan : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ASSERT_TRUE(m_tuner.IsLoaded());
        m_tuner.Reset();
        m_tuner.MapFrequency(506000, test::WidePath(test::MediaPath("demo/demo.ts")));
        m_tuner.MapFrequency(11494500, test::WidePath(test::MediaPath("demo/demo.ts")));
    }
    void TearDown() override { CoUninitialize(); }

    // The demo services as the channel file of the demo lists them.
    void ExpectDemoServices(const Outcome& outcome, uint32_t tuningType, int32_t frequency)
    {
        const std::map<uint16_t, std::pair<std::string, uint32_t>> demo = {
            {0x101, {"Demo One", 1}}, {0x102, {"Demo Two", 1}}, {0x103, {"Demo Three", 1}}, {0x104, {"Demo Radio", 2}}};
        ASSERT_EQ(outcome.found.size(), demo.size());
        for (const auto& record : outcome.found) {
            SCOPED_TRACE(record->GetServiceId());
            ASSERT_EQ(demo.count(record->GetServiceId()), 1u);
            EXPECT_EQ(base::Utf16ToUtf8(record->GetName()), demo.at(record->GetServiceId()).first);
            EXPECT_EQ(base::Utf16ToUtf8(record->GetProvider()), "Tolvik Demo");
            EXPECT_EQ(record->GetServiceType(), demo.at(record->GetServiceId()).second);
            EXPECT_EQ(record->GetTransportStreamId(), 0x0421);
            EXPECT_EQ(record->GetSelected(), 1u);
            ASSERT_EQ(record->GetTuneInfoCount(), 1u);
            auto* info = dynamic_cast<CBDATuneInfo*>(record->GetTuneInfo(0));
            ASSERT_NE(info, nullptr);
            EXPECT_EQ(info->GetTuningType(), tuningType);
            EXPECT_EQ(info->GetCarrierFrequency(), frequency);
        }
    }

    test::CVirtualTunerClient m_tuner;
};

} // namespace

TEST_F(BDAScan, TerrestrialFindsTheDemoServicesAndSkipsASilentTransponder)
{
    IDVBTLocator* silent = libBDA::CreateDVBTLocator(514000, 8);
    IDVBTLocator* demo = libBDA::CreateDVBTLocator(506000, 8);
    ASSERT_TRUE(silent && demo);
    const ULONG before = References(demo);
    Outcome outcome;
    {
        plintor::CBDAScanSource source(plintor::kSourceTerrestrial, u"Virtual Tuner T/C (1)", {silent, demo}, 4);
        EXPECT_EQ(References(demo), before + 1);
        // The wizard may let go of its own while the scan runs.
        silent->Release();
        outcome = Scan(source, plintor::kSourceTerrestrial);
    }
    EXPECT_EQ(References(demo), before);
    demo->Release();

    ExpectDemoServices(outcome, CBDATuneInfo::kDVBT, 506000);
    for (const auto& record : outcome.found) {
        auto* info = static_cast<CBDATuneInfo*>(record->GetTuneInfo(0));
        EXPECT_EQ(info->GetBandwidth(), 8);
        EXPECT_EQ(base::Utf16ToUtf8(info->GetTunerName()), "Virtual Tuner T/C (1)");
        // A DiSEqC mode is a satellite matter only.
        EXPECT_EQ(info->GetDiSEqCPort(), 0u);
    }
    EXPECT_EQ(m_tuner.DiSEqCCount(), 0u);
    std::vector<uint32_t> expected = {1025, 1026, 1027, 1027, 1028, 1028, 1028, 1028, 1029, 1029};
    EXPECT_EQ(outcome.messages, expected);
}

TEST_F(BDAScan, SatelliteSendsTheModesCommandBeforeTuning)
{
    IDVBSLocator* locator = libBDA::CreateDVBSLocator(11494500, 27500, BDA_POLARISATION_LINEAR_H);
    ASSERT_NE(locator, nullptr);
    Outcome outcome;
    {
        plintor::CBDAScanSource source(plintor::kSourceSatellite, u"Virtual Tuner S", {locator}, 4);
        outcome = Scan(source, plintor::kSourceSatellite);
    }
    locator->Release();
    ExpectDemoServices(outcome, CBDATuneInfo::kDVBS, 11494500);
    for (const auto& record : outcome.found) {
        auto* info = static_cast<CBDATuneInfo*>(record->GetTuneInfo(0));
        EXPECT_EQ(info->GetDiSEqCPort(), 4u);
        EXPECT_EQ(info->GetSymbolRate(), 27500);
        EXPECT_EQ(info->GetPolarisation(), BDA_POLARISATION_LINEAR_H);
    }
    ASSERT_EQ(m_tuner.DiSEqCCount(), 1u); // one command before the tune
    uint8_t command[188] = {};
    m_tuner.DiSEqC(0, command);
    // Position B, option A, horizontal (EUTELSAT DiSEqC 1.0, "write N0").
    EXPECT_EQ(command[0], 0xE0);
    EXPECT_EQ(command[1], 0x10);
    EXPECT_EQ(command[2], 0x38);
    EXPECT_EQ(command[3], 0xF6);
}

TEST_F(BDAScan, AnAbsentTunerEndsTheScanAtOnce)
{
    IDVBCLocator* locator = libBDA::CreateDVBCLocator(506000, 6900);
    ASSERT_NE(locator, nullptr);
    // The one DVB-T tuner's name with the cable type it also has: not this one's.
    plintor::CBDAScanSource source(plintor::kSourceCable, u"Virtual Tuner S", {locator}, 0);
    locator->Release();
    Outcome outcome = Scan(source, plintor::kSourceCable);
    EXPECT_TRUE(outcome.found.empty());
    std::vector<uint32_t> expected = {1025, 1029, 1029};
    EXPECT_EQ(outcome.messages, expected);
}
