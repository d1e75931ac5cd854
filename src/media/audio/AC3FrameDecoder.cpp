#include "media/audio/AC3FrameDecoder.h"

#include <algorithm>
#include <cstring>

#include "base/ByteReader.h"
#include "base/Trace.h"
#include "media/audio/Ac3Tables.h"
#include "media/audio/InputByteBuffer.h"

namespace audio {

namespace {

// Tells the trace why a frame was refused and passes on how many bytes to step over.
int32_t Refused(const char* why, int32_t consumed)
{
    base::TraceRefused("AC-3 frame", why);
    return consumed;
}

constexpr int kPlaneSamples = 2048;

// The dither generator's table (polynomial 0xA011, eight shifts per entry).
struct DitherTable {
    uint16_t t[256];
    DitherTable() : t()
    {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned v = i << 8;
            for (int b = 0; b < 8; ++b) {
                v <<= 1;
                if (v & 0x10000)
                    v ^= 0xA011;
                v &= 0xFFFF;
            }
            t[i] = static_cast<uint16_t>(v);
        }
    }
};

const DitherTable& Dithers()
{
    static const DitherTable table;
    return table;
}

// The log-addition of the banded integration (A/52 section 7.2.2.3) by the difference of the sum
// and the next bin's PSD, so that the sum's dependency chain is one subtraction, one load and one
// addition. PSDs lie in [0, 3072] (exponents 0 to 24) and a sum exceeds its band's largest PSD by
// at most 64 per added bin, over at most 24 bins.
struct LogAddTable {
    static constexpr int kBelow = 3072;
    static constexpr int kAbove = 3072 + 23 * 64;
    uint8_t byDifference[kBelow + kAbove + 1];
    LogAddTable() : byDifference()
    {
        for (int diff = -kBelow; diff <= kAbove; ++diff)
            byDifference[diff + kBelow] = ac3::kLogAdd[std::min(std::abs(diff) >> 1, 255)];
    }
};

const LogAddTable& LogAdds()
{
    static const LogAddTable table;
    return table;
}

// The bit allocation pointers of A/52 section 7.2.2.7 by the unclamped address (psd - m) >> 5:
// PSDs lie in [0, 3072] and m in [floor, 0x1FE0 + floor] with floor in [-0x800, 0x2F0].
struct BapTable {
    static constexpr int kBelow = (0x1FE0 + 0x2F0 + 31) >> 5;
    static constexpr int kAbove = (3072 + 0x800) >> 5;
    uint8_t byAddress[kBelow + kAbove + 1];
    BapTable() : byAddress()
    {
        for (int address = -kBelow; address <= kAbove; ++address)
            byAddress[address + kBelow] = ac3::kBapTable[std::min(63, std::max(0, address))];
    }
};

const BapTable& Baps()
{
    static const BapTable table;
    return table;
}

// The three exponent differences (-2..2) of each grouped code below 125 (A/52 section 7.1.3).
struct ExponentDeltas {
    int8_t d[125][3];
    ExponentDeltas() : d()
    {
        for (int code = 0; code < 125; ++code) {
            d[code][0] = static_cast<int8_t>(code / 25 - 2);
            d[code][1] = static_cast<int8_t>((code % 25) / 5 - 2);
            d[code][2] = static_cast<int8_t>(code % 5 - 2);
        }
    }
};

const ExponentDeltas& Deltas()
{
    static const ExponentDeltas table;
    return table;
}

// The next of the grouped mantissas of one quantiser (Size levels in a group of Bits bits), from
// the frame's bytes at bit position `at`: every Size-th time a new group, without a branch on it,
// as the groups of bap 1, 2 and 4 interleave too irregularly to predict. The code at the position
// is looked at each time, and taken, its bits passed, only when the last group is used up.
template <unsigned Bits, int Size, size_t Rows>
inline float Grouped(const uint8_t* base, uint64_t& at, int& count, const float*& pending,
                     const float (&table)[Rows][Size])
{
    static_assert(Rows == 1u << Bits, "a row for every code");
    uint64_t word;
    std::memcpy(&word, base + (at >> 3), sizeof word);
    const uint32_t code = static_cast<uint32_t>((__builtin_bswap64(word) << (at & 7)) >> (64 - Bits));
    // All ones when the last group is used up (its count is then zero), else zero.
    const uintptr_t fresh = 0 - static_cast<uintptr_t>(count == 0);
    at += Bits & fresh;
    const uintptr_t last = reinterpret_cast<uintptr_t>(pending);
    pending = reinterpret_cast<const float*>(last ^ ((reinterpret_cast<uintptr_t>(table[code]) ^ last) & fresh));
    count |= static_cast<int>(Size & fresh);
    return pending[Size - count--];
}

// Rematrixing bands (A/52 section 7.5.2): [13, 25), [25, 37), [37, 61), [61, 253).
const int kRematrixStart[5] = {13, 25, 37, 61, 253};

} // namespace

