#include "media/mpeg2video/BlockDecoder.h"

#include <cstring>

#include "media/mpeg2video/BitReader.h"
#include "media/mpeg2video/Tables.h"
#include "media/mpeg2video/VlcTables.h"

namespace mpeg2video {

namespace {

// The weights of matrix m times the quantiser scale in scan order, each with its raster position
// in the low byte: per coefficient one load instead of the scan's, the weight's and a multiply.
// The product fits the upper 24 bits: weights are 8-bit and the scale at most 112.
const uint32_t* ScanWeights(Mpeg2VideoDecoderCore* c, int m)
{
    const uint32_t q = c->quantiser_scale;
    const uint32_t alternate = c->alternate_scan ? 1 : 0;
    const uint32_t key = q << 1 | alternate;
    uint32_t* table = c->scanWeights[m];
    if (c->scanWeightsKey[m] != key) {
        const uint8_t* scan = kScan[alternate];
        for (int i = 0; i < 64; ++i)
            table[i] = ((c->matrix[m][scan[i]] * q) << 8) | scan[i];
        c->scanWeightsKey[m] = key;
    }
    return table;
}

inline const uint32_t* IntraWeights(Mpeg2VideoDecoderCore* c, int block)
{
    return ScanWeights(c, (block >= 4 && c->savedChromaFormat != 1) ? 2 : 0);
}

inline const uint32_t* NonIntraWeights(Mpeg2VideoDecoderCore* c, int block)
{
    return ScanWeights(c, (block >= 4 && c->savedChromaFormat != 1) ? 3 : 1);
}

// dct_dc_differential with its size from Table B.12 or B.13.
inline int ReadDcDifference(Mpeg2VideoDecoderCore* c, bool luma)
{
    const VlcTables& t = *c->vlc;
    Refill(c);
    const VlcEntry e = luma ? t.dcSizeLuma[PeekBits(c, 9)] : t.dcSizeChroma[PeekBits(c, 10)];
    if (!e.length) {
        c->error = 1;
        return 0;
    }
    ConsumeBits(c, e.length);
    const int size = e.value;
    if (size == 0)
        return 0;
    const int bits = int(ReadBits(c, unsigned(size)));
    return (bits & (1 << (size - 1))) ? bits : bits + 1 - (1 << size);
}

inline int IntraDc(Mpeg2VideoDecoderCore* c, int block, int dc[3])
{
    const int which = block < 4 ? 0 : 1 + ((block & 1));
    const int diff = ReadDcDifference(c, block < 4);
    int v = dc[which] + diff;
    // A damaged stream could let the predictor run away: keep it within the 11-bit range.
    if (v < -2048)
        v = -2048;
    else if (v > 2047)
        v = 2047;
    dc[which] = v;
    return v;
}

// The core's bit reader held in locals for the length of one block, widened to a 64-bit cache
// that takes eight bytes in one load: the compiler keeps it in registers, where the reader in the
// record would be written back after every coefficient stored, and one refill serves two or three
// coefficients. Past the buffer's storage it reads zeros as the core's reader does; on the way
// back the bytes loaded but not reached are returned, so the core's reader continues at the same
// bit with its own invariants (at most 32 bits in its window, zeros behind them).
struct LocalReader {
    uint64_t cache; // unread bits from the top; those behind `valid` are the following bytes' or zero
    unsigned valid;
    const uint8_t* ptr;
    const uint8_t* limit;

