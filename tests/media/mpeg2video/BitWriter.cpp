#include "media/mpeg2video/BitWriter.h"

#include <cstdlib>

namespace test {

void WriteSequence(CBitWriter& w, const SequenceParameters& p)
{
    w.StartCode(0xB3);
    w.Put(p.width & 0xFFF, 12);
    w.Put(p.height & 0xFFF, 12);
    w.Put(p.aspect, 4);
    w.Put(p.frameRateCode, 4);
    w.Put(20000, 18);
    w.Put(1, 1);
    w.Put(p.vbvBufferSize, 10);
    w.Put(0, 1);
    w.Put(0, 1); // default intra matrix
    w.Put(0, 1); // default non-intra matrix
    if (!p.mpeg2)
        return;
    WriteSequenceExtension(w, p);
}

void WriteSequenceExtension(CBitWriter& w, const SequenceParameters& p)
{
    w.StartCode(0xB5);
    w.Put(1, 4);
    w.Put(p.profileAndLevel, 8);
    w.Put(p.progressive ? 1 : 0, 1);
    w.Put(p.chromaFormat, 2);
    w.Put(p.width >> 12, 2);
    w.Put(p.height >> 12, 2);
    w.Put(0, 12);
    w.Put(1, 1);
    w.Put(p.vbvExtension, 8);
    w.Put(0, 1);
    w.Put(p.frameRateN, 2);
    w.Put(p.frameRateD, 5);
}

void WriteGop(CBitWriter& w)
{
    w.StartCode(0xB8);
    w.Put(0, 1);
    w.Put(1, 5);
    w.Put(2, 6);
    w.Put(1, 1);
    w.Put(3, 6);
    w.Put(4, 6);
    w.Put(1, 1);
    w.Put(0, 1);
}

void WriteIntraPicture(CBitWriter& w, unsigned temporalReference, unsigned structure, bool mpeg2, unsigned qScaleType)
{
    w.StartCode(0x00);
    w.Put(temporalReference, 10);
    w.Put(1, 3);
    w.Put(0xFFFF, 16);
    w.Put(0, 1);
    if (!mpeg2)
        return;
    w.StartCode(0xB5);
    w.Put(8, 4);
    w.Put(0xFFFF, 16); // f_codes unused
    w.Put(0, 2);       // intra_dc_precision 8 bits
    w.Put(structure, 2);
    w.Put(0, 1);                    // top_field_first
    w.Put(structure == 3 ? 1 : 0, 1); // frame_pred_frame_dct
    w.Put(0, 1);
    w.Put(qScaleType, 1);
    w.Put(0, 1);
    w.Put(0, 1);
    w.Put(0, 1);
    w.Put(0, 1);
    w.Put(structure == 3 ? 1 : 0, 1); // progressive_frame
    w.Put(0, 1);
}

namespace {

// dct_dc_differential for a value, Tables B.12/B.13 sizes 0..8.
void PutDc(CBitWriter& w, int diff, bool luma)
{
    static const char* const kLuma[] = {"100", "00", "01", "101", "110", "1110", "11110", "111110", "1111110"};
    static const char* const kChroma[] = {"00", "01", "10", "110", "1110", "11110", "111110", "1111110", "11111110"};
    unsigned size = 0;
    while ((1 << size) <= std::abs(diff))
        ++size;
    w.Code((luma ? kLuma : kChroma)[size]);
    if (size)
        w.Put(uint32_t(diff > 0 ? diff : diff + (1 << size) - 1), size);
}

} // namespace

void WriteFlatIntraSlice(CBitWriter& w, unsigned row, unsigned count, int luma, unsigned chromaFormat, bool frameDct)
{
    w.StartCode(uint8_t(row + 1));
    w.Put(8, 5);
    w.Put(0, 1);
    // Intra DC with 8-bit precision: the sample value itself, coded as a difference from the
    // predictor (128 at the slice start).
    int predictor[3] = {128, 128, 128};
    const unsigned blocks = chromaFormat == 1 ? 6 : chromaFormat == 2 ? 8 : 12;
    for (unsigned m = 0; m < count; ++m) {
        w.Code("1"); // macroblock_address_increment 1
        w.Code("1"); // macroblock_type intra
        if (!frameDct)
            w.Put(0, 1); // dct_type frame
        for (unsigned b = 0; b < blocks; ++b) {
            const int which = b < 4 ? 0 : 1 + int(b & 1);
            const int target = which == 0 ? luma : 128;
            PutDc(w, target - predictor[which], b < 4);
            predictor[which] = target;
            w.Code("10"); // end_of_block
        }
    }
}

} // namespace test
