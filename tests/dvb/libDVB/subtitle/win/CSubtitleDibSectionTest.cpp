// The renderer drawing into a real GDI DIB section: the bitmap the on-screen display receives.
#include <gtest/gtest.h>

#include "dvb/libDVB/subtitle/win/CSubtitleDibSection.h"
#include "dvb/libDVB/subtitle/CSubtitleRenderer.h"
#include "support/PesBuilder.h"
#include "support/SubtitleBuilder.h"

using namespace libDVB;
using namespace test;

TEST(SubtitleDibSection, RendererDrawsIntoABottomUpDibSection)
{
    auto dib = std::make_unique<CSubtitleDibSection>();
    ASSERT_NE(dib->Pixels(), nullptr);
    HDC dc = dib->DeviceContext();
    HBITMAP bitmap = static_cast<HBITMAP>(dib->Handle());
    DIBSECTION info = {};
    ASSERT_EQ(GetObjectW(bitmap, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.dsBm.bmWidth, 720);
    EXPECT_EQ(info.dsBm.bmHeight, 576);
    EXPECT_EQ(info.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(info.dsBmih.biHeight, 576); // bottom-up

    CSubtitleRenderer renderer(nullptr, std::move(dib));
    ASSERT_EQ(renderer.Surface().Handle(), static_cast<void*>(bitmap));
    CSubtitleDecoder decoder;
    decoder.Start();
    SubtitleRegion region;
    region.id = 1;
    region.width = 8;
    region.height = 2;
    region.objects = {{1, 0, 0, 0, 0}};
    const auto pes = MakePes(100, SubtitlePesPayload({PageCompositionSegment(1, 5, 0, 1, {{1, 3, 0}}),
                                                      RegionCompositionSegment(1, region),
                                                      ClutDefinitionSegment(1, 0, 0, {{1, 0x40, true, 82, 240, 90, 0}}),
                                                      ObjectDataSegment(1, 1, 0, FourBitField({{1, 1}}), {})}));
    ASSERT_EQ(decoder.DecodePes(pes.data(), static_cast<uint32_t>(pes.size())), S_OK);
    renderer.Attach(&decoder);
    renderer.Draw(100);
    GdiFlush();
    // The top-left pixels as GDI sees them (COLORREF is 0x00BBGGRR).
    EXPECT_EQ(GetPixel(dc, 3, 0), RGB(0xEB, 0x10, 0x10));
    EXPECT_EQ(GetPixel(dc, 4, 1), RGB(0xEB, 0x10, 0x10));
    EXPECT_EQ(GetPixel(dc, 5, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 3, 575), RGB(0, 0, 0));
}
