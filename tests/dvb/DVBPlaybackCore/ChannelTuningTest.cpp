// A channel record loaded from the file tunes the virtual tuner: the stored frequency reaches the
// tuner through a locator built from the record's values, and the stored DiSEqC port goes out as
// its committed-switch message; a locator read back gives the record's values again.
#include <gtest/gtest.h>

#include "TestDumpRecorder.h"
#include "VirtualTunerClient.h"
#include "dshow/CComPtr.h"
#include "dvb/DVBPlaybackCore/CServices.h"
#include "dvb/DVBPlaybackCore/win/BDATuneInfoLocator.h"
#include "dvb/DVBPlaybackCore/win/ProgramFolder.h"
#include "support/TestMedia.h"

using DVBPlaybackCore::CBDATuneInfo;
using DVBPlaybackCore::CServices;

namespace {

class ChannelTuningTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        ASSERT_TRUE(m_tuner.IsLoaded()) << "the virtual tuner server is not registered";
        m_tuner.Reset();
        const std::string folder = test::MediaPath("channels_vt");
        m_list = std::make_unique<CServices>(nullptr, std::u16string(folder.begin(), folder.end()));
    }
    void TearDown() override
    {
        m_list.reset();
        CoUninitialize();
    }
    const CBDATuneInfo* TuneInfoOf(uint16_t tsid, uint16_t sid)
    {
        DVBPlaybackCore::CQORService* service = m_list->FindService(CServices::KeyOf(tsid, sid));
        return service ? dynamic_cast<const CBDATuneInfo*>(service->GetTuneInfo(0)) : nullptr;
    }
    // Tunes the record's tuner as the engine does: DiSEqC first (satellite), then the locator.
    void Tune(const CBDATuneInfo& info, dshow::CComPtr<ILocator>& locator)
    {
        libBDA::CBDADeviceEntry* entry = DVBPlaybackCore::FindTuner(info);
        ASSERT_NE(nullptr, entry);
        test::CTestDumpRecorder recorder;
        ASSERT_EQ(S_OK, entry->OpenGraph(&recorder));
        if (info.GetTuningType() == CBDATuneInfo::kDVBS) {
            const bool horizontal = info.GetPolarisation() == BDA_POLARISATION_LINEAR_H;
            EXPECT_EQ(S_OK, entry->SetDiSEqCPort(info.GetDiSEqCPort(), horizontal));
        }
        locator.Attach(DVBPlaybackCore::CreateLocator(info));
        ASSERT_TRUE(locator);
        EXPECT_EQ(S_OK, entry->Tune(locator.Get()));
        EXPECT_EQ(S_OK, entry->CloseGraph());
    }
    void ExpectSameValues(const CBDATuneInfo& info, ILocator* locator)
    {
        CBDATuneInfo read;
        read.SetTunerName(info.GetTunerName());
        read.SetTuningType(info.GetTuningType());
        ASSERT_EQ(S_OK, DVBPlaybackCore::ReadLocator(read, locator));
        EXPECT_TRUE(read.Equals(info));
        EXPECT_EQ(info.GetSymbolRate(), read.GetSymbolRate());
        EXPECT_EQ(info.GetPolarisation(), read.GetPolarisation());
    }

    test::CVirtualTunerClient m_tuner;
    std::unique_ptr<CServices> m_list;
};

TEST_F(ChannelTuningTest, ASatelliteRecordTunesItsFrequencyBehindItsDiSEqCPort)
{
    const CBDATuneInfo* info = TuneInfoOf(1110, 257);
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(2u, info->GetDiSEqCPort());
    dshow::CComPtr<ILocator> locator;
    Tune(*info, locator);
    EXPECT_EQ(11778000, m_tuner.LastTune().frequency);
    ASSERT_EQ(1u, m_tuner.DiSEqCCount());
    uint8_t sent[188];
    m_tuner.DiSEqC(0, sent);
    // Committed switch, port 2 (option bit), horizontal (polarisation bit).
    EXPECT_EQ(0xE0, sent[0]);
    EXPECT_EQ(0x10, sent[1]);
    EXPECT_EQ(0x38, sent[2]);
    EXPECT_EQ(0xF6, sent[3]);
    ExpectSameValues(*info, locator.Get());
}

TEST_F(ChannelTuningTest, ATerrestrialRecordTunesItsFrequency)
{
    const CBDATuneInfo* info = TuneInfoOf(1111, 258);
    ASSERT_NE(nullptr, info);
    dshow::CComPtr<ILocator> locator;
    Tune(*info, locator);
    EXPECT_EQ(506000, m_tuner.LastTune().frequency);
    EXPECT_EQ(0u, m_tuner.DiSEqCCount());
    ExpectSameValues(*info, locator.Get());
    // A locator of another type is refused and changes nothing.
    CBDATuneInfo satellite;
    satellite.SetTuningType(CBDATuneInfo::kDVBS);
    EXPECT_EQ(E_INVALIDARG, DVBPlaybackCore::ReadLocator(satellite, locator.Get()));
    EXPECT_EQ(0, satellite.GetCarrierFrequency());
    CBDATuneInfo odd;
    odd.SetTuningType(7);
    EXPECT_EQ(nullptr, DVBPlaybackCore::CreateLocator(odd));
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram)
{
    const std::u16string folder = DVBPlaybackCore::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(u'\\', folder.back());
    const std::wstring exe = std::wstring(folder.begin(), folder.end()) + L"\\test_channel_tuning.exe";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(exe.c_str()));
}

} // namespace
