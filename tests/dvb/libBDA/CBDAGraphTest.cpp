// Tuner graphs against the virtual tuner: building each network type, tuning a DVB-T frequency
// whose broadcast is a transport stream made by ffmpeg and receiving exactly its bytes, a looped
// broadcast whose clocks carry on from round to round, DiSEqC messages byte for byte, and
// complete teardown, also after a failed build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "BDATestSupport.h"
#include "TestDumpRecorder.h"
#include "VirtualTunerClient.h"
#include "dshow/CComPtr.h"
#include "dshow/CUnknown.h"
#include "dvb/libBDA/BDALocators.h"
#include "dvb/libBDA/BDANetworkTypes.h"
#include "dvb/libBDA/CBDADeviceList.h"
#include "support/PesBuilder.h"
#include "support/TestMedia.h"
#include "support/TransportStreamBuilder.h"
#include "support/WaitUntil.h"

using dshow::CComPtr;
using libBDA::CBDADeviceEntry;

namespace {

constexpr LONG kMappedFrequency = 506000;
constexpr LONG kSilentFrequency = 514000;
constexpr LONG kLoopedFrequency = 778000;

// A PTS or DTS after its 4-bit prefix, in 33 bits with marker bits (ISO/IEC 13818-1, 2.4.3.7).
void PutClock(uint8_t* t, uint8_t prefix, uint64_t ticks90)
{
    const std::vector<uint8_t> pes = test::MakePes(ticks90, {}); // keeps the low 33 bits
    std::copy(pes.begin() + 9, pes.begin() + 14, t);
    t[0] = static_cast<uint8_t>(prefix << 4 | (t[0] & 0x0F));
}

// Frame `k` of a 25 frame/s broadcast whose clocks start at `start`: a PCR, a video PES header
// with PTS and DTS, an audio one with a PTS, and a video packet continuing its PES whose bytes only
// look like a header (no payload_unit_start: they are no clocks and stay as they are).
std::vector<test::TSPacket> Frame(uint64_t k, uint64_t start)
{
    const uint64_t pcr = (start + k * 3600) & ((1ull << 33) - 1);
    const std::vector<uint8_t> lookalike = test::MakePes(0, {0xAA, 0xBB}, 5, 0xE0);
    std::vector<uint8_t> video = lookalike;
    video[7] = 0xC0;
    PutClock(&video[9], 3, pcr + 7200);
    PutClock(&video[14], 1, pcr + 3600);
    uint8_t continuity = 0; // the tuner repeats a round's counters as they are
    std::vector<test::TSPacket> packets = {test::PcrPacket(0x100, pcr, continuity)};
    for (const auto& p : test::PacketizePes(0x101, video, continuity))
        packets.push_back(p);
    const std::vector<uint8_t> audio = test::MakePes(pcr + 5000, {1, 2, 3, 4, 5, 6}, 0, 0xC0);
    for (const auto& p : test::PacketizePes(0x102, audio, continuity))
        packets.push_back(p);
    test::PacketOptions more;
    more.continuity = continuity;
    packets.push_back(test::MakePacket(0x101, lookalike, more));
    return packets;
}

class CBDAGraphTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        ASSERT_TRUE(m_tuner.IsLoaded()) << "the virtual tuner server is not registered";
        m_tuner.Reset();
        m_baseline = dshow::CUnknown::LiveObjects();
    }
    void TearDown() override
    {
        // Whatever a test did, no graph of ours stays behind.
        EXPECT_TRUE(test::OurGraphsInRunningObjectTable().empty());
        EXPECT_EQ(0, m_tuner.Registrations());
        EXPECT_EQ(m_baseline, dshow::CUnknown::LiveObjects());
        CoUninitialize();
    }

    static CComPtr<ITuningSpace> SpaceOf(CBDADeviceEntry* entry)
    {
        CComPtr<IBaseFilter> provider;
        CComPtr<ITuningSpace> space;
        if (SUCCEEDED(entry->Graph().Graph()->FindFilterByName(L"Network Provider", &provider))) {
            CComPtr<ITuner> tuner;
            if (SUCCEEDED(tuner.QueryFrom(provider.Get())))
                tuner->get_TuningSpace(&space);
        }
        return space;
    }
    static std::wstring Text(BSTR text)
    {
        std::wstring s = text ? text : L"";
        SysFreeString(text);
        return s;
    }

    test::CVirtualTunerClient m_tuner;
    LONG m_baseline = 0;
};