AC3FrameDecoder::AC3FrameDecoder() : AudioFrameDecoder(kTagAc3)
{
    ac3::GetQuantisers();
    Dithers();
    Deltas();
    LogAdds();
    Baps();
}

AC3FrameDecoder::~AC3FrameDecoder()
{
    m_frame.Free();
    m_overlap.Free();
}

float AC3FrameDecoder::Dither()
{
    m_ditherState = static_cast<uint16_t>(((m_ditherState & 0xFF) << 8) ^ Dithers().t[m_ditherState >> 8]);
    return static_cast<float>(static_cast<int16_t>(m_ditherState)) * (1.0f / 32768.0f);
}

int32_t AC3FrameDecoder::DecodeFrame(const InputByteBuffer& buffer)
{
    m_frameReady = false;
    const uint8_t* data = buffer.ReadPointer();
    const int32_t unread = buffer.Unread();
    if (unread <= 0 || !data) {
        Reset();
        return 0;
    }
    int32_t offset = -1;
    for (int32_t i = 0; i + 1 < unread; ++i) {
        if (data[i] == 0x0B && data[i + 1] == 0x77) {
            offset = i;
            break;
        }
    }
    if (offset < 0)
        return unread - 1;
    if (unread - offset < 5)
        return offset;
    const uint8_t* frame = data + offset;
    base::CByteReader syncinfo(frame, 5);
    syncinfo.Skip(4); // syncword, crc1
    const uint32_t fscod = syncinfo.Bits(2);
    const uint32_t frmsizecod = syncinfo.Bits(6);
    const uint32_t words = ac3::FrameWords(fscod, frmsizecod);
    if (words == 0)
        return Refused("no frame size for fscod and frmsizecod", offset + 2);
    const int32_t frameBytes = static_cast<int32_t>(words * 2);
    if (unread - offset < frameBytes)
        return offset;

    // A damaged frame is refused whole: the CRC over everything after the sync word is zero
    // for an intact frame (crc1 and crc2 together, A/52 section 7.10).
    if (ac3::Crc16(frame + 2, static_cast<size_t>(frameBytes - 2)) != 0)
        return Refused("CRC mismatch", offset + 2);

    if (frameBytes > kMaxFrameBytes)
        return Refused("larger than any A/52 frame", offset + 2);
    std::memcpy(m_bytes, frame, static_cast<size_t>(frameBytes));
    AudioBitReader bits(base::CByteReader(m_bytes + 5, static_cast<size_t>(frameBytes - 5)));
    const uint32_t bsid = bits.Bits(5);
    if (bsid > 10) // E-AC-3 and later syntaxes: not this decoder's bit stream
        return Refused("bsid of a later syntax", offset + 2);
    m_shift = bsid == 9 ? 1 : bsid == 10 ? 2 : 0;
    bits.Bits(3); // bsmod
    m_channelMode = bits.Bits(3);
    if ((m_channelMode & 1) && m_channelMode != 1)
        bits.Bits(2); // cmixlev
    if (m_channelMode & 4)
        bits.Bits(2); // surmixlev
    if (m_channelMode == 2)
        bits.Bits(2); // dsurmod
    m_lfeOn = bits.Bit();
    for (int i = 0; i < (m_channelMode == 0 ? 2 : 1); ++i) {
        bits.Bits(5); // dialnorm
        if (bits.Bit())
            bits.Bits(8); // compr
        if (bits.Bit())
            bits.Bits(8); // langcod
        if (bits.Bit())
            bits.Bits(7); // mixlevel, roomtyp
    }
    bits.Bits(2); // copyrightb, origbs
    if (bits.Bit())
        bits.Bits(14); // timecod1
    if (bits.Bit())
        bits.Bits(14); // timecod2
    if (bits.Bit())
        bits.Skip((bits.Bits(6) + 1) * 8); // addbsi
    if (bits.Overrun())
        return Refused("bit stream information past the frame", offset + 2);

    m_sampleRateCode = fscod;
    m_fullChannels = ac3::kFullChannels[m_channelMode];
    const uint32_t channels = m_fullChannels + (m_lfeOn ? 1 : 0);
    if (!m_frame.Resize(channels, kPlaneSamples) || !m_overlap.Resize(channels, kPlaneSamples))
        return Refused("no memory for its channels", offset + 2);
    m_frame.presence = PlanarSampleBuffer::kFront;
    if (m_channelMode & 1)
        m_frame.presence |= PlanarSampleBuffer::kCentre;
    if (m_channelMode > 3)
        m_frame.presence |= PlanarSampleBuffer::kSurround;
    if (m_lfeOn)
        m_frame.presence |= PlanarSampleBuffer::kLfe;
    m_overlap.presence = m_frame.presence;

    for (int block = 0; block < 6; ++block)
        if (!DecodeBlock(bits, block))
            return Refused("damaged audio block", offset + 2);

    m_streamInfo.tag = kTagAc3;
    m_streamInfo.sampleRate = ac3::kSampleRates[fscod];
    m_streamInfo.channels = channels;
    m_frameReady = true;
    return offset + frameBytes;
}

