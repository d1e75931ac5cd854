// The sample-level routines: each SIMD routine against its portable twin, both inverse transforms
// against the IEEE 1180 accuracy limits, the block writers' clamping, the VLC tables and the
// processor dispatch.
#include <cmath>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"
#include "media/mpeg2video/Routines.h"
#include "media/mpeg2video/VlcTables.h"
#include "support/TestMedia.h"

namespace {

using namespace mpeg2video;

std::vector<uint8_t> ClampTable()
{
    std::vector<uint8_t> t(65536);
    for (int i = -32768; i < 32768; ++i)
        t[size_t(i + 32768)] = uint8_t(i < 0 ? 0 : i > 255 ? 255 : i);
    return t;
}

TEST(Routines, PortableDcOnlyBlockAndShortcut)
{
    for (int c = -2048; c <= 2047; c += 7) {
        int16_t b[64] = {};
        b[0] = int16_t(c);
        InverseTransformPortable(b);
        int expected = ((c * 8) + 32) >> 6;
        expected = expected < -256 ? -256 : expected > 255 ? 255 : expected;
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ(b[i], expected) << "dc " << c;
    }
    // A block whose rows after the first pass have only a DC term takes the column shortcut; the
    // result must equal the direct evaluation of the same integer steps (all columns equal here).
    int16_t b[64] = {};
    b[0] = 320;
    b[8] = 40; // column 0 only: every row pass outputs its DC, every column is identical
    int16_t r[64];
    std::memcpy(r, b, sizeof b);
    InverseTransformPortable(r);
    for (int y = 0; y < 8; ++y)
        for (int x = 1; x < 8; ++x)
            EXPECT_EQ(r[8 * y + x], r[8 * y]);
}

TEST(Routines, Ap922DcOnlyBlockIsFlatWithinOne)
{
    // The row rounders carry the column rounding, so a DC-only block comes out as c / 8 within one
    // step on every sample.
    for (int c = -2048; c <= 2047; c += 3) {
        int16_t b[64] = {};
        b[0] = int16_t(c);
        InverseTransformAp922Portable(b);
        for (int i = 0; i < 64; ++i)
            ASSERT_LE(std::fabs(b[i] - c / 8.0), 1.0) << "dc " << c << " sample " << i;
    }
}

#ifdef MPEG2VIDEO_SSE2
TEST(Routines, Sse2TransformEqualsPortableTwin)
{
    test::CTestRandom rnd(11);
    for (int n = 0; n < 20000; ++n) {
        int16_t a[64], b[64];
        const int kind = n % 4;
        for (int i = 0; i < 64; ++i) {
            int v;
            if (kind == 0)
                v = int(rnd.Below(4096)) - 2048; // any saturated coefficient
            else if (kind == 1)
                v = rnd.Below(8) == 0 ? int(rnd.Below(600)) - 300 : 0; // sparse, as decoded
            else if (kind == 2)
                v = int(rnd.Below(65536)) - 32768; // beyond what a decoder produces: saturation paths
            else
                v = rnd.Below(2) ? 2047 : -2048;
            a[i] = b[i] = int16_t(v);
        }
        InverseTransformAp922Portable(a);
        InverseTransformAp922Sse2(b);
        ASSERT_EQ(0, std::memcmp(a, b, sizeof a)) << "block " << n;
    }
    // The shortcut for blocks with only the first and the last coefficient: every DC value with
    // each mismatch bit, then any two values.
    for (int n = 0; n < 4096 * 3 + 2000; ++n) {
        int16_t a[64] = {}, b[64];
        if (n < 4096 * 3) {
            a[0] = int16_t(n / 3 - 2048);
            a[63] = int16_t(n % 3 - 1);
        } else {
            a[0] = int16_t(int(rnd.Below(65536)) - 32768);
            a[63] = int16_t(int(rnd.Below(65536)) - 32768);
        }
        std::memcpy(b, a, sizeof a);
        InverseTransformAp922Portable(a);
        InverseTransformAp922DcSse2(b);
        ASSERT_EQ(0, std::memcmp(a, b, sizeof a)) << "first-and-last block " << n;
    }
}

TEST(Routines, Sse2BlockWritersEqualPortable)
{
    const std::vector<uint8_t> table = ClampTable();
    const uint8_t* clamp = table.data() + 32768;
    test::CTestRandom rnd(5);
    for (int n = 0; n < 5000; ++n) {
        int16_t block[64];
        for (int i = 0; i < 64; ++i)
            block[i] = int16_t(n % 3 == 0 ? int(rnd.Below(65536)) - 32768 : int(rnd.Below(768)) - 384);
        uint8_t d1[8 * 24], d2[8 * 24];
        for (auto& v : d1)
            v = uint8_t(rnd.Below(256));
        std::memcpy(d2, d1, sizeof d1);
        const ptrdiff_t pitch = 24;
        if (n & 1) {
            AddBlockPortable(clamp, block, d1, pitch);
            AddBlockSse2(clamp, block, d2, pitch);
        } else {
            PutBlockPortable(clamp, block, d1, pitch);
            PutBlockSse2(clamp, block, d2, pitch);
        }
        ASSERT_EQ(0, std::memcmp(d1, d2, sizeof d1)) << "block " << n;
    }
}

TEST(Routines, Sse2PredictionEqualsPortable)
{
    test::CTestRandom rnd(9);
    std::vector<uint8_t> src(64 * 80);
    for (auto& v : src)
        v = uint8_t(rnd.Below(256));
    for (int slot = 0; slot < kPredictionSlots; ++slot) {
        for (int width : {8, 16}) {
            for (int rows : {4, 8, 16}) {
                for (ptrdiff_t neighbour : {ptrdiff_t(64), ptrdiff_t(128)}) {
                    for (ptrdiff_t step : {ptrdiff_t(64), ptrdiff_t(128)}) {
                        std::vector<uint8_t> d1(64 * 40), d2;
                        for (auto& v : d1)
                            v = uint8_t(rnd.Below(256));
                        d2 = d1;
                        const uint8_t* s = src.data() + 3 + 64 * 2;
                        kPortablePrediction[slot](d1.data() + 5, s, width, rows, neighbour, step);
                        kSse2Prediction[slot](d2.data() + 5, s, width, rows, neighbour, step);
                        ASSERT_EQ(d1, d2) << "slot " << slot << " width " << width << " rows " << rows;
                    }
                }
            }
        }
    }
}
#endif

// The formulas themselves, on one sample of each kind.
TEST(Routines, PredictionArithmetic)
{
    const uint8_t s[4 * 2] = {10, 13, 0, 0, 20, 40, 0, 0}; // s=10, right=13, below=20, below-right=40
    const int expectedPut[4] = {10, 15, 12, 21};           // full, (10+20+1)>>1, (10+13+1)>>1, (83+2)>>2
    for (const PredictionRoutine* set : {kPortablePrediction
#ifdef MPEG2VIDEO_SSE2
                                         ,
                                         kSse2Prediction
#endif
         }) {
        for (int kind = 0; kind < 4; ++kind) {
            uint8_t d[16 * 1] = {};
            d[0] = 200;
            std::vector<uint8_t> src(64, 0);
            std::memcpy(src.data(), s, 2);
            std::memcpy(src.data() + 32, s + 4, 2);
            set[kind](d, src.data(), 8, 1, 32, 32);
            EXPECT_EQ(d[0], expectedPut[kind]) << "put kind " << kind;
            d[0] = 200;
            set[4 + kind](d, src.data(), 8, 1, 32, 32);
            EXPECT_EQ(d[0], (expectedPut[kind] + 200 + 1) >> 1) << "average kind " << kind;
        }
    }
}

TEST(Routines, BlockWritersClamp)
{
    const std::vector<uint8_t> table = ClampTable();
    const uint8_t* clamp = table.data() + 32768;
    int16_t block[64];
    for (int i = 0; i < 64; ++i)
        block[i] = int16_t(i < 32 ? 200 : -200);
    block[1] = 32767; // beyond the clamp table once 128 is added: the index is limited first
    uint8_t d[8 * 8];
    std::memset(d, 100, sizeof d);
    AddBlockPortable(clamp, block, d, 8);
    EXPECT_EQ(d[0], 255);
    EXPECT_EQ(d[1], 255);
    EXPECT_EQ(d[63], 0);
    PutBlockPortable(clamp, block, d, 8);
    EXPECT_EQ(d[0], 255);
    EXPECT_EQ(d[1], 255);
    EXPECT_EQ(d[63], 0);
    block[5] = 0;
    PutBlockPortable(clamp, block, d, 8);
    EXPECT_EQ(d[5], 128);
}

// IEEE Std 1180-1990: random blocks of samples in [-L, H], transformed forward exactly, rounded
// and clamped to 12 bits, inverse-transformed by the routine under test and by the exact inverse.
constexpr double kPi = 3.14159265358979323846;

class Ieee1180 {
public:
    Ieee1180()
    {
        for (int k = 0; k < 8; ++k)
            for (int n = 0; n < 8; ++n)
                m_c[k][n] = (k == 0 ? std::sqrt(0.125) : 0.5) * std::cos((2 * n + 1) * k * kPi / 16.0);
    }