TEST_F(CBDAGraphTest, DVBTGraphDeliversTheBroadcastFileByteForByte)
{
    const std::string path = test::MediaPath("bda_dvbt.ts");
    const std::vector<uint8_t> file = test::ReadFileBytes(path);
    ASSERT_GT(file.size(), 188u * 100);
    m_tuner.MapFrequency(kMappedFrequency, test::WidePath(path));

    CBDADeviceEntry* entry = test::EntryOf(virtualtuner::CLSID_VirtualTunerTC, libBDA::kNetworkDVBT);
    ASSERT_NE(nullptr, entry);
    test::CTestDumpRecorder recorder;
    ASSERT_EQ(S_OK, entry->OpenGraph(&recorder));
    EXPECT_EQ(S_FALSE, entry->OpenGraph(&recorder));
    EXPECT_EQ(CBDADeviceEntry::kGraphOpen, entry->GetGraphState());
    EXPECT_EQ(libBDA::kNetworkDVBT, entry->Graph().NetworkType());
    EXPECT_EQ(1, m_tuner.Registrations());
    auto graphs = test::OurGraphsInRunningObjectTable();
    ASSERT_EQ(1u, graphs.size());
    wchar_t expectedName[64];
    swprintf(expectedName, 64, L"FilterGraph %08x pid %08x",
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(entry->Graph().Graph())),
             static_cast<unsigned>(GetCurrentProcessId()));
    EXPECT_NE(std::wstring::npos, graphs[0].find(expectedName));

    CComPtr<IBaseFilter> dumper;
    EXPECT_EQ(S_OK, entry->Graph().Graph()->FindFilterByName(L"BDA Dumper", &dumper));
    CComPtr<IBaseFilter> tunerFilter;
    EXPECT_EQ(S_OK, entry->Graph().Graph()->FindFilterByName(L"Virtual Tuner T/C", &tunerFilter));
    dumper.Release();
    tunerFilter.Release();

    CComPtr<IDVBTLocator> locator;
    locator.Attach(libBDA::CreateDVBTLocator(kMappedFrequency, 8));
    ASSERT_TRUE(locator);
    ASSERT_EQ(S_OK, entry->Tune(locator));
    virtualtuner::VirtualTuneRecord tuned = m_tuner.LastTune();
    EXPECT_EQ(kMappedFrequency, tuned.frequency);
    EXPECT_EQ(-1, tuned.onid);
    EXPECT_EQ(-1, tuned.tsid);
    EXPECT_EQ(-1, tuned.sid);

    ASSERT_TRUE(SUCCEEDED(entry->Run()));
    EXPECT_EQ(CBDADeviceEntry::kRunning, entry->GetRunState());
    EXPECT_EQ(S_FALSE, entry->Run());
    // Tuning and DiSEqC are refused while the graph runs, and reach no tuner.
    EXPECT_EQ(S_FALSE, entry->Tune(locator));
    EXPECT_EQ(S_FALSE, entry->SetDiSEqCPort(1, false));
    EXPECT_EQ(tuned.count, m_tuner.LastTune().count);
    EXPECT_EQ(0u, m_tuner.DiSEqCCount());

    for (int i = 0; i < 2000 && recorder.Size() < file.size(); ++i)
        Sleep(10);
    ASSERT_EQ(file.size(), recorder.Size());
    EXPECT_TRUE(recorder.Bytes() == file);
    // The tuner cuts the stream into buffers of its own sizes, not into packets.
    EXPECT_GT(recorder.Calls(), file.size() / 4096);

    EXPECT_EQ(S_OK, entry->CloseGraph());
    EXPECT_EQ(CBDADeviceEntry::kGraphClosed, entry->GetGraphState());
    EXPECT_EQ(CBDADeviceEntry::kStopped, entry->GetRunState());
    EXPECT_FALSE(entry->Graph().IsBuilt());
    EXPECT_EQ(0u, entry->Graph().NetworkType());
    EXPECT_EQ(S_FALSE, entry->CloseGraph());
}

