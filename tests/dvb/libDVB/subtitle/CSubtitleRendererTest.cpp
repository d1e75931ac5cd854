#include <gtest/gtest.h>

#include <vector>

#include "dvb/libDVB/subtitle/CSubtitleRenderer.h"
#include "support/PesBuilder.h"
#include "support/SubtitleBuilder.h"

using namespace libDVB;
using namespace test;

namespace {

struct Reports : CSubtitleRenderer::CSubtitleCallback {
    struct Report {
        void* bitmap;
        int32_t left, top, right, bottom;
    };
    std::vector<Report> reports;
    HRESULT OnSubtitleRendered(void* bitmap, int32_t l, int32_t t, int32_t r, int32_t b) override
    {
        reports.push_back({bitmap, l, t, r, b});
        return S_OK;
    }
};

// A display set at `pts` with one 4 x 2 block of CLUT entry 1 (white) at (x, y).
Bytes SetAt(uint64_t pts, uint16_t x, uint16_t y = 100)
{
    SubtitleRegion region;
    region.id = 1;
    region.width = 720;
    region.height = 100;
    region.objects = {{1, 0, 0, x, 0}};
    return MakePes(pts, SubtitlePesPayload(
                            {PageCompositionSegment(1, 5, 0, 1, {{1, 0, y}}), RegionCompositionSegment(1, region),
                             ClutDefinitionSegment(1, 0, 0, {{1, 0x40, true, 235, 128, 128, 0}}),
                             ObjectDataSegment(1, 1, 0, FourBitField({{1, 1, 1, 1}}), {})}));
}

struct RendererTest : ::testing::Test {
    void SetUp() override { decoder.Start(); }
    void Queue(uint64_t pts, uint16_t x, uint16_t y = 100)
    {
        const Bytes pes = SetAt(pts, x, y);
        ASSERT_EQ(decoder.DecodePes(pes.data(), static_cast<uint32_t>(pes.size())), S_OK);
    }
    bool Lit(int x) { return renderer.Canvas().Pixel(x, 100) == 0xFFEBEBEBu; }

    Reports reports;
    CSubtitleDecoder decoder;
    CSubtitleRenderer renderer{&reports};
};

} // namespace

TEST_F(RendererTest, AttachClearsAndReportsAtOnce)
{
    EXPECT_EQ(renderer.Draw(1000), S_OK); // no decoder: nothing
    EXPECT_TRUE(reports.reports.empty());
    Queue(1000, 10);
    ASSERT_EQ(renderer.Attach(&decoder), S_OK);
    ASSERT_EQ(reports.reports.size(), 1u);
    const auto r = reports.reports[0];
    EXPECT_EQ(r.bitmap, renderer.Surface().Handle());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 720);
    EXPECT_EQ(r.bottom, 576);
    renderer.Draw(1000);
    EXPECT_TRUE(Lit(10));
    renderer.Attach(nullptr);
    EXPECT_FALSE(Lit(10));
    EXPECT_EQ(reports.reports.size(), 3u);
}

TEST_F(RendererTest, DrawsTheNewestDueSetOnce)
{
    renderer.Attach(&decoder);
    Queue(1000, 10);
    Queue(2000, 20);
    Queue(3000, 30);
    reports.reports.clear();

    renderer.Draw(500); // nothing due
    EXPECT_TRUE(reports.reports.empty());
    renderer.Draw(2500); // two due: only the newer is drawn, the older deleted
    ASSERT_EQ(reports.reports.size(), 1u);
    EXPECT_FALSE(Lit(10));
    EXPECT_TRUE(Lit(20));
    EXPECT_EQ(decoder.GetQueuedCount(), 2u);
    renderer.Draw(2500); // already shown: no drawing, no report
    EXPECT_EQ(reports.reports.size(), 1u);
    renderer.Draw(2999);
    EXPECT_EQ(reports.reports.size(), 1u);
    renderer.Draw(3000);
    ASSERT_EQ(reports.reports.size(), 2u);
    EXPECT_FALSE(Lit(20));
    EXPECT_TRUE(Lit(30));
    EXPECT_EQ(decoder.GetQueuedCount(), 1u);
}

TEST_F(RendererTest, ANewSetLeavesNothingOfTheOldOne)
{
    renderer.Attach(&decoder);
    Queue(1000, 10, 100);
    Queue(2000, 600, 560); // rows far from the first set's
    renderer.Draw(1000);
    EXPECT_TRUE(Lit(10));
    renderer.Draw(2000);
    EXPECT_EQ(renderer.Canvas().Pixel(600, 560), 0xFFEBEBEBu);
    EXPECT_EQ(renderer.Canvas().Pixel(603, 561), 0xFFEBEBEBu);
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 720; ++x)
            if (y < 560 || y > 561 || x < 600 || x > 603) {
                ASSERT_EQ(renderer.Canvas().Pixel(x, y), 0u) << x << "," << y;
            }
}