int32_t AC3FrameDecoder::OutputFrame(void* destination)
{
    if (!m_frameReady || !destination)
        return 0;
    int32_t count = 0;
    Mix(m_outputFormat, m_frame, destination, count);
    return count;
}

bool AC3FrameDecoder::ParseCoupling(AudioBitReader& bits)
{
    m_couplingOn = bits.Bit();
    m_reallocateSlots = 0x7F; // a new coupling strategy changes every channel's range
    if (!m_couplingOn) {
        std::memset(m_channelCoupled, 0, sizeof m_channelCoupled);
        m_phaseFlagsOn = false;
        return true;
    }
    for (uint32_t ch = 0; ch < m_fullChannels; ++ch)
        m_channelCoupled[ch] = bits.Bit();
    m_phaseFlagsOn = m_channelMode == 2 ? bits.Bit() : false;
    const int begf = static_cast<int>(bits.Bits(4));
    const int endf = static_cast<int>(bits.Bits(4));
    // A/52: ncplsubnd = 3 + cplendf - cplbegf must be at least 1.
    if (endf + 3 <= begf)
        return false;
    const int subbands = 3 + endf - begf;
    m_couplingBegin = begf * 12 + 37;
    m_couplingEnd = endf * 12 + 73;
    m_couplingBands = 0;
    for (int s = 0; s < subbands; ++s) {
        const bool joined = s > 0 && bits.Bit();
        if (joined)
            m_couplingBandEnd[m_couplingBands - 1] += 12;
        else
            m_couplingBandEnd[m_couplingBands++] = m_couplingBegin + 12 * (s + 1);
    }
    return true;
}

bool AC3FrameDecoder::ParseExponents(AudioBitReader& bits, int slot, int strategy, int start, int groups,
                                     int absolute)
{
    const int repeat = 1 << (strategy - 1);
    if (start + groups * 3 * repeat > 256)
        return false;
    const ExponentDeltas& deltas = Deltas();
    int exponent = absolute;
    uint8_t* out = m_exponents[slot] + start;
    for (int g = 0; g < groups; ++g) {
        const uint32_t code = bits.Bits(7);
        if (code > 124)
            return false;
        const int e0 = exponent + deltas.d[code][0];
        const int e1 = e0 + deltas.d[code][1];
        const int e2 = e1 + deltas.d[code][2];
        if (static_cast<unsigned>(e0) > 24 || static_cast<unsigned>(e1) > 24 || static_cast<unsigned>(e2) > 24)
            return false;
        exponent = e2;
        switch (strategy) {
        case 1: // D15
            out[0] = static_cast<uint8_t>(e0);
            out[1] = static_cast<uint8_t>(e1);
            out[2] = static_cast<uint8_t>(e2);
            out += 3;
            break;
        case 2: // D25
            out[0] = out[1] = static_cast<uint8_t>(e0);
            out[2] = out[3] = static_cast<uint8_t>(e1);
            out[4] = out[5] = static_cast<uint8_t>(e2);
            out += 6;
            break;
        default: // D45
            std::memset(out, e0, 4);
            std::memset(out + 4, e1, 4);
            std::memset(out + 8, e2, 4);
            out += 12;
            break;
        }
    }
    return true;
}