TEST_F(CBDAGraphTest, ALoopedBroadcastCarriesItsClocksOnEachRound)
{
    // Five frames a round, 40 ms apart: the next round starts one frame after the last PCR, so
    // rounds two and three are frames 5 to 14 of the same broadcast. The clocks pass 2^33 in the
    // file (a PTS) and through the shift (the PCR, round two).
    const uint64_t start = (1ull << 33) - 6 * 3600;
    std::vector<test::TSPacket> round;
    std::vector<test::TSPacket> rounds;
    for (uint64_t k = 0; k < 15; ++k) {
        for (const auto& p : Frame(k, start)) {
            if (k < 5)
                round.push_back(p);
            rounds.push_back(p);
        }
    }
    char folder[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string path = std::string(folder) + "looped_" + std::to_string(GetCurrentProcessId()) + ".ts";
    ASSERT_TRUE(test::WriteFile(path, round));
    CBDADeviceEntry* entry = test::EntryOf(virtualtuner::CLSID_VirtualTunerTC, libBDA::kNetworkDVBT);
    ASSERT_NE(nullptr, entry);
    test::CTestDumpRecorder recorder;
    ASSERT_EQ(S_OK, entry->OpenGraph(&recorder));

    // A frequency from the registry, as programs the tests start receive it: such broadcasts loop.
    const std::wstring file = test::WidePath(path);
    const std::wstring name = std::to_wstring(kLoopedFrequency);
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Tolvik Test\\Virtual Tuner", name.c_str(),
                                             REG_SZ, file.c_str(), static_cast<DWORD>((file.size() + 1) * 2)));
    CComPtr<IDVBTLocator> locator;
    locator.Attach(libBDA::CreateDVBTLocator(kLoopedFrequency, 8));
    EXPECT_EQ(S_OK, entry->Tune(locator));
    const DWORD started = GetTickCount();
    EXPECT_TRUE(SUCCEEDED(entry->Run()));
    const std::vector<uint8_t> expected = test::Concatenate(rounds);
    EXPECT_TRUE(test::WaitUntil([&] { return recorder.Size() >= expected.size(); }, 10000));
    // Paced by the PCR across the rounds too: the third round's last frame is due 560 ms in.
    EXPECT_GE(GetTickCount() - started, 540u);
    EXPECT_EQ(S_OK, entry->CloseGraph());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Tolvik Test\\Virtual Tuner", name.c_str());
    DeleteFileA(path.c_str());

    std::vector<uint8_t> got = recorder.Bytes();
    ASSERT_GE(got.size(), expected.size());
    got.resize(expected.size());
    const size_t same =
        static_cast<size_t>(std::mismatch(got.begin(), got.end(), expected.begin()).first - got.begin());
    EXPECT_EQ(expected.size(), same) << "first differing byte, in packet " << same / 188;
}

TEST_F(CBDAGraphTest, AnUnmappedFrequencyBroadcastsNothing)
{
    CBDADeviceEntry* entry = test::EntryOf(virtualtuner::CLSID_VirtualTunerA, libBDA::kNetworkDVBT);
    ASSERT_NE(nullptr, entry);
    test::CTestDumpRecorder recorder;
    ASSERT_EQ(S_OK, entry->OpenGraph(&recorder));
    CComPtr<IDVBTLocator> locator;
    locator.Attach(libBDA::CreateDVBTLocator(kSilentFrequency, 7));
    ASSERT_EQ(S_OK, entry->Tune(locator));
    ASSERT_TRUE(SUCCEEDED(entry->Run()));
    Sleep(200);
    EXPECT_EQ(S_OK, entry->Stop());
    EXPECT_EQ(S_FALSE, entry->Stop());
    EXPECT_EQ(0u, recorder.Calls());
    EXPECT_EQ(S_OK, entry->CloseGraph());
}

