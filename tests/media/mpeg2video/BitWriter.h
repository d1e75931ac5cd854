// Test helper: writes MPEG video syntax bit by bit, and the headers the tests need.
#pragma once

#include <cstdint>
#include <vector>

namespace test {

class CBitWriter {
public:
    void Put(uint32_t value, unsigned count)
    {
        for (unsigned i = count; i-- > 0;) {
            m_acc = uint8_t((m_acc << 1) | ((value >> i) & 1));
            if (++m_n == 8) {
                m_bytes.push_back(m_acc);
                m_acc = 0;
                m_n = 0;
            }
        }
    }
    // A code given as text of 0 and 1 (other characters ignored).
    void Code(const char* text)
    {
        for (const char* p = text; *p; ++p)
            if (*p == '0' || *p == '1')
                Put(uint32_t(*p - '0'), 1);
    }
    void Align()
    {
        while (m_n)
            Put(0, 1);
    }
    void StartCode(uint8_t code)
    {
        Align();
        for (uint8_t b : {uint8_t(0), uint8_t(0), uint8_t(1), code})
            m_bytes.push_back(b);
    }
    std::vector<uint8_t> Bytes()
    {
        Align();
        return m_bytes;
    }

private:
    std::vector<uint8_t> m_bytes;
    uint8_t m_acc = 0;
    unsigned m_n = 0;
};

struct SequenceParameters {
    unsigned width = 64, height = 48;
    unsigned aspect = 2, frameRateCode = 3;
    unsigned vbvBufferSize = 112;
    bool mpeg2 = true;
    unsigned profileAndLevel = 0x48;
    bool progressive = true;
    unsigned chromaFormat = 1;
    unsigned vbvExtension = 0;
    unsigned frameRateN = 0, frameRateD = 0;
};

// Sequence header (+ sequence extension for MPEG-2).
void WriteSequence(CBitWriter& w, const SequenceParameters& p);
void WriteSequenceExtension(CBitWriter& w, const SequenceParameters& p);
void WriteGop(CBitWriter& w);
// Picture header (+ picture coding extension for MPEG-2) of an I picture.
void WriteIntraPicture(CBitWriter& w, unsigned temporalReference, unsigned structure = 3, bool mpeg2 = true,
                       unsigned qScaleType = 0);
// One slice of intra macroblocks whose DC values give flat blocks of the luma value `luma`
// (1..255) and neutral chroma; `count` macroblocks from the row's start.
void WriteFlatIntraSlice(CBitWriter& w, unsigned row, unsigned count, int luma, unsigned chromaFormat = 1,
                         bool frameDct = true);

} // namespace test
