#include <gtest/gtest.h>

#include <vector>

#include "dvb/libDVB/subtitle/CSubtitleDecoder.h"
#include "support/PesBuilder.h"
#include "support/SubtitleBuilder.h"

using namespace libDVB;
using namespace test;

namespace {

constexpr uint16_t kPage = 1;

Bytes Pes(uint64_t pts, const std::vector<Bytes>& segments) { return MakePes(pts, SubtitlePesPayload(segments)); }

SubtitleRegion Region(uint8_t id, uint16_t width, uint16_t height, std::vector<SubtitleObjectRef> objects = {})
{
    SubtitleRegion r;
    r.id = id;
    r.width = width;
    r.height = height;
    r.clut = 0;
    r.objects = std::move(objects);
    return r;
}

SubtitleClutEntry Entry(uint8_t id, uint8_t y, uint8_t cr, uint8_t cb, bool full = true, uint8_t tables = 0x40)
{
    return {id, tables, full, y, cr, cb, 0};
}

struct SubtitleDecoderTest : ::testing::Test {
    void SetUp() override { ASSERT_EQ(decoder.Start(), S_OK); }
    const CSubtitleDisplaySet* Newest()
    {
        // Pick everything due "forever": the newest set.
        return decoder.PickDueDisplaySet(~0ull);
    }
    CSubtitleDecoder decoder;
};

} // namespace

TEST_F(SubtitleDecoderTest, NormalCaseCopiesTheNewestSetAndUpdatesIt)
{
    const Bytes object = ObjectDataSegment(kPage, 7, 0, FourBitField({{1, 1, 2}}), {});
    auto first = Pes(1000, {PageCompositionSegment(kPage, 5, 0, 1, {{1, 10, 20}}),
                            RegionCompositionSegment(kPage, Region(1, 100, 50, {{7}})),
                            ClutDefinitionSegment(kPage, 0, 0, {Entry(1, 235, 128, 128), Entry(2, 16, 128, 128)}),
                            object, EndOfDisplaySetSegment(kPage)});
    ASSERT_EQ(decoder.DecodePes(first.data(), static_cast<uint32_t>(first.size())), S_OK);
    auto second = Pes(2000, {PageCompositionSegment(kPage, 5, 1, 0, {{1, 30, 40}, {2, 0, 0}}),
                             ClutDefinitionSegment(kPage, 0, 1, {Entry(2, 82, 240, 90)})});
    ASSERT_EQ(decoder.DecodePes(second.data(), static_cast<uint32_t>(second.size())), S_OK);
    ASSERT_EQ(decoder.GetQueuedCount(), 2u);

    base::CScopedLock lock(decoder.Lock());
    const CSubtitleDisplaySet* older = decoder.PickDueDisplaySet(1500);
    ASSERT_NE(older, nullptr);
    EXPECT_EQ(older->pts, 1000u);
    EXPECT_EQ(older->page.state, 1);
    EXPECT_EQ(older->page.timeOut, 5);
    ASSERT_EQ(older->page.regions.size(), 1u);
    EXPECT_EQ(older->page.regions[0].horizontal, 10);
    EXPECT_EQ(older->page.regions[0].vertical, 20);
    EXPECT_EQ(older->FindClut(0)->entries4[2], 0xFF101010u);

    const CSubtitleDisplaySet* newer = decoder.PickDueDisplaySet(2000);
    ASSERT_NE(newer, nullptr);
    EXPECT_EQ(decoder.GetQueuedCount(), 1u); // the older one is gone
    EXPECT_EQ(newer->pts, 2000u);
    EXPECT_EQ(newer->page.version, 1);
    ASSERT_EQ(newer->page.regions.size(), 2u);
    EXPECT_EQ(newer->page.regions[0].horizontal, 30);
    ASSERT_NE(newer->FindRegion(1), nullptr);
    EXPECT_EQ(newer->FindRegion(1)->width, 100);
    ASSERT_NE(newer->FindObject(7), nullptr);
    EXPECT_EQ(newer->FindObject(7)->data.size(), object.size() - 9);
    // Entry 1 carried over, entry 2 updated (BT.601 red in studio range).
    EXPECT_EQ(newer->FindClut(0)->entries4[1], 0xFFEBEBEBu);
    EXPECT_EQ(newer->FindClut(0)->entries4[2], 0xFFEB1010u);
}