void AC3FrameDecoder::ParseDelta(AudioBitReader& bits, int slot)
{
    int16_t* delta = m_deltaAllocation[slot];
    std::memset(delta, 0, 50 * sizeof(int16_t));
    const uint32_t segments = bits.Bits(3) + 1;
    int band = 0;
    bool valid = true;
    for (uint32_t s = 0; s < segments; ++s) {
        band += static_cast<int>(bits.Bits(5));
        const int length = static_cast<int>(bits.Bits(4));
        const int ba = static_cast<int>(bits.Bits(3));
        if (!valid || band + length > 50) {
            valid = false; // the rest of this channel's segments are read over
            continue;
        }
        const int16_t value = static_cast<int16_t>((ba >= 4 ? ba - 3 : ba - 4) * 128);
        for (int k = 0; k < length; ++k)
            delta[band + k] = static_cast<int16_t>(delta[band + k] + value);
    }
}

bool AC3FrameDecoder::ParseBitAllocation(AudioBitReader& bits, int block)
{
    if (bits.Bit()) { // baie
        m_slowDecay = ac3::kSlowDecay[bits.Bits(2)];
        m_fastDecay = ac3::kFastDecay[bits.Bits(2)];
        m_slowGain = ac3::kSlowGain[bits.Bits(2)];
        m_dbKnee = ac3::kDbPerBit[bits.Bits(2)];
        m_floor = ac3::kFloor[bits.Bits(3)];
        m_reallocateSlots = 0x7F;
    } else if (block == 0) {
        return false;
    }
    if (bits.Bit()) { // snroffste
        const int coarse = static_cast<int>(bits.Bits(6));
        auto fine = [&](int slot) {
            const int f = static_cast<int>(bits.Bits(4));
            m_snrOffset[slot] = ((coarse - 15) * 16 + f) * 4;
            m_fastGain[slot] = ac3::kFastGain[bits.Bits(3)];
        };
        if (m_couplingOn)
            fine(kCoupling);
        for (uint32_t ch = 0; ch < m_fullChannels; ++ch)
            fine(static_cast<int>(ch));
        if (m_lfeOn)
            fine(kLfe);
        m_reallocateSlots = 0x7F;
    } else if (block == 0) {
        return false;
    }
    if (m_couplingOn) {
        if (bits.Bit()) { // cplleake
            m_couplingFastLeak = (static_cast<int>(bits.Bits(3)) << 8) + 768;
            m_couplingSlowLeak = (static_cast<int>(bits.Bits(3)) << 8) + 768;
            m_reallocateSlots |= 0x40;
        } else if (block == 0) {
            return false;
        }
    }
    if (bits.Bit()) { // deltbaie
        m_reallocateSlots = 0x7F;
        if (m_couplingOn)
            m_deltaMode[kCoupling] = static_cast<int>(bits.Bits(2));
        for (uint32_t ch = 0; ch < m_fullChannels; ++ch)
            m_deltaMode[ch] = static_cast<int>(bits.Bits(2));
        if (m_couplingOn && m_deltaMode[kCoupling] == 1)
            ParseDelta(bits, kCoupling);
        for (uint32_t ch = 0; ch < m_fullChannels; ++ch)
            if (m_deltaMode[ch] == 1)
                ParseDelta(bits, static_cast<int>(ch));
    } else if (block == 0) {
        // Without delta information in the first block there is none to reuse.
        for (int slot = 0; slot < kSlots; ++slot)
            m_deltaMode[slot] = 2;
    }
    return true;
}