TEST_F(CBDAGraphTest, DVBCGraphUsesTheSatelliteProviderWithACableSpace)
{
    CBDADeviceEntry* entry = test::EntryOf(virtualtuner::CLSID_VirtualTunerTC, libBDA::kNetworkDVBC);
    ASSERT_NE(nullptr, entry);
    test::CTestDumpRecorder recorder;
    ASSERT_EQ(S_OK, entry->OpenGraph(&recorder));
    CComPtr<IBaseFilter> provider;
    ASSERT_EQ(S_OK, entry->Graph().Graph()->FindFilterByName(L"Network Provider", &provider));
    CLSID clsid;
    ASSERT_EQ(S_OK, provider->GetClassID(&clsid));
    EXPECT_TRUE(clsid == CLSID_DVBSNetworkProvider);
    provider.Release();

    CComPtr<ITuningSpace> space = SpaceOf(entry);
    ASSERT_TRUE(space);
    CComPtr<IDVBTuningSpace> dvb;
    ASSERT_EQ(S_OK, dvb.QueryFrom(space.Get()));
    DVBSystemType system = DVB_Satellite;
    ASSERT_EQ(S_OK, dvb->get_SystemType(&system));
    EXPECT_EQ(DVB_Cable, system);
    GUID network;
    ASSERT_EQ(S_OK, space->get__NetworkType(&network));
    EXPECT_TRUE(network == libBDA::DVB_CABLE_TV_NETWORK_TYPE);
    BSTR text = nullptr;
    space->get_FriendlyName(&text);
    EXPECT_EQ(L"DVB-C", Text(text));
    space->get_UniqueName(&text);
    EXPECT_EQ(L"DVB-C", Text(text));
    space->get_FrequencyMapping(&text);
    EXPECT_EQ(L"-1", Text(text));
    CComPtr<ILocator> locator;
    ASSERT_EQ(S_OK, space->get_DefaultLocator(&locator));
    CComPtr<IDVBCLocator> cable;
    EXPECT_EQ(S_OK, cable.QueryFrom(locator.Get()));
    space.Release();
    dvb.Release();
    locator.Release();
    cable.Release();

    CComPtr<IDVBCLocator> tuneTo;
    tuneTo.Attach(libBDA::CreateDVBCLocator(346000, 6900));
    EXPECT_EQ(S_OK, entry->Tune(tuneTo));
    EXPECT_EQ(346000, m_tuner.LastTune().frequency);
    EXPECT_EQ(S_OK, entry->CloseGraph());
}