    // The generator of the standard's annex, in 32-bit arithmetic on every platform.
    long Random(long low, long high)
    {
        m_seed = m_seed * 1103515245u + 12345u;
        const double x = double(m_seed & 0x7FFFFFFEu) / double(0x7FFFFFFF) * double(low + high + 1);
        return long(x) - low;
    }

    void Run(void (*idct)(int16_t*), long low, long high, int sign, int blocks)
    {
        m_seed = 1;
        double err[64] = {}, sq[64] = {};
        m_peak = 0;
        for (int n = 0; n < blocks; ++n) {
            double in[64];
            for (int i = 0; i < 64; ++i)
                in[i] = double(Random(low, high) * sign);
            double f[64];
            Forward(in, f);
            int16_t coeff[64];
            double fr[64];
            for (int i = 0; i < 64; ++i) {
                double v = std::floor(f[i] + 0.5);
                v = v < -2048 ? -2048 : v > 2047 ? 2047 : v;
                coeff[i] = int16_t(v);
                fr[i] = v;
            }
            double ref[64];
            Inverse(fr, ref);
            idct(coeff);
            for (int i = 0; i < 64; ++i) {
                // Samples beyond -256..255 end up clamped by the block writers in any case.
                coeff[i] = int16_t(coeff[i] < -256 ? -256 : coeff[i] > 255 ? 255 : coeff[i]);
                double r = std::floor(ref[i] + 0.5);
                r = r < -256 ? -256 : r > 255 ? 255 : r;
                const double e = double(coeff[i]) - r;
                m_peak = std::max(m_peak, std::fabs(e));
                err[i] += e;
                sq[i] += e * e;
            }
        }
        m_pmse = m_pme = m_omse = m_ome = 0;
        for (int i = 0; i < 64; ++i) {
            m_pmse = std::max(m_pmse, sq[i] / blocks);
            m_pme = std::max(m_pme, std::fabs(err[i]) / blocks);
            m_omse += sq[i] / blocks / 64;
            m_ome += err[i] / blocks / 64;
        }
        m_ome = std::fabs(m_ome);
    }

