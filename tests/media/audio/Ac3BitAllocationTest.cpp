// The parametric bit allocation under every decay, gain, knee and floor code: mono frames are built
// bit by bit with mantissas laid out by an allocation written here from A/52 section 7.2, and the
// decoder must read them back exactly (a bap differing in one bin shifts every mantissa behind it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "media/audio/AC3FrameDecoder.h"
#include "media/audio/Ac3Tables.h"
#include "media/audio/Ac3Transform.h"
#include "media/audio/AudioTestSupport.h"
#include "media/audio/BitWriter.h"
#include "media/audio/InputByteBuffer.h"
#include "support/TestMedia.h"

namespace {

namespace ac3 = audio::ac3;

struct Parameters {
    int sdcycod, fdcycod, sgaincod, dbpbcod, floorcod;
    int csnroffst, fsnroffst, fgaincod;
};

// A/52 section 7.2.2, for one full-bandwidth channel from bin 0 (no coupling, no delta).
std::vector<int> A52Allocation(const std::vector<int>& exp, const Parameters& p)
{
    static const int slowdec[4] = {0x0f, 0x11, 0x13, 0x15};
    static const int fastdec[4] = {0x3f, 0x53, 0x67, 0x7b};
    static const int slowgain[4] = {0x540, 0x4d8, 0x478, 0x410};
    static const int dbpbtab[4] = {0x000, 0x700, 0x900, 0xb00};
    static const int floortab[8] = {0x2f0, 0x2b0, 0x270, 0x230, 0x1f0, 0x170, 0x0f0, -0x800};
    static const int fastgain[8] = {0x080, 0x100, 0x180, 0x200, 0x280, 0x300, 0x380, 0x400};
    const int sdecay = slowdec[p.sdcycod], fdecay = fastdec[p.fdcycod], sgain = slowgain[p.sgaincod];
    const int dbknee = dbpbtab[p.dbpbcod], floor = floortab[p.floorcod], fgain = fastgain[p.fgaincod];
    const int snroffset = ((p.csnroffst - 15) * 16 + p.fsnroffst) * 4;
    const int end = int(exp.size());

    std::vector<int> psd(end);
    for (int bin = 0; bin < end; ++bin)
        psd[bin] = 3072 - (exp[bin] << 7);
    int bndpsd[50] = {};
    int j = 0, k = ac3::kBinToBand[0], lastbin;
    do {
        lastbin = std::min(int(ac3::kBandStart[k + 1]), end);
        bndpsd[k] = psd[j++];
        for (; j < lastbin; ++j) {
            const int diff = bndpsd[k] - psd[j];
            const int address = std::min(std::abs(diff) >> 1, 255);
            bndpsd[k] = (diff >= 0 ? bndpsd[k] : psd[j]) + ac3::kLogAdd[address];
        }
        ++k;
    } while (end > lastbin);

    auto calcLowcomp = [](int a, int b0, int b1, int bin) {
        if (bin < 7) {
            if (b0 + 256 == b1)
                return 384;
            if (b0 > b1)
                return std::max(0, a - 64);
        } else if (bin < 20) {
            if (b0 + 256 == b1)
                return 320;
            if (b0 > b1)
                return std::max(0, a - 64);
        } else {
            return std::max(0, a - 128);
        }
        return a;
    };
    const int bndend = ac3::kBinToBand[end - 1] + 1;
    int excite[50] = {};
    int lowcomp = calcLowcomp(0, bndpsd[0], bndpsd[1], 0);
    excite[0] = bndpsd[0] - fgain - lowcomp;
    lowcomp = calcLowcomp(lowcomp, bndpsd[1], bndpsd[2], 1);
    excite[1] = bndpsd[1] - fgain - lowcomp;
    int begin = 7, fastleak = 0, slowleak = 0;
    for (int bin = 2; bin < 7; ++bin) {
        if (bndend != 7 || bin != 6)
            lowcomp = calcLowcomp(lowcomp, bndpsd[bin], bndpsd[bin + 1], bin);
        fastleak = bndpsd[bin] - fgain;
        slowleak = bndpsd[bin] - sgain;
        excite[bin] = fastleak - lowcomp;
        if ((bndend != 7 || bin != 6) && bndpsd[bin] <= bndpsd[bin + 1]) {
            begin = bin + 1;
            break;
        }
    }
    for (int bin = begin; bin < std::min(bndend, 22); ++bin) {
        if (bndend != 7 || bin != 6)
            lowcomp = calcLowcomp(lowcomp, bndpsd[bin], bndpsd[bin + 1], bin);
        fastleak = std::max(fastleak - fdecay, bndpsd[bin] - fgain);
        slowleak = std::max(slowleak - sdecay, bndpsd[bin] - sgain);
        excite[bin] = std::max(fastleak - lowcomp, slowleak);
    }
    for (int bin = 22; bin < bndend; ++bin) {
        fastleak = std::max(fastleak - fdecay, bndpsd[bin] - fgain);
        slowleak = std::max(slowleak - sdecay, bndpsd[bin] - sgain);
        excite[bin] = std::max(fastleak, slowleak);
    }
    int mask[50] = {};
    for (int bin = 0; bin < bndend; ++bin) {
        if (bndpsd[bin] < dbknee)
            excite[bin] += (dbknee - bndpsd[bin]) >> 2;
        mask[bin] = std::max(excite[bin], int(ac3::kHearingThreshold[0][bin]));
    }
    std::vector<int> bap(end);
    int i = 0;
    j = ac3::kBinToBand[0];
    do {
        lastbin = std::min(int(ac3::kBandStart[j + 1]), end);
        mask[j] -= snroffset;
        mask[j] -= floor;
        if (mask[j] < 0)
            mask[j] = 0;
        mask[j] &= 0x1fe0;
        mask[j] += floor;
        for (; i < lastbin; ++i) {
            const int address = std::min(63, std::max(0, (psd[i] - mask[j]) >> 5));
            bap[i] = ac3::kBapTable[address];
        }
        ++j;
    } while (end > lastbin);
    return bap;
}

// Levels and mantissa fields of A/52 Tables 7.18 to 7.23.
const int kLevels[6] = {0, 3, 5, 7, 11, 15};
const int kAsymmetricBits[16] = {0, 0, 0, 0, 0, 0, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16};

float Level(int bap, int code)
{
    if (bap <= 5)
        return float(2 * code - (kLevels[bap] - 1)) / float(kLevels[bap]);
    const int bits = kAsymmetricBits[bap];
    const int value = code >= (1 << (bits - 1)) ? code - (1 << bits) : code;
    return float(value) / float(1 << (bits - 1));
}

struct Frame {
    std::vector<uint8_t> bytes;
    std::vector<float> coefficients[6]; // per block, 256 bins
};

// One 48 kHz mono frame of 640 kbit/s: exponents D15 in block 0, reused after; the mantissas of
// each block drawn at random and written where the allocation puts them, grouped as A/52 7.3.5.
Frame BuildFrame(const Parameters& p, test::CTestRandom& rnd)
{
    const int chbwcod = 36, end = chbwcod * 3 + 73;
    std::vector<int> exp(end);
    exp[0] = int(rnd.Below(16));
    std::vector<int> deltas;
    for (int bin = 1; bin < end; ++bin) {
        int d = int(rnd.Below(5)) - 2;
        if (exp[bin - 1] + d < 0 || exp[bin - 1] + d > 24)
            d = -d;
        exp[bin] = exp[bin - 1] + d;
        deltas.push_back(d + 2);
    }
    while (deltas.size() % 3)
        deltas.push_back(2);
    const std::vector<int> bap = A52Allocation(exp, p);

    Frame f;
    test::BitWriter w;
    w.Put(0x0B77, 16);
    w.Put(0, 16);     // crc1, made good below with crc2
    w.Put(0, 2);      // fscod 48 kHz
    w.Put(37, 6);     // frmsizecod: 640 kbit/s
    w.Put(8, 5);      // bsid
    w.Put(0, 3);      // bsmod
    w.Put(1, 3);      // acmod 1/0
    w.Put(0, 1);      // lfeon
    w.Put(27, 5);     // dialnorm
    w.Put(0, 3);      // compre, langcode, audprodie
    w.Put(0, 2);      // copyrightb, origbs
    w.Put(0, 3);      // timecod1e, timecod2e, addbsie
    for (int block = 0; block < 6; ++block) {
        w.Put(0, 1); // blksw
        w.Put(0, 1); // dithflag: bins without bits are silent
        w.Put(0, 1); // dynrnge
        if (block == 0) {
            w.Put(1, 1); // cplstre
            w.Put(0, 1); // cplinu
            w.Put(1, 2); // chexpstr D15
            w.Put(chbwcod, 6);
            w.Put(uint32_t(exp[0]), 4);
            for (size_t g = 0; g < deltas.size(); g += 3)
                w.Put(uint32_t(25 * deltas[g] + 5 * deltas[g + 1] + deltas[g + 2]), 7);
            w.Put(0, 2); // gainrng
            w.Put(1, 1); // baie
            w.Put(uint32_t(p.sdcycod), 2);
            w.Put(uint32_t(p.fdcycod), 2);
            w.Put(uint32_t(p.sgaincod), 2);
            w.Put(uint32_t(p.dbpbcod), 2);
            w.Put(uint32_t(p.floorcod), 3);
            w.Put(1, 1); // snroffste
            w.Put(uint32_t(p.csnroffst), 6);
            w.Put(uint32_t(p.fsnroffst), 4);
            w.Put(uint32_t(p.fgaincod), 3);
        } else {
            w.Put(0, 1); // cplstre
            w.Put(0, 2); // chexpstr reuse
            w.Put(0, 2); // baie, snroffste
        }
        w.Put(0, 1); // deltbaie
        w.Put(0, 1); // skiple
        std::vector<int> code(end);
        f.coefficients[block].assign(256, 0.0f);
        for (int bin = 0; bin < end; ++bin) {
            const int b = bap[bin];
            code[bin] = b == 0 ? 0 : int(rnd.Below(b <= 5 ? uint32_t(kLevels[b]) : 1u << kAsymmetricBits[b]));
            f.coefficients[block][bin] = b == 0 ? 0.0f : std::ldexp(Level(b, code[bin]), -exp[bin]);
        }
        // A group is sent where its first mantissa falls; its later mantissas come from later bins.
        std::vector<int> pending[5];
        for (int b : {1, 2, 4})
            for (int bin = 0; bin < end; ++bin)
                if (bap[bin] == b)
                    pending[b].push_back(code[bin]);
        size_t used[5] = {};
        for (int bin = 0; bin < end; ++bin) {
            const int b = bap[bin];
            if (b == 0)
                continue;
            if (b == 1 || b == 2 || b == 4) {
                const size_t per = b == 4 ? 2 : 3;
                if (used[b] % per == 0) {
                    int m[3] = {};
                    for (size_t i = 0; i < per && used[b] + i < pending[b].size(); ++i)
                        m[i] = pending[b][used[b] + i];
                    if (b == 1)
                        w.Put(uint32_t(9 * m[0] + 3 * m[1] + m[2]), 5);
                    else if (b == 2)
                        w.Put(uint32_t(25 * m[0] + 5 * m[1] + m[2]), 7);
                    else
                        w.Put(uint32_t(11 * m[0] + m[1]), 7);
                }
                ++used[b];
            } else {
                w.Put(uint32_t(code[bin]), b == 3 ? 3 : b == 5 ? 4 : unsigned(kAsymmetricBits[b]));
            }
        }
    }
    const size_t frameBytes = ac3::FrameWords(0, 37) * 2;
    EXPECT_LE(w.BitCount(), (frameBytes - 2) * 8);
    w.PadTo(frameBytes - 2);
    f.bytes = w.Bytes();
    uint32_t crc = 0;
    for (size_t i = 2; i < f.bytes.size(); ++i) {
        crc ^= uint32_t(f.bytes[i]) << 8;
        for (int b = 0; b < 8; ++b)
            crc = (crc & 0x8000) ? ((crc << 1) ^ 0x8005) & 0xFFFF : (crc << 1) & 0xFFFF;
    }
    f.bytes.push_back(uint8_t(crc >> 8));
    f.bytes.push_back(uint8_t(crc));
    return f;
}

TEST(Ac3BitAllocationTest, EveryDecayGainKneeAndFloorCodeAllocatesAsA52)
{
    test::CTestRandom rnd(52);
    int frames = 0;
    for (int codes = 0; codes < 256; ++codes)
        for (int floorcod = 0; floorcod < 8; floorcod += 1 + (codes & 1)) {
            Parameters p{codes & 3, (codes >> 2) & 3, (codes >> 4) & 3, (codes >> 6) & 3, floorcod,
                         4 + int(rnd.Below(28)), int(rnd.Below(16)), int(rnd.Below(8))};
            const Frame f = BuildFrame(p, rnd);
            audio::AC3FrameDecoder decoder;
            audio::InputByteBuffer buffer;
            ASSERT_TRUE(buffer.Allocate(0x20000));
            ASSERT_EQ(int32_t(f.bytes.size()), buffer.Append(f.bytes.data(), int32_t(f.bytes.size())));
            ASSERT_EQ(int32_t(f.bytes.size()), decoder.DecodeFrame(buffer)) << "codes " << codes << " floor " << floorcod;
            ASSERT_TRUE(decoder.FrameReady());
            // The decoder's planes hold each block after the inverse transform: take the expected
            // coefficients through the same transform.
            audio::Ac3Transform transform;
            float overlap[256] = {};
            const float* plane = decoder.Frame().planes[0];
            for (int block = 0; block < 6; ++block) {
                std::vector<float> x = f.coefficients[block];
                transform.Inverse(x.data(), overlap, false);
                for (int n = 0; n < 256; ++n)
                    ASSERT_NEAR(x[n], plane[block * 256 + n], 1e-6f)
                        << "codes " << codes << " floor " << floorcod << " block " << block << " sample " << n;
            }
            ++frames;
        }
    EXPECT_EQ(frames, 128 * 8 + 128 * 4);
}

} // namespace