TEST_F(CBDAGraphTest, DVBSGraphSendsDiSEqCByteExactAndSetsTheLnb)
{
    CBDADeviceEntry* entry = test::EntryOf(virtualtuner::CLSID_VirtualTunerS, libBDA::kNetworkDVBS);
    ASSERT_NE(nullptr, entry);
    test::CTestDumpRecorder recorder;
    ASSERT_EQ(S_OK, entry->OpenGraph(&recorder));

    CComPtr<ITuningSpace> space = SpaceOf(entry);
    CComPtr<IDVBSTuningSpace> satellite;
    ASSERT_EQ(S_OK, satellite.QueryFrom(space.Get()));
    LONG value = 0;
    satellite->get_LowOscillator(&value);
    EXPECT_EQ(9750000, value);
    satellite->get_HighOscillator(&value);
    EXPECT_EQ(10600000, value);
    satellite->get_LNBSwitch(&value);
    EXPECT_EQ(11700000, value);
    SpectralInversion inversion = BDA_SPECTRAL_INVERSION_NOT_SET;
    satellite->get_SpectralInversion(&inversion);
    EXPECT_EQ(BDA_SPECTRAL_INVERSION_AUTOMATIC, inversion);
    BSTR range = nullptr;
    satellite->get_InputRange(&range);
    EXPECT_EQ(L"-1", Text(range));
    DVBSystemType system = DVB_Cable;
    satellite->get_SystemType(&system);
    EXPECT_EQ(DVB_Satellite, system);
    satellite.Release();
    space.Release();

    EXPECT_EQ(S_FALSE, entry->SetDiSEqCPort(0, true));
    EXPECT_EQ(E_INVALIDARG, entry->SetDiSEqCPort(7, false));
    EXPECT_EQ(0u, m_tuner.DiSEqCCount());
    ASSERT_EQ(S_OK, entry->SetDiSEqCPort(2, true));
    ASSERT_EQ(S_OK, entry->SetDiSEqCPort(5, false));
    ASSERT_EQ(2u, m_tuner.DiSEqCCount());

    uint8_t expected[188] = {0xE0, 0x10, 0x38, 0xF6};
    const uint8_t trailer[28] = {4, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0};
    std::memcpy(expected + 160, trailer, sizeof(trailer));
    uint8_t sent[188];
    m_tuner.DiSEqC(0, sent);
    EXPECT_EQ(0, std::memcmp(expected, sent, 188));
    expected[3] = 0xF8;
    m_tuner.DiSEqC(1, sent);
    EXPECT_EQ(0, std::memcmp(expected, sent, 188));

    CComPtr<IDVBSLocator> locator;
    locator.Attach(libBDA::CreateDVBSLocator(11778000, 27500, BDA_POLARISATION_LINEAR_V));
    EXPECT_EQ(S_OK, entry->Tune(locator));
    EXPECT_EQ(11778000, m_tuner.LastTune().frequency);
    EXPECT_EQ(S_OK, entry->CloseGraph());
}

TEST_F(CBDAGraphTest, ATSCGraphBuildsWithoutADVBSystemType)
{
    CBDADeviceEntry* entry = test::EntryOf(virtualtuner::CLSID_VirtualTunerB, libBDA::kNetworkATSC);
    ASSERT_NE(nullptr, entry);
    test::CTestDumpRecorder recorder;
    ASSERT_EQ(S_OK, entry->OpenGraph(&recorder));
    CComPtr<ITuningSpace> space = SpaceOf(entry);
    ASSERT_TRUE(space);
    CComPtr<IDVBTuningSpace> dvb;
    EXPECT_EQ(E_NOINTERFACE, dvb.QueryFrom(space.Get()));
    space.Release();
    CComPtr<IATSCLocator> locator;
    locator.Attach(libBDA::CreateATSCLocator(0, 36));
    EXPECT_EQ(S_OK, entry->Tune(locator));
    // No ONID, TSID or SID: the request is not a DVB one, the frequency is left as it was.
    EXPECT_EQ(-1, m_tuner.LastTune().frequency);
    EXPECT_EQ(0, m_tuner.LastTune().onid);
    EXPECT_EQ(S_OK, entry->CloseGraph());
}

TEST_F(CBDAGraphTest, AnUnknownDeviceNameFailsAndLeavesNothingBehind)
{
    // Each of these reaches the tuner lookup after the graph was created and registered.
    const std::wstring names[] = {
        L"", test::VirtualTunerDeviceName(CLSID_DVBTLocator), L"@device:sw:{71985F48-1CA1-11D3-9CC8-00C04F7971E0}"};
    for (const std::wstring& name : names) {
        CBDADeviceEntry ghost(name, L"Ghost", libBDA::kNetworkDVBT);
        test::CTestDumpRecorder recorder;
        EXPECT_TRUE(FAILED(ghost.OpenGraph(&recorder)));
        EXPECT_EQ(CBDADeviceEntry::kGraphClosed, ghost.GetGraphState());
        EXPECT_FALSE(ghost.Graph().IsBuilt());
        EXPECT_EQ(nullptr, ghost.Graph().TunerFilter());
        EXPECT_EQ(0u, ghost.Graph().NetworkType());
        EXPECT_TRUE(test::OurGraphsInRunningObjectTable().empty());
        EXPECT_EQ(E_FAIL, ghost.Run());
        EXPECT_EQ(S_FALSE, ghost.CloseGraph());
    }
}