    double m_peak = 0, m_pmse = 0, m_omse = 0, m_pme = 0, m_ome = 0;

private:
    void Forward(const double* in, double* out)
    {
        for (int v = 0; v < 8; ++v)
            for (int u = 0; u < 8; ++u) {
                double s = 0;
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        s += m_c[v][y] * m_c[u][x] * in[8 * y + x];
                out[8 * v + u] = s;
            }
    }
    void Inverse(const double* in, double* out)
    {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                double s = 0;
                for (int v = 0; v < 8; ++v)
                    for (int u = 0; u < 8; ++u)
                        s += m_c[v][y] * m_c[u][x] * in[8 * v + u];
                out[8 * y + x] = s;
            }
    }

    double m_c[8][8];
    uint32_t m_seed = 1;
};

void CheckIeee1180(void (*idct)(int16_t*), const char* name)
{
    Ieee1180 t;
    const struct {
        long low, high;
    } ranges[] = {{256, 255}, {5, 5}, {300, 300}};
    for (const auto& r : ranges) {
        for (int sign : {1, -1}) {
            t.Run(idct, r.low, r.high, sign, 10000);
            EXPECT_LE(t.m_peak, 1.0) << name << " L=" << r.low << " sign " << sign;
            EXPECT_LE(t.m_pmse, 0.06) << name << " L=" << r.low << " sign " << sign;
            EXPECT_LE(t.m_omse, 0.02) << name << " L=" << r.low << " sign " << sign;
            EXPECT_LE(t.m_pme, 0.015) << name << " L=" << r.low << " sign " << sign;
            EXPECT_LE(t.m_ome, 0.0015) << name << " L=" << r.low << " sign " << sign;
            std::printf("%s [-%ld,%ld] x %d: peak %.0f, pmse %.4f, omse %.4f, pme %.4f, ome %.5f\n", name, r.low,
                        r.high, sign, t.m_peak, t.m_pmse, t.m_omse, t.m_pme, t.m_ome);
        }
    }
    int16_t zero[64] = {};
    idct(zero);
    for (int16_t v : zero)
        EXPECT_EQ(v, 0) << name << ": all-zero input must give all-zero output";
}