    explicit LocalReader(const Mpeg2VideoDecoderCore* c)
        : cache(uint64_t(c->window) << 32), valid(unsigned(16 - c->count)), ptr(c->ptr),
          limit(c->input + c->capacity + kInputPadding)
    {
    }
    void Store(Mpeg2VideoDecoderCore* c) const
    {
        unsigned v = valid;
        const uint8_t* p = ptr;
        if (v > 32) {
            const unsigned back = (v - 25) >> 3; // whole bytes, leaving 25..32 bits
            p -= back;
            v -= 8 * back;
        }
        const uint32_t top = uint32_t(cache >> 32);
        c->window = v ? top & (~0u << (32 - v)) : 0;
        c->count = 16 - int(v);
        c->ptr = p;
    }
    // At least 56 bits valid afterwards. It runs before every code without asking how many bits
    // are left (an answer that follows the code lengths and was mispredicted often): the bits
    // behind `valid` are the following bytes' or zero, so loading them again changes nothing.
    void Refill()
    {
        if (limit - ptr >= 8) {
            uint64_t word;
            std::memcpy(&word, ptr, sizeof word);
            cache |= __builtin_bswap64(word) >> valid;
            const unsigned bytes = (63 - valid) >> 3;
            ptr += bytes;
            valid += 8 * bytes;
            return;
        }
        while (valid <= 56) {
            const uint64_t b = ptr < limit ? *ptr : 0;
            ++ptr;
            cache |= b << (56 - valid);
            valid += 8;
        }
    }
    uint32_t Peek(unsigned n) const { return uint32_t(cache >> (64 - n)); }
    // The leading byte, without waiting for a wider peek.
    uint32_t Byte() const { return uint32_t(cache >> 56); }
    void Consume(unsigned n)
    {
        cache <<= n;
        valid -= n;
    }
    // Within the bits a refill made valid.
    uint32_t Read(unsigned n)
    {
        const uint32_t v = Peek(n);
        Consume(n);
        return v;
    }
};

// The long code's entry when the leading six bits are zero, otherwise the short one's, chosen by
// a conditional move: the compiler makes it a branch, which the long codes, coming at random,
// would mispredict every few codes.
inline const DctEntry* ChooseEntry(uint32_t leadingSix, const DctEntry* longEntry, const DctEntry* shortEntry)
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __asm__("test %1, %1\n\tcmove %2, %0" : "+r"(shortEntry) : "r"(leadingSix), "r"(longEntry) : "cc");
    return shortEntry;
#else
    return leadingSix == 0 ? longEntry : shortEntry;
#endif
}

// Reads the escaped run and level (ISO/IEC 13818-2 7.2.2.3, ISO/IEC 11172-2 2.4.3.7) behind the
// escape code; false for a forbidden level.
template <bool mpeg1>
inline bool ReadEscape(LocalReader& r, int& run, uint32_t& magnitude, uint32_t& sign)
{
    r.Consume(6);
    run = int(r.Read(6));
    int level;
    if (!mpeg1) {
        const int v = int(r.Read(12));
        if ((v & 0x7FF) == 0)
            return false;
        level = v >= 2048 ? v - 4096 : v;
    } else {
        int v = int(r.Read(8));
        if (v == 0)
            v = int(r.Read(8));
        else if (v == 128)
            v = int(r.Read(8)) - 256;
        else if (v > 128)
            v -= 256;
        if (v == 0)
            return false;
        level = v;
    }
    sign = level < 0 ? ~0u : 0u;
    magnitude = uint32_t(level < 0 ? -level : level);
    return true;
}

// Decodes the coefficient codes of one block and stores them dequantised and saturated. Each
// code is looked up with its sign bit: by the leading nine bits, or by the low eleven of the
// leading seventeen when the leading six are zero (long codes, common in detailed pictures), both
// addressed at once, so that no code waits for a second lookup. The rare codes (end of block,
// escape, damage) are marked by a run beyond the block and leave the common path by one branch.
// The sign comes from the table as a mask and is applied without a branch: signs are random and
// a branch on them is mispredicted half the time. Returns the scan position after the last
// coefficient (1 when the DC term is the only one).
template <bool mpeg1, bool intra>
inline int DecodeAc(Mpeg2VideoDecoderCore* c, int16_t* blk, int i, const DctEntry* firstTable,
                    const DctEntry* shortTable, const DctEntry* longTable, const uint32_t* weights,
                    uint32_t& parity)
{
    const DctEntry* table = firstTable;
    LocalReader r(c);
    // One code, false at the end of the block or on an error.
    auto code = [&]() -> bool {
        const DctEntry e = *ChooseEntry(r.Peek(6), longTable + (r.Peek(17) & 2047), table + r.Peek(9));
        table = shortTable;
        int run;
        uint32_t m, sign;
        if (e.run >= 64) {
            if (e.run == kDctEndOfBlock) {
                r.Consume(e.length);
                return false;
            }
            if (e.run != kDctEscape || !ReadEscape<mpeg1>(r, run, m, sign)) {
                c->error = 1;
                return false;
            }
            goto place;
        }
        r.Consume(e.length);
        sign = uint32_t(int32_t(int8_t(e.sign)));
        run = e.run;
        m = e.level;
    place:
        i += run;
        if (i > 63) {
            c->error = 1;
            return false;
        }
        const uint32_t weight = weights[i++];
        const uint32_t pos = weight & 0xFF, wq = weight >> 8;
        uint32_t v;
        if (!mpeg1) {
            v = intra ? (m * wq) >> 4 : ((2 * m + 1) * wq) >> 5;
        } else {
            v = intra ? (m * wq) >> 3 : ((2 * m + 1) * wq) >> 4;
            if (v)
                v = (v - 1) | 1;
        }
        // Saturation to -2048..2047 (the magnitude is limited first, so no damaged value can
        // overflow).
        const uint32_t limit = 2047 + (sign & 1);
        v = v < limit ? v : limit;
        blk[pos] = int16_t(int32_t((v ^ sign) - sign));
        parity ^= v; // a value and its negation are both odd or both even
        return true;
    };
    // A refill leaves at least 56 bits, and no two codes with their signs take more (an MPEG-1
    // escape takes 28): one refill serves two codes, which halves the refills' chain of pointer,
    // load and merge that each code would otherwise wait for.
    for (;;) {
        r.Refill();
        if (!code() || !code())
            break;
    }
    r.Store(c);
    return i;
}

} // namespace