TEST_F(SubtitleDecoderTest, AcquisitionPointAndModeChangeStartEmpty)
{
    auto first = Pes(1000, {PageCompositionSegment(kPage, 5, 0, 2, {{1, 0, 0}}),
                            RegionCompositionSegment(kPage, Region(1, 10, 10))});
    auto second = Pes(2000, {PageCompositionSegment(kPage, 5, 1, 1, {{1, 0, 0}})});
    decoder.DecodePes(first.data(), static_cast<uint32_t>(first.size()));
    decoder.DecodePes(second.data(), static_cast<uint32_t>(second.size()));
    base::CScopedLock lock(decoder.Lock());
    const CSubtitleDisplaySet* set = Newest();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->pts, 2000u);
    EXPECT_EQ(set->FindRegion(1), nullptr);
}

TEST_F(SubtitleDecoderTest, SegmentsBeforeThePageCompositionAreDropped)
{
    auto onlyRegion = Pes(1000, {RegionCompositionSegment(kPage, Region(1, 10, 10))});
    EXPECT_EQ(decoder.DecodePes(onlyRegion.data(), static_cast<uint32_t>(onlyRegion.size())), S_OK);
    EXPECT_EQ(decoder.GetQueuedCount(), 0u);
    auto late = Pes(1000, {RegionCompositionSegment(kPage, Region(1, 10, 10)),
                           PageCompositionSegment(kPage, 5, 0, 1, {{1, 0, 0}})});
    decoder.DecodePes(late.data(), static_cast<uint32_t>(late.size()));
    base::CScopedLock lock(decoder.Lock());
    const CSubtitleDisplaySet* set = Newest();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->FindRegion(1), nullptr);
}

TEST_F(SubtitleDecoderTest, MalformedSegmentsLeaveTheirElementAlone)
{
    auto good = Pes(1000, {PageCompositionSegment(kPage, 5, 0, 1, {{1, 0, 0}}),
                           RegionCompositionSegment(kPage, Region(1, 64, 32, {{9}})),
                           ClutDefinitionSegment(kPage, 0, 0, {Entry(1, 235, 128, 128)}),
                           ObjectDataSegment(kPage, 9, 0, FourBitField({{1, 1}}), {})});
    decoder.DecodePes(good.data(), static_cast<uint32_t>(good.size()));

    // A region segment too short for its fixed fields.
    Bytes shortRegion = SubtitleSegment(0x11, kPage, {1, 0x07, 0, 10});
    // A type-1 object reference without its colour bytes.
    SubtitleRegion characterRef = Region(1, 5, 5, {{9, 1}});
    Bytes truncatedRef = RegionCompositionSegment(kPage, characterRef);
    truncatedRef.resize(truncatedRef.size() - 2);
    truncatedRef[5] = static_cast<uint8_t>(truncatedRef.size() - 6);
    // A full-range CLUT entry cut after its Y byte, behind a good one: the whole segment is refused.
    Bytes cutClut = ClutDefinitionSegment(kPage, 0, 1, {Entry(1, 16, 128, 128), Entry(3, 200, 128, 128)});
    cutClut.resize(cutClut.size() - 2);
    cutClut[5] = static_cast<uint8_t>(cutClut.size() - 6);
    // Field block lengths claiming more than the object segment holds.
    Bytes field = FourBitField({{2, 2}});
    Bytes liar = ObjectDataSegment(kPage, 9, 1, field, {});
    liar[11] = static_cast<uint8_t>(field.size() + 1); // bottom_field_data_block_length
    auto update = Pes(2000, {PageCompositionSegment(kPage, 5, 1, 0, {{1, 0, 0}}), shortRegion, truncatedRef,
                             cutClut, liar});
    decoder.DecodePes(update.data(), static_cast<uint32_t>(update.size()));

    base::CScopedLock lock(decoder.Lock());
    const CSubtitleDisplaySet* set = Newest();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->pts, 2000u);
    ASSERT_NE(set->FindRegion(1), nullptr);
    EXPECT_EQ(set->FindRegion(1)->width, 64);
    EXPECT_EQ(set->FindClut(0)->entries4[1], 0xFFEBEBEBu);
    EXPECT_EQ(set->FindClut(0)->entries4[3], 0u);
    ASSERT_NE(set->FindObject(9), nullptr);
    EXPECT_EQ(set->FindObject(9)->data[4], 0x11);
    EXPECT_EQ(set->FindObject(9)->data[5] >> 4, 1); // still the first object's pixels

    // Direct calls report the refusal.
    CSubtitleDisplaySet direct;
    EXPECT_EQ(direct.ParseRegionComposition(shortRegion.data(), static_cast<uint32_t>(shortRegion.size())), E_FAIL);
    EXPECT_EQ(direct.ParseRegionComposition(truncatedRef.data(), static_cast<uint32_t>(truncatedRef.size())), E_FAIL);
    EXPECT_EQ(direct.ParseClutDefinition(cutClut.data(), static_cast<uint32_t>(cutClut.size())), E_FAIL);
    EXPECT_EQ(direct.ParseObjectData(liar.data(), static_cast<uint32_t>(liar.size())), E_FAIL);
    EXPECT_EQ(direct.ParseObjectData(liar.data(), 8), E_FAIL); // cut inside the header
    EXPECT_EQ(direct.ParsePageComposition(liar.data(), static_cast<uint32_t>(liar.size())), E_FAIL); // wrong type
    EXPECT_TRUE(direct.regions.empty() && direct.cluts.empty() && direct.objects.empty());
}

