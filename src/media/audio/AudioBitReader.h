// The bit reader of both audio frame decoders: a 64-bit cache, aligned to its top bit, refilled
// with as many whole bytes as fit from the bytes of exactly one frame (those a byte reader has left
// at its byte-aligned position), with the bounds checked here, inline, since mantissa reads are the
// decoders' hottest path. A refill takes eight bytes in one load while eight remain, so most reads
// need no refill at all. Reads past the frame yield zero bits and mark the reader as overrun, so a
// decoder checks once per block.
#pragma once

#include <cstdint>
#include <cstring>

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
        if (m_valid < 16)
            Refill();
        // Two shifts, so that a count of 0 needs no branch.
        const uint32_t value = static_cast<uint32_t>((m_cache >> 1) >> (63 - count));
        m_cache <<= count;
        m_valid -= count;
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
    // More bits were read than the frame holds.
    bool Overrun() const { return m_zeros > m_valid; }

    // For a run of reads done without the reader (whose bytes are known to stay readable well past
    // the frame's end): the next unread bit as its byte and bit (0 the most significant), and the
    // reader moved on to a later bit found that way. Past the end, Seek marks the reader overrun.
    const uint8_t* Position(unsigned& bit) const
    {
        const unsigned unread = m_valid - static_cast<unsigned>(m_zeros); // the added zero bits come last
        bit = (0u - unread) & 7u;
        return m_next - ((unread + 7) >> 3);
    }
    const uint8_t* End() const { return m_end; }
    void Seek(const uint8_t* byte, unsigned bit)
    {
        m_cache = 0;
        m_valid = 0;
        if (byte > m_end || (byte == m_end && bit > 0)) {
            m_next = m_end;
            m_zeros = ~uint64_t(0) >> 1;
            return;
        }
        m_next = byte;
        m_zeros = 0;
        Bits(bit);
    }

private:
    void Refill()
    {
        if (m_end - m_next >= 8) {
            // Bits of the load beyond the whole bytes taken are those of the following bytes,
            // which the next refill places at the same positions again.
            uint64_t word;
            std::memcpy(&word, m_next, sizeof word);
            m_cache |= __builtin_bswap64(word) >> m_valid;
            const unsigned bytes = (63 - m_valid) >> 3;
            m_next += bytes;
            m_valid += 8 * bytes;
            return;
        }
        while (m_next != m_end && m_valid <= 56) {
            m_cache |= static_cast<uint64_t>(*m_next++) << (56 - m_valid);
            m_valid += 8;
        }
        if (m_valid < 16) {
            // Past the frame: zero bits (the cache holds none of the frame beyond its end), counted.
            m_zeros += 16;
            m_valid += 16;
        }
    }

    const uint8_t* m_next;
    const uint8_t* m_end;
    uint64_t m_cache = 0;
    unsigned m_valid = 0;  // bits of the cache still to read
    uint64_t m_zeros = 0; // zero bits added beyond the frame's end
};

} // namespace audio