void AC3FrameDecoder::AllocateBits(int slot, int start, int end, int fastGain, int snrOffset, int fastLeak,
                                   int slowLeak)
{
    if (end <= start)
        return;
    const uint8_t* exps = m_exponents[slot];
    int psd[256];
    for (int bin = start; bin < end; ++bin)
        psd[bin] = 3072 - (exps[bin] << 7);

    // Banded integration of the power spectral density.
    const uint8_t* const logAdd = LogAdds().byDifference + LogAddTable::kBelow;
    int bandPsd[50];
    int j = start;
    int k = ac3::kBinToBand[start];
    int last;
    do {
        last = std::min<int>(ac3::kBandStart[k + 1], end);
        int sum = psd[j++];
        for (; j < last; ++j) {
            const int diff = sum - psd[j];
            sum = std::max(sum, psd[j]) + logAdd[diff];
        }
        bandPsd[k++] = sum;
    } while (end > last);

    const int bandStart = ac3::kBinToBand[start];
    const int bandEnd = ac3::kBinToBand[end - 1] + 1;
    int excite[50];
    auto lowComp = [&](int a, int b0, int b1, int bin) {
        if (bin < 7) {
            if (b0 + 256 == b1)
                a = 384;
            else if (b0 > b1)
                a = std::max(0, a - 64);
        } else if (bin < 20) {
            if (b0 + 256 == b1)
                a = 320;
            else if (b0 > b1)
                a = std::max(0, a - 64);
        } else {
            a = std::max(0, a - 128);
        }
        return a;
    };
    int begin;
    if (bandStart == 0) {
        int low = 0;
        low = lowComp(low, bandPsd[0], bandPsd[1], 0);
        excite[0] = bandPsd[0] - fastGain - low;
        low = lowComp(low, bandPsd[1], bandPsd[2], 1);
        excite[1] = bandPsd[1] - fastGain - low;
        begin = 7;
        for (int bin = 2; bin < 7; ++bin) {
            if (bandEnd != 7 || bin != 6)
                low = lowComp(low, bandPsd[bin], bandPsd[bin + 1], bin);
            fastLeak = bandPsd[bin] - fastGain;
            slowLeak = bandPsd[bin] - m_slowGain;
            excite[bin] = fastLeak - low;
            if (bandEnd != 7 || bin != 6) {
                if (bandPsd[bin] <= bandPsd[bin + 1]) {
                    begin = bin + 1;
                    break;
                }
            }
        }
        for (int bin = begin; bin < std::min(bandEnd, 22); ++bin) {
            if (bandEnd != 7 || bin != 6)
                low = lowComp(low, bandPsd[bin], bandPsd[bin + 1], bin);
            fastLeak = std::max(fastLeak - m_fastDecay, bandPsd[bin] - fastGain);
            slowLeak = std::max(slowLeak - m_slowDecay, bandPsd[bin] - m_slowGain);
            excite[bin] = std::max(fastLeak - low, slowLeak);
        }
        begin = 22;
    } else {
        begin = bandStart;
    }
    for (int bin = begin; bin < bandEnd; ++bin) {
        fastLeak = std::max(fastLeak - m_fastDecay, bandPsd[bin] - fastGain);
        slowLeak = std::max(slowLeak - m_slowDecay, bandPsd[bin] - m_slowGain);
        excite[bin] = std::max(fastLeak, slowLeak);
    }

    // Masking curve, hearing threshold and delta bit allocation.
    int mask[50];
    const uint16_t* threshold = ac3::kHearingThreshold[m_sampleRateCode];
    for (int band = bandStart; band < bandEnd; ++band) {
        if (bandPsd[band] < m_dbKnee)
            excite[band] += (m_dbKnee - bandPsd[band]) >> 2;
        mask[band] = std::max<int>(excite[band], threshold[std::min(band >> m_shift, 49)]);
    }
    if (slot != kLfe && (m_deltaMode[slot] == 0 || m_deltaMode[slot] == 1))
        for (int band = bandStart; band < bandEnd; ++band)
            mask[band] += m_deltaAllocation[slot][band];

    uint8_t* bap = m_allocationPointers[slot];
    const uint8_t* const bapOf = Baps().byAddress + BapTable::kBelow;
    int i = start;
    k = bandStart;
    do {
        last = std::min<int>(ac3::kBandStart[k + 1], end);
        int m = mask[k] - snrOffset - m_floor;
        if (m < 0)
            m = 0;
        m = (m & 0x1FE0) + m_floor;
        for (; i < last; ++i)
            bap[i] = bapOf[(psd[i] - m) >> 5];
        ++k;
    } while (end > last);
}