TEST_F(SubtitleDecoderTest, ASegmentRunningPastThePesEndsTheWalk)
{
    Bytes region = RegionCompositionSegment(kPage, Region(2, 8, 8));
    region[5] = static_cast<uint8_t>(region[5] + 40); // longer than the PES
    auto pes = Pes(1000, {PageCompositionSegment(kPage, 5, 0, 1, {{2, 0, 0}}), region,
                          ClutDefinitionSegment(kPage, 0, 0, {Entry(1, 235, 128, 128)})});
    EXPECT_EQ(decoder.DecodePes(pes.data(), static_cast<uint32_t>(pes.size())), S_OK);
    base::CScopedLock lock(decoder.Lock());
    const CSubtitleDisplaySet* set = Newest();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->FindRegion(2), nullptr);
    EXPECT_EQ(set->FindClut(0), nullptr);
}

TEST_F(SubtitleDecoderTest, ClutEntriesGoIntoTheTablesTheyAreFlaggedFor)
{
    auto pes = Pes(1000, {PageCompositionSegment(kPage, 5, 0, 1, {}),
                          ClutDefinitionSegment(kPage, 3, 0,
                                                {Entry(2, 235, 128, 128, false, 0x80),  // 2-bit only
                                                 Entry(5, 235, 128, 128, true, 0x80),   // 2-bit, id too big
                                                 Entry(200, 235, 128, 128, true, 0x60), // 4 and 8-bit
                                                 Entry(6, 0, 128, 128, true, 0x40),     // Y 0: transparent
                                                 Entry(7, 255, 255, 255, true, 0x40)})});
    decoder.DecodePes(pes.data(), static_cast<uint32_t>(pes.size()));
    base::CScopedLock lock(decoder.Lock());
    const CSubtitleDisplaySet* set = Newest();
    ASSERT_NE(set, nullptr);
    const CSubtitleDisplaySet::CClut* clut = set->FindClut(3);
    ASSERT_NE(clut, nullptr);
    // The 2-byte form keeps the top 6 bits of Y: 235 -> 232.
    EXPECT_EQ(clut->entries2[2], 0xFFE8E8E8u);
    EXPECT_EQ(clut->entries4[2], 0u);
    EXPECT_EQ(clut->entries4[5], 0u);
    EXPECT_EQ(clut->entries8[200], 0xFFEBEBEBu);
    EXPECT_EQ(clut->entries8[5], 0u);
    EXPECT_EQ(clut->entries4[6], 0u);
    EXPECT_EQ(clut->entries4[7], 0xFFFF7BFFu); // red and blue brought into range
}

