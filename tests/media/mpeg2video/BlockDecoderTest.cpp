// Coefficient decoding and inverse quantisation of single blocks: mismatch control of MPEG-2
// (ISO/IEC 13818-2 7.4.4), the oddification of MPEG-1, saturation and the escape codes.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "media/mpeg2video/BitReader.h"
#include "media/mpeg2video/BitWriter.h"
#include "media/mpeg2video/BlockDecoder.h"
#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace {

using namespace mpeg2video;
using test::CBitWriter;

class BlockDecoding : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CreateDecoder(&c), 0);
        for (int m = 0; m < 4; ++m)
            for (int i = 0; i < 64; ++i)
                c->matrix[m][i] = 16;
        c->chroma_format = 1;
        c->mpeg2 = 1;
    }
    void TearDown() override { DestroyDecoder(c); }

    // Decodes one block from the bits written by `w` and returns its coefficients.
    std::vector<int16_t> Decode(CBitWriter& w, bool intra, bool mpeg1, uint32_t quantiser)
    {
        w.Put(0xFFFF, 16); // something behind the block
        const std::vector<uint8_t> bytes = w.Bytes();
        ResetInput(c);
        EXPECT_EQ(AppendInput(c, bytes.data(), bytes.size()), 0);
        SeekReader(c, 0);
        c->quantiser_scale = quantiser;
        c->error = 0;
        std::memset(c->blocks, 0, 64 * sizeof(int16_t));
        int dc[3] = {};
        if (mpeg1)
            intra ? DecodeMpeg1IntraBlock(c, 0, dc) : DecodeMpeg1NonIntraBlock(c, 0);
        else
            intra ? DecodeMpeg2IntraBlock(c, 0, dc) : DecodeMpeg2NonIntraBlock(c, 0);
        return std::vector<int16_t>(c->blocks, c->blocks + 64);
    }

    Mpeg2VideoDecoderCore* c = nullptr;
};

TEST_F(BlockDecoding, MismatchControlTogglesTheLastCoefficientOfAnEvenSum)
{
    // One coefficient, run 0 level 1 ("1s" as the first code), then end_of_block: the value is
    // (3 x 16 x q) >> 5, even for q = 4 (6) and odd for q = 2 (3).
    CBitWriter even;
    even.Code("10 10");
    auto b = Decode(even, false, false, 4);
    EXPECT_EQ(c->error, 0);
    EXPECT_EQ(b[0], 6);
    EXPECT_EQ(b[63], 1);
    CBitWriter odd;
    odd.Code("10 10");
    b = Decode(odd, false, false, 2);
    EXPECT_EQ(b[0], 3);
    EXPECT_EQ(b[63], 0);
    // F[7][7] alone (run 63 by escape, level -3): ((2 x 3 + 1) x 16 x 4) >> 5 = 14, negative; the
    // sum -14 is even, so -14 becomes -13.
    CBitWriter last;
    last.Code("000001");
    last.Put(63, 6);
    last.Put(uint32_t(-3) & 0xFFF, 12);
    last.Code("10");
    b = Decode(last, false, false, 4);
    EXPECT_EQ(c->error, 0);
    EXPECT_EQ(b[63], -13);
}

TEST_F(BlockDecoding, Mpeg1OddifiesAndHasNoMismatchControl)
{
    c->mpeg2 = 0;
    CBitWriter w;
    w.Code("10 10"); // run 0 level 1: (3 x 16 x 4) >> 4 = 12, made odd: 11
    auto b = Decode(w, false, true, 4);
    EXPECT_EQ(b[0], 11);
    EXPECT_EQ(b[63], 0);
    // Escape with the two-byte form: 0 then 200 -> level 200; (401 x 16 x 2) >> 4 = 802, odd: 801.
    CBitWriter e;
    e.Code("000001");
    e.Put(0, 6);
    e.Put(0, 8);
    e.Put(200, 8);
    e.Code("10");
    b = Decode(e, false, true, 2);
    EXPECT_EQ(c->error, 0);
    EXPECT_EQ(b[0], 801);
    // 128 then 56: level 56 - 256 = -200.
    CBitWriter n;
    n.Code("000001");
    n.Put(5, 6);
    n.Put(128, 8);
    n.Put(56, 8);
    n.Code("10");
    b = Decode(n, false, true, 2);
    EXPECT_EQ(b[2], -801); // zigzag index 5 is raster position 2
}

TEST_F(BlockDecoding, SaturationAndInvalidCodes)
{
    // Escape level 2047 with q 62: far beyond 12 bits, stored as 2047; the sum is odd, so no
    // toggle.
    CBitWriter big;
    big.Code("000001");
    big.Put(0, 6);
    big.Put(2047, 12);
    big.Code("10");
    auto b = Decode(big, false, false, 62);
    EXPECT_EQ(b[0], 2047);
    EXPECT_EQ(b[63], 0);
    CBitWriter neg;
    neg.Code("000001");
    neg.Put(0, 6);
    neg.Put(uint32_t(-2047) & 0xFFF, 12);
    neg.Code("10");
    b = Decode(neg, false, false, 62);
    EXPECT_EQ(b[0], -2048);
    EXPECT_EQ(b[63], 1); // even sum
    // Escape levels 0 and -2048 are forbidden.
    for (uint32_t level : {0u, 0x800u}) {
        CBitWriter bad;
        bad.Code("000001");
        bad.Put(0, 6);
        bad.Put(level, 12);
        bad.Code("10");
        Decode(bad, false, false, 2);
        EXPECT_EQ(c->error, 1) << level;
    }
    // 64 coefficients and one more: a position beyond 63.
    CBitWriter many;
    for (int i = 0; i < 65; ++i)
        many.Code(i == 0 ? "10" : "110");
    Decode(many, false, false, 2);
    EXPECT_EQ(c->error, 1);
}

TEST_F(BlockDecoding, IntraDcPrecision)
{
    // dct_dc_size_luminance 2 ("01"), differential "11" = +3: predictor 3, coefficient
    // 3 << (3 - precision).
    for (unsigned precision = 0; precision < 4; ++precision) {
        c->intra_dc_precision = uint8_t(precision);
        CBitWriter w;
        w.Code("01 11 10");
        const auto b = Decode(w, true, false, 2);
        EXPECT_EQ(b[0], 3 * (8 >> precision)) << precision;
    }
}

} // namespace