void AC3FrameDecoder::ReadMantissas(AudioBitReader& bits, int slot, int start, int end, float* out, bool dither)
{
    // The bits are read from the frame's copy at a bit position, without bounds checks: a call reads
    // at most 16 bits for each of 256 bins, which the copy's padding holds when the call starts
    // inside the frame; the position is checked against the frame's end once, after the loop.
    // The dither generator and the pending groups are held in locals for the loop, so that the
    // compiler keeps them in registers instead of writing them back after every sample.
    if (bits.Overrun())
        return;
    unsigned bit;
    const uint8_t* const base = bits.Position(bit);
    uint64_t position = bit;
    auto read = [&](unsigned count) {
        uint64_t word;
        std::memcpy(&word, base + (position >> 3), sizeof word);
        word = __builtin_bswap64(word) << (position & 7);
        position += count;
        return static_cast<uint32_t>((word >> 1) >> (63 - count));
    };
    const ac3::Quantisers& t = ac3::GetQuantisers();
    const uint16_t* ditherTable = Dithers().t;
    uint16_t ditherState = m_ditherState;
    int count0 = m_groupCount[0], count1 = m_groupCount[1], count2 = m_groupCount[2];
    // Groups left over from the last call continue from their saved levels.
    float saved[3][3];
    std::memcpy(saved, m_groupLevels, sizeof saved);
    const float* pending0 = saved[0];
    const float* pending1 = saved[1];
    const float* pending2 = saved[2];
    const uint8_t* bap = m_allocationPointers[slot];
    const uint8_t* exps = m_exponents[slot];
    for (int bin = start; bin < end; ++bin) {
        float v;
        switch (bap[bin]) {
        case 0:
            if (dither) {
                ditherState = static_cast<uint16_t>(((ditherState & 0xFF) << 8) ^ ditherTable[ditherState >> 8]);
                v = static_cast<float>(static_cast<int16_t>(ditherState)) * (1.0f / 32768.0f);
            } else {
                v = 0.0f;
            }
            break;
        case 1:
            v = Grouped<5, 3>(base, position, count0, pending0, t.group3);
            break;
        case 2:
            v = Grouped<7, 3>(base, position, count1, pending1, t.group5);
            break;
        case 4:
            v = Grouped<7, 2>(base, position, count2, pending2, t.group11);
            break;
        default: {
            // Bap 3, 5 and the symmetric quantisers (6 to 15) without a branch between them, as they
            // often alternate: the asymmetric levels from their table, the others by their
            // sign-extended code. Bap 5 alone has bit 2 set among 3 and 5.
            const unsigned b = bap[bin];
            const unsigned n = ac3::kMantissaBits[b];
            const uint32_t code = read(n);
            const float symmetric =
                static_cast<float>(static_cast<int32_t>(code << (32 - n))) * (1.0f / 2147483648.0f);
            const float level = t.asymmetric[b < 6 ? code + (b & 4) / 4 * ac3::Quantisers::kLevel15 : 0];
            v = b < 6 ? level : symmetric;
            break;
        }
        }
        out[bin] = v * t.scale[exps[bin]];
    }
    bits.Seek(base + (position >> 3), static_cast<unsigned>(position & 7));
    m_ditherState = ditherState;
    m_groupCount[0] = count0;
    m_groupCount[1] = count1;
    m_groupCount[2] = count2;
    for (int i = 0; i < 3; ++i) {
        m_groupLevels[0][i] = pending0[i];
        m_groupLevels[1][i] = pending1[i];
    }
    m_groupLevels[2][0] = pending2[0];
    m_groupLevels[2][1] = pending2[1];
}

