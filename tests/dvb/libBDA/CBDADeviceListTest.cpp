// The device list as the virtual tuner server presents itself: one entry per tuner and
// demodulator in COFDM, QPSK, QAM, 8VSB order, unique friendly names, lookup by device name.
#include <gtest/gtest.h>

#include "BDATestSupport.h"
#include "VirtualTuner.h"
#include "dvb/libBDA/BDANetworkTypes.h"

namespace {

using libBDA::CBDADeviceList;

TEST(CBDADeviceListTest, ListsEveryTunerPerNetworkTypeWithUniqueNames)
{
    CBDADeviceList& list = libBDA::GetBDADeviceList();
    ASSERT_EQ(5u, list.GetCount());
    struct Expected {
        const GUID* tuner;
        uint32_t type;
        const wchar_t* friendlyName;
    };
    // The enumerator lists the tuners by their instance keys; the T/C tuner gives two entries.
    const Expected expected[5] = {
        {&virtualtuner::CLSID_VirtualTunerTC, libBDA::kNetworkDVBT, L"Virtual Tuner T/C (1)"},
        {&virtualtuner::CLSID_VirtualTunerTC, libBDA::kNetworkDVBC, L"Virtual Tuner T/C (2)"},
        {&virtualtuner::CLSID_VirtualTunerS, libBDA::kNetworkDVBS, L"Virtual Tuner S"},
        {&virtualtuner::CLSID_VirtualTunerA, libBDA::kNetworkDVBT, L"Virtual Tuner (1)"},
        {&virtualtuner::CLSID_VirtualTunerB, libBDA::kNetworkATSC, L"Virtual Tuner (2)"},
    };
    for (size_t i = 0; i < 5; ++i) {
        libBDA::CBDADeviceEntry* entry = list.GetEntry(i);
        ASSERT_NE(nullptr, entry);
        EXPECT_EQ(0, _wcsicmp(test::VirtualTunerDeviceName(*expected[i].tuner).c_str(), entry->GetName().c_str()))
            << "entry " << i;
        EXPECT_EQ(expected[i].type, entry->GetNetworkType()) << "entry " << i;
        EXPECT_EQ(std::wstring(expected[i].friendlyName), entry->GetFriendlyName()) << "entry " << i;
        EXPECT_EQ(libBDA::CBDADeviceEntry::kGraphClosed, entry->GetGraphState());
        EXPECT_EQ(libBDA::CBDADeviceEntry::kStopped, entry->GetRunState());
    }
    EXPECT_EQ(nullptr, list.GetEntry(5));
}

TEST(CBDADeviceListTest, FindsTheFirstEntryOfADeviceName)
{
    CBDADeviceList& list = libBDA::GetBDADeviceList();
    ASSERT_GE(list.GetCount(), 2u);
    // A tuner with two demodulators is found as its DVB-T entry.
    libBDA::CBDADeviceEntry* entry = libBDA::FindBDADevice(list.GetEntry(1)->GetName());
    EXPECT_EQ(list.GetEntry(0), entry);
    EXPECT_EQ(libBDA::kNetworkDVBT, entry->GetNetworkType());
    EXPECT_EQ(nullptr, libBDA::FindBDADevice(L"@device:sw:{00000000-0000-0000-0000-000000000000}\\nothing"));
    EXPECT_EQ(nullptr, libBDA::FindBDADevice(L""));
    // Device names are exact keys, friendly names are not.
    EXPECT_EQ(nullptr, libBDA::FindBDADevice(list.GetEntry(0)->GetFriendlyName()));
}

TEST(CBDADeviceListTest, EqualNamesAreNumberedInListOrder)
{
    std::vector<std::wstring> names = {L"Tuner", L"Other", L"Tuner", L"Single", L"Tuner", L"Other"};
    CBDADeviceList::MakeNamesUnique(names);
    EXPECT_EQ((std::vector<std::wstring>{L"Tuner (1)", L"Other (1)", L"Tuner (2)", L"Single", L"Tuner (3)",
                                         L"Other (2)"}),
              names);
    std::vector<std::wstring> one = {L"Tuner"};
    CBDADeviceList::MakeNamesUnique(one);
    EXPECT_EQ(L"Tuner", one[0]);
    std::vector<std::wstring> none;
    CBDADeviceList::MakeNamesUnique(none);
    EXPECT_TRUE(none.empty());
}

} // namespace
