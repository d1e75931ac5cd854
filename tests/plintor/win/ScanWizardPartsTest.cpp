// The wizard's pieces that hold what the scan visits: the tune list keeps one reference to every
// locator through copies and clearing; a combo row's tuning value packs group, port and flag; the
// device step lists the virtual tuners of each kind and the one network device. And how the
// source-type rows draw their images.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "dvb/libBDA/BDALocators.h"
#include "plintor/CTransponderScan.h"
#include "plintor/ManualEntry.h"
#include "plintor/win/AlphaIcon.h"
#include "plintor/win/CTuneList.h"
#include "plintor/win/CTuneSpaceItem.h"
#include "plintor/win/CTune_Devices.h"

namespace {

ULONG References(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

class WizardParts : public ::testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};

} // namespace

TEST_F(WizardParts, TuneListHoldsOneReferencePerEntry)
{
    IDVBTLocator* locator = libBDA::CreateDVBTLocator(506000, 8);
    ASSERT_NE(locator, nullptr);
    const ULONG own = References(locator);
    {
        CTuneList list;
        list.AddLocator(locator);
        list.AddMulticast(0x1234);
        EXPECT_EQ(References(locator), own + 1);
        CTuneList copy(list);
        EXPECT_EQ(References(locator), own + 2);
        copy = list; // assigning drops the old references first
        EXPECT_EQ(References(locator), own + 2);
        ASSERT_EQ(copy.GetCount(), 2u);
        EXPECT_EQ(copy.Entries()[0].locator, locator);
        EXPECT_EQ(copy.Entries()[1].multicast, 0x1234u);
        list.Clear();
        EXPECT_EQ(References(locator), own + 1);
        // Restarting the wizard and going back empty the list again and again.
        list.Clear();
        EXPECT_EQ(References(locator), own + 1);
    }
    EXPECT_EQ(References(locator), own);
    locator->Release();
}

TEST_F(WizardParts, MulticastRowsPackGroupPortAndFlag)
{
    using libDVB_EthernetDevice::CTuneSpaceItem;
    CTuneSpaceItem source(L"Alpha", 0xEF010414u, 5060, 1);
    EXPECT_STREQ(source.m_addressText.GetString(), L"239.1.4.20");
    EXPECT_EQ(source.GetTuningValue(), 0xEF01041413C40001ull);
    const uint8_t group[4] = {239, 1, 4, 20};
    EXPECT_EQ(source.GetTuningValue(), plintor::PackMulticastEntry(group, 5060) | 1);
    std::u16string address;
    uint16_t port = 0;
    plintor::UnpackMulticastEntry(source.GetTuningValue(), &address, &port);
    EXPECT_EQ(address, u"239.1.4.20");
    EXPECT_EQ(port, 5060);
    EXPECT_EQ(CTuneSpaceItem(L"All sources", 0u, 0, 1).GetTuningValue(), 1u);
    EXPECT_EQ(CTuneSpaceItem(L"--------------", 0u, 0, 0).GetTuningValue(), 0u);
}

TEST_F(WizardParts, DeviceRowsOfEachKind)
{
    auto names = [](int sourceType) {
        std::vector<std::wstring> out;
        for (const CTune_Devices::Entry& entry : CTune_Devices::EntriesFor(sourceType))
            out.push_back(entry.name.GetString());
        return out;
    };
    EXPECT_EQ(names(plintor::kSourceTerrestrial),
              (std::vector<std::wstring>{L"Virtual Tuner T/C (1)", L"Virtual Tuner (1)"}));
    EXPECT_EQ(names(plintor::kSourceCable), (std::vector<std::wstring>{L"Virtual Tuner T/C (2)"}));
    EXPECT_EQ(names(plintor::kSourceSatellite), (std::vector<std::wstring>{L"Virtual Tuner S"}));
    EXPECT_EQ(names(plintor::kSourceATSC), (std::vector<std::wstring>{L"Virtual Tuner (2)"}));
    // The network device has no device name: the summary shows none.
    const auto network = CTune_Devices::EntriesFor(plintor::kSourceNetwork);
    ASSERT_EQ(network.size(), 1u);
    EXPECT_TRUE(network[0].name.IsEmpty());
    EXPECT_STREQ(network[0].other.GetString(), L"Ethernet - Device");
    EXPECT_TRUE(CTune_Devices::EntriesFor(0).empty());
}

namespace {

// A top-down 32-bit or 24-bit DIB section of `pixels` (0x00RRGGBB, or 0xAARRGGBB at 32 bits).
HBITMAP Section(WORD bits, const std::vector<uint32_t>& pixels, void** out = nullptr)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(pixels.size());
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    void* data = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0);
    auto* bytes = static_cast<uint8_t*>(data);
    for (size_t i = 0; i < pixels.size(); ++i)
        for (int b = 0; b < bits / 8; ++b)
            bytes[i * (bits / 8) + b] = static_cast<uint8_t>(pixels[i] >> (8 * b));
    if (out)
        *out = data;
    return bitmap;
}

} // namespace

// A row image with alpha is blended, one with a transparent colour leaves the row showing where it
// holds that colour, any other is copied.
TEST(SourceTypeRows, ImagesByAlphaByTransparentColourOrCopied)
{
    constexpr uint32_t kRow = 0xA6CBF0, kMagenta = 0xFF00FF, kBlue = 0x0000FF;
    const struct {
        const char* name;
        WORD bits;
        std::vector<uint32_t> image;
        COLORREF transparent;
        std::vector<uint32_t> shown;
    } cases[] = {
        {"alpha", 32, {0x00FF00FF, 0xFF0000FF}, CLR_INVALID, {kRow, 0x0000FE}}, // (a x (icon - row) + 256 x row) / 256
        {"transparent colour", 24, {kMagenta, kBlue}, RGB(255, 0, 255), {kRow, kBlue}},
        {"copied", 24, {kMagenta, kBlue}, CLR_INVALID, {kMagenta, kBlue}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        void* rowBits = nullptr;
        HBITMAP row = Section(32, {kRow, kRow}, &rowBits);
        HBITMAP image = Section(c.bits, c.image);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, row);
        DrawRowImage(dc, 0, 0, image, c.transparent);
        GdiFlush();
        for (size_t i = 0; i < c.shown.size(); ++i)
            EXPECT_EQ(static_cast<const uint32_t*>(rowBits)[i] & 0xFFFFFF, c.shown[i]) << i;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(image);
        DeleteObject(row);
    }
}