bool AC3FrameDecoder::DecodeBlock(AudioBitReader& bits, int block)
{
    const int nf = static_cast<int>(m_fullChannels);
    for (int ch = 0; ch < nf; ++ch)
        m_blockSwitch[ch] = bits.Bit();
    for (int ch = 0; ch < nf; ++ch)
        m_ditherOn[ch] = bits.Bit();
    for (int i = 0; i < (m_channelMode == 0 ? 2 : 1); ++i)
        if (bits.Bit())
            bits.Bits(8); // dynrng: read over

    if (bits.Bit()) { // cplstre
        if (!ParseCoupling(bits))
            return false;
    } else if (block == 0) {
        return false;
    }

    if (m_couplingOn) {
        bool fresh = false;
        for (int ch = 0; ch < nf; ++ch) {
            if (!m_channelCoupled[ch] || !bits.Bit())
                continue;
            fresh = true;
            const int master = static_cast<int>(bits.Bits(2));
            for (int band = 0; band < m_couplingBands; ++band) {
                const int e = static_cast<int>(bits.Bits(4));
                const int mant = static_cast<int>(bits.Bits(4));
                const float value = e == 15 ? mant / 16.0f : (mant + 16) / 32.0f;
                // A/52 section 7.4.3; the factor 8 of the decoupling step is folded in here.
                m_couplingCoordinates[ch][band] = value * 8.0f / float(1u << std::min(e + 3 * master, 31));
            }
        }
        if (m_channelMode == 2 && m_phaseFlagsOn && fresh)
            for (int band = 0; band < m_couplingBands; ++band)
                m_phaseFlags[band] = bits.Bit();
        if (!m_phaseFlagsOn)
            std::memset(m_phaseFlags, 0, sizeof m_phaseFlags);
    }

    if (m_channelMode == 2 && bits.Bit()) { // rematstr
        const int limit = m_couplingOn ? m_couplingBegin : 253;
        m_rematrixBands = 0;
        for (int band = 0; band < 4 && kRematrixStart[band] < limit; ++band)
            if (bits.Bit())
                m_rematrixBands = static_cast<uint8_t>(m_rematrixBands | (1u << band));
    }

    int cplStrategy = 0;
    if (m_couplingOn) {
        cplStrategy = static_cast<int>(bits.Bits(2));
        m_exponentStrategy[kCoupling] = cplStrategy;
    }
    int strategy[5] = {};
    for (int ch = 0; ch < nf; ++ch)
        strategy[ch] = static_cast<int>(bits.Bits(2));
    const int lfeStrategy = m_lfeOn ? static_cast<int>(bits.Bits(1)) : 0;
    if (block == 0) {
        if (m_couplingOn && cplStrategy == 0)
            return false;
        for (int ch = 0; ch < nf; ++ch)
            if (strategy[ch] == 0)
                return false;
        if (m_lfeOn && lfeStrategy == 0)
            return false;
    }
    for (int ch = 0; ch < nf; ++ch) {
        if (m_channelCoupled[ch]) {
            m_endMantissa[ch] = m_couplingBegin;
        } else if (strategy[ch] != 0) {
            const uint32_t bandwidth = bits.Bits(6);
            if (bandwidth > 60)
                return false;
            m_endMantissa[ch] = static_cast<int>(bandwidth) * 3 + 73;
        }
    }
    if (m_couplingOn && cplStrategy != 0) {
        const int absolute = static_cast<int>(bits.Bits(4)) << 1;
        const int groups = (m_couplingEnd - m_couplingBegin) / (3 << (cplStrategy - 1));
        if (!ParseExponents(bits, kCoupling, cplStrategy, m_couplingBegin, groups, absolute))
            return false;
        m_reallocateSlots |= 0x40;
    }
    for (int ch = 0; ch < nf; ++ch) {
        if (strategy[ch] == 0)
            continue;
        const int end = m_endMantissa[ch];
        const int groups = strategy[ch] == 1 ? (end - 1) / 3 : strategy[ch] == 2 ? (end + 2) / 6 : (end + 8) / 12;
        const int absolute = static_cast<int>(bits.Bits(4));
        m_exponents[ch][0] = static_cast<uint8_t>(absolute);
        if (!ParseExponents(bits, ch, strategy[ch], 1, groups, absolute))
            return false;
        bits.Bits(2); // gainrng
        m_reallocateSlots |= 1u << ch;
    }
    if (m_lfeOn && lfeStrategy) {
        const int absolute = static_cast<int>(bits.Bits(4));
        m_exponents[kLfe][0] = static_cast<uint8_t>(absolute);
        if (!ParseExponents(bits, kLfe, 1, 1, 2, absolute))
            return false;
        m_reallocateSlots |= 0x20;
    }
    m_endMantissa[kLfe] = 7;

    if (!ParseBitAllocation(bits, block))
        return false;
    if (bits.Bit()) // skiple
        bits.Skip(bits.Bits(9) * 8);
    if (bits.Overrun())
        return false;

    for (int ch = 0; ch < nf; ++ch)
        if (m_reallocateSlots & (1u << ch))
            AllocateBits(ch, 0, m_endMantissa[ch], m_fastGain[ch], m_snrOffset[ch], 0, 0);
    if (m_couplingOn && (m_reallocateSlots & 0x40))
        AllocateBits(kCoupling, m_couplingBegin, m_couplingEnd, m_fastGain[kCoupling], m_snrOffset[kCoupling], m_couplingFastLeak,
                     m_couplingSlowLeak);
    if (m_lfeOn && (m_reallocateSlots & 0x20))
        AllocateBits(kLfe, 0, 7, m_fastGain[kLfe], m_snrOffset[kLfe], 0, 0);
    m_reallocateSlots = 0;

    // Mantissas, in bit-stream order; the coupling channel's follow the first coupled channel's.
    m_groupCount[0] = m_groupCount[1] = m_groupCount[2] = 0;
    float* coefficients[6];
    for (int ch = 0; ch < nf + (m_lfeOn ? 1 : 0); ++ch)
        coefficients[ch] = m_frame.planes[ch] + block * 256;
    int firstCoupled = -1;
    for (int ch = 0; ch < nf; ++ch) {
        ReadMantissas(bits, ch, 0, m_endMantissa[ch], coefficients[ch], m_ditherOn[ch]);
        if (m_couplingOn && m_channelCoupled[ch] && firstCoupled < 0) {
            firstCoupled = ch;
            ReadMantissas(bits, kCoupling, m_couplingBegin, m_couplingEnd, m_couplingCoefficients, false);
        }
    }
    if (m_lfeOn)
        ReadMantissas(bits, kLfe, 0, 7, coefficients[nf], false);
    if (bits.Overrun())
        return false;

    // Decoupling: every coupled channel takes the coupling channel's coefficients (its own dither
    // where the coupling channel has no bits) scaled by its coordinate of each band.
    if (m_couplingOn && firstCoupled >= 0) {
        const float* source = m_couplingCoefficients;
        const uint8_t* cplBap = m_allocationPointers[kCoupling];
        const uint8_t* cplExp = m_exponents[kCoupling];
        const float* scale = ac3::GetQuantisers().scale;
        // The bins where the coupling channel has no bits, listed once without branches, so that a
        // dithering channel overwrites just those, in order, after a plain pass over all bins.
        int silent[256];
        int silentCount = 0;
        for (int bin = m_couplingBegin; bin < m_couplingEnd; ++bin) {
            silent[silentCount] = bin;
            silentCount += cplBap[bin] == 0;
        }
        float co[256];
        for (int ch = firstCoupled; ch < nf; ++ch) {
            if (!m_channelCoupled[ch])
                continue;
            float* out = coefficients[ch];
            const bool negate = ch == 1 && m_channelMode == 2;
            int bin = m_couplingBegin;
            for (int band = 0; band < m_couplingBands; ++band) {
                const float c = negate && m_phaseFlags[band] ? -m_couplingCoordinates[ch][band] : m_couplingCoordinates[ch][band];
                for (; bin < m_couplingBandEnd[band]; ++bin)
                    co[bin] = c;
            }
            for (bin = m_couplingBegin; bin < m_couplingEnd; ++bin)
                out[bin] = source[bin] * co[bin];
            if (m_ditherOn[ch])
                for (int i = 0; i < silentCount; ++i) {
                    const int at = silent[i];
                    out[at] = (Dither() * scale[cplExp[at]]) * co[at];
                }
        }
    }
    for (int ch = 0; ch < nf; ++ch) {
        const int end = m_channelCoupled[ch] && m_couplingOn ? m_couplingEnd : m_endMantissa[ch];
        std::fill(coefficients[ch] + end, coefficients[ch] + 256, 0.0f);
    }
    if (m_lfeOn)
        std::fill(coefficients[nf] + 7, coefficients[nf] + 256, 0.0f);

    if (m_channelMode == 2 && m_rematrixBands) {
        const int limit = std::min(m_channelCoupled[0] && m_couplingOn ? m_couplingBegin : m_endMantissa[0],
                                   m_channelCoupled[1] && m_couplingOn ? m_couplingBegin : m_endMantissa[1]);
        for (int band = 0; band < 4; ++band) {
            if (!(m_rematrixBands & (1u << band)))
                continue;
            const int end = std::min(kRematrixStart[band + 1], limit);
            for (int bin = kRematrixStart[band]; bin < end; ++bin) {
                const float l = coefficients[0][bin], r = coefficients[1][bin];
                coefficients[0][bin] = l + r;
                coefficients[1][bin] = l - r;
            }
        }
    }

    for (int ch = 0; ch < nf; ++ch)
        m_transform.Inverse(coefficients[ch], m_overlap.planes[ch], m_blockSwitch[ch]);
    if (m_lfeOn)
        m_transform.Inverse(coefficients[nf], m_overlap.planes[nf], false);
    return true;
}

} // namespace audio