TEST(Routines, Ieee1180Accuracy)
{
    CheckIeee1180(InverseTransformPortable, "integer row/column");
    CheckIeee1180(InverseTransformAp922Portable, "AP-922");
}

TEST(Routines, VlcTablesAreConsistent)
{
    const VlcTables& t = GetVlcTables();
    EXPECT_TRUE(t.consistent);
    // Table B.14 is a complete code apart from the 16-bit prefixes below 16: the Kraft sum over
    // both lookup levels must say so.
    auto kraft = [](const DctEntry* shortTable, const DctEntry* longTable) {
        double sum = 0;
        for (int i = 0; i < 512; ++i)
            if (i >= 8 && shortTable[i].length)
                sum += 1.0 / 512;
        for (int i = 32; i < 2048; ++i)
            if (longTable[i].length)
                sum += 1.0 / 131072;
        return sum;
    };
    EXPECT_DOUBLE_EQ(kraft(t.dctNext, t.dctLongZero), 1.0 - 16.0 / 65536);
    EXPECT_DOUBLE_EQ(kraft(t.dctFirst, t.dctLongZero), 1.0 - 16.0 / 65536);
    // Every value of B.1, B.9 and B.10 is reachable.
    std::vector<bool> seen(64);
    for (const VlcEntry& e : t.codedBlockPattern)
        if (e.length)
            seen[size_t(e.value)] = true;
    for (int v = 0; v < 64; ++v)
        EXPECT_TRUE(seen[size_t(v)]) << "coded_block_pattern " << v;
    int motion[33] = {};
    for (const VlcEntry& e : t.motionCode)
        if (e.length)
            motion[e.value + 16] = 1;
    for (int v = -16; v <= 16; ++v)
        EXPECT_TRUE(motion[v + 16]) << "motion_code " << v;
    EXPECT_EQ(t.motionCode[0x400].value, 0);
    EXPECT_EQ(t.addressIncrement[1024].value, 1);
    EXPECT_EQ(t.addressIncrement[0x0F].value, kAddressStuffing);
    EXPECT_EQ(t.addressIncrement[0x08].value, kAddressEscape);
    EXPECT_EQ(t.addressIncrement[0x18].value, 33);
}

TEST(Routines, ProcessorDispatch)
{
    Mpeg2VideoDecoderCore* c = nullptr;
    ASSERT_EQ(CreateDecoder(&c), 0);
    const uint32_t known = kCpuMmx | kCpuSse | kCpuSse2 | 0xC0000000u;
    EXPECT_EQ(c->processor.capabilities & ~known, 0u);
#if defined(__x86_64__) || defined(_M_X64)
    EXPECT_TRUE(c->processor.capabilities & kCpuSse2);
    EXPECT_EQ(std::strlen(c->processor.vendor), 12u);
    EXPECT_EQ(c->inverseTransform, &InverseTransformAp922Sse2);
    EXPECT_EQ(c->inverseTransformDc, &InverseTransformAp922DcSse2);
    EXPECT_EQ(c->putBlock, &PutBlockSse2);
    EXPECT_EQ(c->predict[kAverageBoth], kSse2Prediction[kAverageBoth]);
#endif
    SelectRoutines(c, 0);
    EXPECT_EQ(c->inverseTransform, &InverseTransformPortable);
    EXPECT_EQ(c->inverseTransformDc, &InverseTransformPortable);
    EXPECT_EQ(c->putBlock, &PutBlockPortable);
    EXPECT_EQ(c->addBlock, &AddBlockPortable);
    for (int i = 0; i < kPredictionSlots; ++i)
        EXPECT_EQ(c->predict[i], kPortablePrediction[i]);
    DestroyDecoder(c);
}

} // namespace
