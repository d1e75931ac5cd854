// Writes bit fields most significant first, for test streams built bit by bit.
#pragma once

#include <cstdint>
#include <vector>

namespace test {

class BitWriter {
public:
    void Put(uint32_t value, unsigned bits)
    {
        for (unsigned i = bits; i-- > 0;) {
            if ((m_bits & 7) == 0)
                m_bytes.push_back(0);
            if ((value >> i) & 1)
                m_bytes.back() = static_cast<uint8_t>(m_bytes.back() | (0x80 >> (m_bits & 7)));
            ++m_bits;
        }
    }
    size_t BitCount() const { return m_bits; }
    // Zero bits up to `bytes` bytes in all.
    void PadTo(size_t bytes)
    {
        while (m_bytes.size() < bytes)
            m_bytes.push_back(0);
        m_bits = m_bytes.size() * 8;
    }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_bits = 0;
};

} // namespace test