bool DecodeMpeg2IntraBlock(Mpeg2VideoDecoderCore* c, int block, int dc[3])
{
    int16_t* blk = c->blocks + 64 * block;
    const int v = IntraDc(c, block, dc);
    const int16_t first = c->saturation[v * (8 >> c->intra_dc_precision)];
    blk[0] = first;
    uint32_t parity = uint32_t(first);
    const VlcTables& t = *c->vlc;
    const int end = c->intra_vlc_format ? DecodeAc<false, true>(c, blk, 1, t.dctIntraOne, t.dctIntraOne, t.dctLongOne,
                                                                IntraWeights(c, block), parity)
                                        : DecodeAc<false, true>(c, blk, 1, t.dctNext, t.dctNext, t.dctLongZero,
                                                                IntraWeights(c, block), parity);
    // Mismatch control (ISO/IEC 13818-2 7.4.4): an even sum toggles the last coefficient.
    if (!(parity & 1))
        blk[63] ^= 1;
    return end == 1;
}

bool DecodeMpeg2NonIntraBlock(Mpeg2VideoDecoderCore* c, int block)
{
    int16_t* blk = c->blocks + 64 * block;
    uint32_t parity = 0;
    const VlcTables& t = *c->vlc;
    const int end =
        DecodeAc<false, false>(c, blk, 0, t.dctFirst, t.dctNext, t.dctLongZero, NonIntraWeights(c, block), parity);
    if (!(parity & 1))
        blk[63] ^= 1;
    return end <= 1;
}

bool DecodeMpeg1IntraBlock(Mpeg2VideoDecoderCore* c, int block, int dc[3])
{
    int16_t* blk = c->blocks + 64 * block;
    const int v = IntraDc(c, block, dc);
    blk[0] = c->saturation[v * 8];
    if (c->picture_coding_type == 4)
        return true; // D pictures carry DC coefficients only
    const VlcTables& t = *c->vlc;
    uint32_t parity = 0;
    return DecodeAc<true, true>(c, blk, 1, t.dctNext, t.dctNext, t.dctLongZero, ScanWeights(c, 0), parity) == 1;
}

bool DecodeMpeg1NonIntraBlock(Mpeg2VideoDecoderCore* c, int block)
{
    int16_t* blk = c->blocks + 64 * block;
    const VlcTables& t = *c->vlc;
    uint32_t parity = 0;
    return DecodeAc<true, false>(c, blk, 0, t.dctFirst, t.dctNext, t.dctLongZero, ScanWeights(c, 1), parity) <= 1;
}

void ForgetScanWeights(Mpeg2VideoDecoderCore* c)
{
    for (uint32_t& key : c->scanWeightsKey)
        key = ~0u;
}

} // namespace mpeg2video