TEST_F(CBDAGraphTest, BuildRefusesABadTypeAndASecondBuild)
{
    libBDA::CBDAGraph graph;
    test::CTestDumpRecorder recorder;
    std::wstring name = test::VirtualTunerDeviceName(virtualtuner::CLSID_VirtualTunerA);
    EXPECT_EQ(E_INVALIDARG, graph.Build(0, name, &recorder));
    EXPECT_EQ(E_INVALIDARG, graph.Build(5, name, &recorder));
    EXPECT_FALSE(graph.IsBuilt());
    ASSERT_EQ(S_OK, graph.Build(libBDA::kNetworkDVBT, name, &recorder));
    EXPECT_EQ(E_UNEXPECTED, graph.Build(libBDA::kNetworkDVBT, name, &recorder));
    EXPECT_EQ(1u, test::OurGraphsInRunningObjectTable().size());
    EXPECT_EQ(S_OK, graph.Teardown());
    EXPECT_EQ(S_OK, graph.Teardown());
    EXPECT_EQ(S_FALSE, graph.SendDiSEqC(0, false));
    EXPECT_EQ(E_FAIL, graph.SendDiSEqC(1, false));
    CComPtr<IDVBTLocator> locator;
    locator.Attach(libBDA::CreateDVBTLocator(1, 1));
    EXPECT_EQ(E_FAIL, graph.Tune(locator));
    EXPECT_EQ(S_OK, graph.Run());
    EXPECT_EQ(S_OK, graph.Stop());
}

TEST_F(CBDAGraphTest, LocatorsCarryTheirValues)
{
    CComPtr<IDVBTLocator> t;
    t.Attach(libBDA::CreateDVBTLocator(506000, 8));
    ASSERT_TRUE(t);
    LONG v = 0;
    t->get_CarrierFrequency(&v);
    EXPECT_EQ(506000, v);
    t->get_Bandwidth(&v);
    EXPECT_EQ(8, v);

    CComPtr<IDVBCLocator> c;
    c.Attach(libBDA::CreateDVBCLocator(0, 6875));
    ASSERT_TRUE(c);
    c->get_CarrierFrequency(&v);
    EXPECT_EQ(0, v); // DVB-C sets the frequency even when it is 0
    c->get_SymbolRate(&v);
    EXPECT_EQ(6875, v);

    CComPtr<IDVBSLocator> s;
    s.Attach(libBDA::CreateDVBSLocator(12188000, 27500, BDA_POLARISATION_LINEAR_H));
    ASSERT_TRUE(s);
    Polarisation p = BDA_POLARISATION_NOT_SET;
    s->get_SignalPolarisation(&p);
    EXPECT_EQ(BDA_POLARISATION_LINEAR_H, p);
    s->get_SymbolRate(&v);
    EXPECT_EQ(27500, v);

    CComPtr<IATSCLocator> a;
    a.Attach(libBDA::CreateATSCLocator(0, 0));
    ASSERT_TRUE(a);
    a->get_CarrierFrequency(&v);
    EXPECT_EQ(-1, v); // zero values are not set: the locator keeps its defaults
    a->get_PhysicalChannel(&v);
    EXPECT_EQ(-1, v);
    a.Attach(libBDA::CreateATSCLocator(57000, 2));
    a->get_CarrierFrequency(&v);
    EXPECT_EQ(57000, v);
    a->get_PhysicalChannel(&v);
    EXPECT_EQ(2, v);
}

} // namespace