TEST_F(SubtitleDecoderTest, GathersPesFromPacketsAndChecksItsLength)
{
    const uint16_t pid = 0x0321;
    uint8_t cc = 0;
    std::vector<Bytes> segments = {PageCompositionSegment(kPage, 5, 0, 1, {{1, 0, 0}})};
    for (int i = 0; i < 5; ++i) // spread over several packets
        segments.push_back(ObjectDataSegment(kPage, static_cast<uint16_t>(i), 0, Bytes(100, 0xF0), {}));
    const auto pes = Pes(3000, segments);
    const auto packets = PacketizePes(pid, pes, cc);
    ASSERT_GT(packets.size(), 2u);
    for (const auto& p : packets)
        EXPECT_EQ(decoder.OnSubtitlePacket(p.data(), 188), S_OK);
    EXPECT_EQ(decoder.GetQueuedCount(), 0u); // decoded when the next PES starts
    const auto next = PacketizePes(pid, Pes(4000, {}), cc);
    decoder.OnSubtitlePacket(next[0].data(), 188);
    EXPECT_EQ(decoder.GetQueuedCount(), 1u);
    {
        base::CScopedLock lock(decoder.Lock());
        const CSubtitleDisplaySet* set = Newest();
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->objects.size(), 5u);
    }

    // A PES that claims more than arrived is not shown half.
    auto cut = Pes(5000, segments);
    cut.resize(cut.size() - 50);
    EXPECT_EQ(decoder.DecodePes(cut.data(), static_cast<uint32_t>(cut.size())), E_FAIL);
    // Neither is one with a broken header.
    auto bad = Pes(5000, segments);
    bad[6] = 0x00; // not '10'
    EXPECT_EQ(decoder.DecodePes(bad.data(), static_cast<uint32_t>(bad.size())), E_FAIL);
    EXPECT_EQ(decoder.GetQueuedCount(), 1u); // only the set shown before
}

TEST_F(SubtitleDecoderTest, TwoPageCompositionsInOnePesMakeTwoSets)
{
    auto pes = Pes(1000, {PageCompositionSegment(kPage, 5, 0, 1, {{1, 0, 0}}),
                          PageCompositionSegment(kPage, 5, 1, 0, {{2, 0, 0}})});
    decoder.DecodePes(pes.data(), static_cast<uint32_t>(pes.size()));
    EXPECT_EQ(decoder.GetQueuedCount(), 2u);
}

TEST_F(SubtitleDecoderTest, StopClearAndTheQueueLimit)
{
    for (int i = 0; i < 100; ++i) {
        auto pes = Pes(1000 + i, {PageCompositionSegment(kPage, 5, 0, 1, {{1, 0, 0}})});
        decoder.DecodePes(pes.data(), static_cast<uint32_t>(pes.size()));
    }
    EXPECT_EQ(decoder.GetQueuedCount(), CSubtitleDecoder::kQueueLimit);
    {
        base::CScopedLock lock(decoder.Lock());
        EXPECT_EQ(decoder.PickDueDisplaySet(1000 + 100 - CSubtitleDecoder::kQueueLimit - 1), nullptr);
        EXPECT_EQ(decoder.PickDueDisplaySet(~0ull)->pts, 1099u);
        EXPECT_EQ(decoder.PickDueDisplaySet(~0ull), nullptr); // already shown
    }
    decoder.Clear();
    EXPECT_EQ(decoder.GetQueuedCount(), 0u);

    auto pes = Pes(1, {PageCompositionSegment(kPage, 5, 0, 1, {})});
    decoder.DecodePes(pes.data(), static_cast<uint32_t>(pes.size()));
    EXPECT_EQ(decoder.Stop(), S_OK);
    EXPECT_EQ(decoder.Stop(), S_FALSE);
    EXPECT_EQ(decoder.GetQueuedCount(), 0u);
    uint8_t cc = 0;
    const auto packets = PacketizePes(0x100, pes, cc);
    EXPECT_EQ(decoder.OnSubtitlePacket(packets[0].data(), 188), S_FALSE);
    EXPECT_EQ(decoder.OnSubtitlePacket(nullptr, 188), E_POINTER);
    EXPECT_EQ(decoder.OnSubtitlePacket(packets[0].data(), 187), E_INVALIDARG);
}
