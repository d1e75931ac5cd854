#include <gtest/gtest.h>

#include "base/ByteReader.h"

using base::CByteReader;

TEST(ByteReader, ReadsBigEndianFieldsAndBits)
{
    const uint8_t data[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE};
    CByteReader r(data, sizeof data);
    EXPECT_EQ(r.U8(), 0x12);
    EXPECT_EQ(r.U16(), 0x3456);
    EXPECT_EQ(r.Bits(4), 0x7u);
    EXPECT_EQ(r.Bits(4), 0x8u);
    EXPECT_TRUE(r.Bit());      // 0x9A = 1001 1010
    EXPECT_EQ(r.Bits(3), 0x1u);
    EXPECT_EQ(r.Bits(12), 0xABCu);
    EXPECT_EQ(r.Remaining(), 1u);
    EXPECT_FALSE(r.Overrun());
}

TEST(ByteReader, LittleEndianFileFields)
{
    const uint8_t data[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E};
    CByteReader r(data, sizeof data);
    EXPECT_EQ(r.U16LE(), 0x0201);
    EXPECT_EQ(r.U32LE(), 0x06050403u);
    EXPECT_EQ(r.U64LE(), 0x0E0D0C0B0A090807ull);
    EXPECT_TRUE(r.Empty());
}

TEST(ByteReader, OverrunIsStickyAndYieldsZero)
{
    const uint8_t data[] = {0xFF, 0xFF};
    CByteReader r(data, sizeof data);
    EXPECT_EQ(r.U24(), 0u);
    EXPECT_TRUE(r.Overrun());
    EXPECT_EQ(r.U8(), 0u); // even though a byte was there before the failed read
    EXPECT_EQ(r.Remaining(), 0u);
    EXPECT_EQ(r.Take(0), nullptr);
}

TEST(ByteReader, SubReaderRefusesALyingLength)
{
    const uint8_t data[] = {3, 0xA, 0xB, 0xC, 5, 0xD};
    CByteReader r(data, sizeof data);
    CByteReader first = r.Sub(r.U8());
    EXPECT_FALSE(first.Overrun());
    EXPECT_EQ(first.Size(), 3u);
    EXPECT_EQ(first.U8(), 0xA);
    CByteReader second = r.Sub(r.U8()); // claims 5, one is there
    EXPECT_TRUE(second.Overrun());
    EXPECT_TRUE(r.Overrun());
}

// The boundary: a claimed length equal to what is left is whole, one more is an overrun.
TEST(ByteReader, ClaimOneBeyondWhatIsLeftIsAnOverrun)
{
    const uint8_t data[] = {3, 0xA, 0xB, 0xC};
    {
        CByteReader r(data, sizeof data);
        r.U8();
        CByteReader exact = r.Sub(3);
        EXPECT_FALSE(exact.Overrun());
        EXPECT_EQ(exact.Size(), 3u);
        EXPECT_TRUE(r.Empty());
        EXPECT_FALSE(r.Overrun());
    }
    {
        CByteReader r(data, sizeof data);
        r.U8();
        CByteReader beyond = r.Sub(4);
        EXPECT_TRUE(beyond.Overrun());
        EXPECT_TRUE(beyond.Empty());
        EXPECT_TRUE(r.Overrun());
    }
    {
        CByteReader r(data + 1, 3);
        EXPECT_EQ(r.Take(4), nullptr);
        EXPECT_TRUE(r.Overrun());
        CByteReader s(data + 1, 3);
        EXPECT_EQ(s.Take(3), data + 1);
        EXPECT_FALSE(s.Overrun());
        CByteReader k(data + 1, 3);
        k.Skip(4);
        EXPECT_TRUE(k.Overrun());
        EXPECT_EQ(k.U8(), 0u);
    }
}

TEST(ByteReader, EmptySubReaderIsNotAnOverrun)
{
    const uint8_t data[] = {0};
    CByteReader r(data, sizeof data);
    CByteReader sub = r.Sub(r.U8());
    EXPECT_FALSE(sub.Overrun());
    EXPECT_TRUE(sub.Empty());
    EXPECT_FALSE(r.Overrun());
    CByteReader nothing(nullptr, 0);
    EXPECT_FALSE(nothing.Rest().Overrun());
}

TEST(ByteReader, SixtyFourBitReadsAcrossBytes)
{
    const uint8_t data[] = {0xC0, 0, 0, 0, 0, 0, 0, 0, 0x80};
    CByteReader r(data, sizeof data);
    r.SkipBits(1);
    EXPECT_EQ(r.Bits64(64), 0x8000000000000001ull); // bit 1 of byte 0 ... MSB of byte 8
    EXPECT_EQ(r.RemainingBits(), 7u);
    EXPECT_FALSE(r.Overrun());
}
