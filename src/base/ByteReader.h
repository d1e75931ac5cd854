// A reader over a byte run that cannot overrun: every read past the end yields zero and sets the
// overrun state, so a parser reads a whole structure and checks once, and a length field that lies
// is refused in one place. Multi-byte reads are big-endian (MPEG/DVB) unless they say LE (our files).
#pragma once

#include <cstddef>
#include <cstdint>

namespace base {

class CByteReader {
public:
    CByteReader() = default;
    CByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    size_t Size() const { return m_size; }
    size_t Position() const { return m_bit >> 3; }      // whole bytes consumed
    size_t Remaining() const { return m_overrun ? 0 : m_size - ((m_bit + 7) >> 3); }
    size_t RemainingBits() const { return m_overrun ? 0 : m_size * 8 - m_bit; }
    bool Empty() const { return Remaining() == 0; }
    bool Overrun() const { return m_overrun; }
    bool ByteAligned() const { return (m_bit & 7) == 0; }
    // The byte at the current (byte-aligned) position; null when nothing is left.
    const uint8_t* Current() const { return Remaining() ? m_data + Position() : nullptr; }

    uint32_t Bits(unsigned count);   // 0..32 bits, most significant first
    uint64_t Bits64(unsigned count); // 0..64 bits
    bool Bit() { return Bits(1) != 0; }
    void SkipBits(size_t count);
    void AlignToByte() { m_bit = (m_bit + 7) & ~size_t(7); if (m_bit > m_size * 8) SetOverrun(); }

    uint8_t U8();
    uint16_t U16();
    uint32_t U24();
    uint32_t U32();
    uint16_t U16LE();
    uint32_t U32LE();
    uint64_t U64LE();

    void Skip(size_t bytes);
    // Hands out the next `bytes` bytes and steps over them; null (and overrun) when fewer are left.
    const uint8_t* Take(size_t bytes);
    // A reader over the next `bytes` bytes, stepping over them; an empty reader in overrun state
    // (and this one in overrun state) when fewer are left.
    CByteReader Sub(size_t bytes);
    // The rest of the run as its own reader; this one is then empty.
    CByteReader Rest();

private:
    void SetOverrun() { m_overrun = true; m_bit = m_size * 8; }

    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_bit = 0;
    bool m_overrun = false;
};

} // namespace base
