// The transponder list under Wine's MSXML 3.0, with the virtual tuner's tuning spaces and locators:
// well-formed lists become networks and locators in document order; broken ones lose only what is
// broken.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "dvb/DVBPlaybackCore/win/ProgramFolder.h"
#include "plintor/win/CTransponderListReader.h"

namespace {

std::wstring Name(ITuningSpace* space)
{
    BSTR name = nullptr;
    space->get_UniqueName(&name);
    std::wstring text = name ? name : L"";
    SysFreeString(name);
    return text;
}

void Release(std::vector<ITuningSpace*>& spaces)
{
    for (ITuningSpace* s : spaces)
        s->Release();
}

class TransponderList : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // The reader looks beside the program, not in the current folder.
        SetCurrentDirectoryW(L"C:\\");
    }
    void TearDown() override { CoUninitialize(); }
    static void Write(const std::string& text)
    {
        const std::u16string folder = DVBPlaybackCore::ProgramFolder();
        const std::wstring path = std::wstring(folder.begin(), folder.end()) + L"\\test_transponders.xml";
        FILE* f = _wfopen(path.c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
    }
};

} // namespace

TEST_F(TransponderList, NetworksAndTranspondersInDocumentOrder)
{
    Write(R"(<?xml version="1.0"?>
<data>
  <unknown><sat name="ignored"/></unknown>
  <satellites>
    <sat name="Astra">
      <transponder polarization="1" symbol_rate="27500" frequency="11778000"/>
      <transponder polarization="2" frequency="12000000"/>
      <transponder polarization="2" symbol_rate="fast" frequency="12100000"/>
      <transponder polarization="2" symbol_rate="22000" frequency="99999999999"/>
      <transponder polarization="2" symbol_rate="22000" frequency="12188000"/>
    </sat>
    <sat name="Astra"><transponder polarization="1" symbol_rate="1" frequency="1"/></sat>
  </satellites>
  <terrestrial><ter name="Demo T"><transponder bandwidth="8" frequency="506000"/></ter></terrestrial>
  <cable><cab name="Cable"><transponder symbol_rate="6900" frequency="346000"/></cab></cable>
  <atsc><ats name="ATSC"><transponder channel="33" frequency="0"/></ats></atsc>
</data>)");
    CTransponderListReader reader(L"test_transponders.xml");
    ASSERT_TRUE(reader.IsLoaded());

    auto satellites = reader.GetNetworks(CTransponderListReader::kSatellite);
    ASSERT_EQ(satellites.size(), 2u); // duplicate names are both listed
    EXPECT_EQ(Name(satellites[0]), L"Astra");
    for (ITuningSpace* space : satellites) {
        // Missing, non-numeric and out-of-range attributes skip their transponder; the first
        // network of a name serves both.
        std::vector<ILocator*> locators;
        ASSERT_EQ(reader.GetTransponders(space, &locators), S_OK);
        ASSERT_EQ(locators.size(), 2u);
        long frequency = 0, rate = 0;
        Polarisation polarisation = BDA_POLARISATION_NOT_SET;
        IDVBSLocator* s = nullptr;
        ASSERT_EQ(locators[0]->QueryInterface(IID_IDVBSLocator, reinterpret_cast<void**>(&s)), S_OK);
        s->get_CarrierFrequency(&frequency);
        s->get_SymbolRate(&rate);
        s->get_SignalPolarisation(&polarisation);
        EXPECT_EQ(frequency, 11778000);
        EXPECT_EQ(rate, 27500);
        EXPECT_EQ(polarisation, BDA_POLARISATION_LINEAR_H);
        s->Release();
        locators[1]->get_CarrierFrequency(&frequency);
        EXPECT_EQ(frequency, 12188000);
        for (ILocator* l : locators)
            l->Release();
    }
    Release(satellites);

    auto terrestrial = reader.GetNetworks(CTransponderListReader::kTerrestrial);
    ASSERT_EQ(terrestrial.size(), 1u);
    std::vector<ILocator*> locators;
    ASSERT_EQ(reader.GetTransponders(terrestrial[0], &locators), S_OK);
    ASSERT_EQ(locators.size(), 1u);
    IDVBTLocator* t = nullptr;
    ASSERT_EQ(locators[0]->QueryInterface(IID_IDVBTLocator, reinterpret_cast<void**>(&t)), S_OK);
    long value = 0;
    t->get_CarrierFrequency(&value);
    EXPECT_EQ(value, 506000);
    t->get_Bandwidth(&value);
    EXPECT_EQ(value, 8);
    t->Release();
    locators[0]->Release();
    Release(terrestrial);

    auto cable = reader.GetNetworks(CTransponderListReader::kCable);
    auto atsc = reader.GetNetworks(CTransponderListReader::kATSC);
    EXPECT_EQ(cable.size(), 1u);
    EXPECT_EQ(atsc.size(), 1u);
    Release(cable);
    Release(atsc);
}

TEST_F(TransponderList, BrokenFilesGiveNoNetworks)
{
    for (const char* text : {"", "not xml at all", "<data><satellites><sat name='x'>", "<other><satellites/></other>"}) {
        Write(text);
        CTransponderListReader reader(L"test_transponders.xml");
        for (int type = 1; type <= 4; ++type) {
            auto spaces = reader.GetNetworks(type);
            EXPECT_TRUE(spaces.empty()) << text;
            Release(spaces);
        }
    }
    CTransponderListReader missing(L"no_such_list.xml");
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_TRUE(missing.GetNetworks(CTransponderListReader::kSatellite).empty());
}
