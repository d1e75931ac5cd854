// The bit reader of both audio frame decoders: a 32-bit cache, aligned to its top bit, refilled a
// big-endian 16-bit word at a time from the bytes of exactly one frame (those a byte reader has
// left at its byte-aligned position), with the bounds checked here, inline, since mantissa reads
// are the decoders' hottest path. Reads past the frame yield zero bits and mark the reader as
// overrun, so a decoder checks once per block.
#pragma once

#include <cstdint>

#include "base/ByteReader.h"

namespace audio {

class AudioBitReader {
public:
    explicit AudioBitReader(const base::CByteReader& frame)
        : m_next(frame.Current()), m_end(m_next ? m_next + frame.Remaining() : nullptr)
    {
    }

    // 0 to 16 bits, most significant first.
    uint32_t Bits(unsigned count)
    {
        if (count == 0)
            return 0;
        if (m_valid < 16)
            Refill();
        const uint32_t value = m_cache >> (32 - count);
        m_cache <<= count;
        m_valid -= count;
        m_used += count;
        return value;
    }
    bool Bit() { return Bits(1) != 0; }
    void Skip(uint32_t count)
    {
        while (count > 16) {
            Bits(16);
            count -= 16;
        }
        Bits(count);
    }
    bool Overrun() const { return m_used > m_supplied; }
    uint64_t Position() const { return m_used; }

private:
    void Refill()
    {
        uint32_t word = 0;
        const size_t left = static_cast<size_t>(m_end - m_next);
        if (left >= 2) {
            word = (static_cast<uint32_t>(m_next[0]) << 8) | m_next[1];
            m_next += 2;
            m_supplied += 16;
        } else if (left == 1) {
            word = static_cast<uint32_t>(m_next[0]) << 8;
            m_next += 1;
            m_supplied += 8;
        }
        m_cache |= word << (16 - m_valid);
        m_valid += 16;
    }

    const uint8_t* m_next;
    const uint8_t* m_end;
    uint32_t m_cache = 0;
    unsigned m_valid = 0;
    uint64_t m_used = 0;
    uint64_t m_supplied = 0;
};

} // namespace audio
