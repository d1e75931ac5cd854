#include "base/ByteReader.h"

namespace base {

uint32_t CByteReader::Bits(unsigned count)
{
    return static_cast<uint32_t>(Bits64(count > 32 ? 32 : count));
}

uint64_t CByteReader::Bits64(unsigned count)
{
    if (count == 0)
        return 0;
    if (m_overrun || count > 64 || m_size * 8 - m_bit < count) {
        SetOverrun();
        return 0;
    }
    uint64_t value = 0;
    while (count > 0) {
        const unsigned offset = m_bit & 7;
        const unsigned avail = 8 - offset;
        const unsigned take = count < avail ? count : avail;
        const unsigned byte = m_data[m_bit >> 3];
        value = (value << take) | ((byte >> (avail - take)) & ((1u << take) - 1));
        m_bit += take;
        count -= take;
    }
    return value;
}

void CByteReader::SkipBits(size_t count)
{
    if (m_overrun || m_size * 8 - m_bit < count)
        SetOverrun();
    else
        m_bit += count;
}

uint8_t CByteReader::U8()
{
    if (ByteAligned() && !m_overrun && Remaining() >= 1) {
        const uint8_t v = m_data[m_bit >> 3];
        m_bit += 8;
        return v;
    }
    return static_cast<uint8_t>(Bits(8));
}

uint16_t CByteReader::U16() { return static_cast<uint16_t>(Bits(16)); }
uint32_t CByteReader::U24() { return Bits(24); }
uint32_t CByteReader::U32() { return Bits(32); }

uint16_t CByteReader::U16LE()
{
    const uint16_t lo = U8();
    return static_cast<uint16_t>(lo | (U8() << 8));
}

uint32_t CByteReader::U32LE()
{
    const uint32_t lo = U16LE();
    return lo | (static_cast<uint32_t>(U16LE()) << 16);
}

uint64_t CByteReader::U64LE()
{
    const uint64_t lo = U32LE();
    return lo | (static_cast<uint64_t>(U32LE()) << 32);
}

void CByteReader::Skip(size_t bytes)
{
    if (!ByteAligned() || Remaining() < bytes)
        SetOverrun();
    else
        m_bit += bytes * 8;
}

const uint8_t* CByteReader::Take(size_t bytes)
{
    if (m_overrun || !ByteAligned() || Remaining() < bytes) {
        SetOverrun();
        return nullptr;
    }
    const uint8_t* p = m_data + (m_bit >> 3);
    m_bit += bytes * 8;
    return p;
}

CByteReader CByteReader::Sub(size_t bytes)
{
    const bool fits = !m_overrun && ByteAligned() && Remaining() >= bytes;
    const uint8_t* p = fits && bytes == 0 ? nullptr : Take(bytes);
    if (!fits) {
        CByteReader empty;
        empty.m_overrun = true;
        return empty;
    }
    return CByteReader(p, bytes);
}

CByteReader CByteReader::Rest()
{
    if (!ByteAligned())
        AlignToByte();
    return Sub(Remaining());
}

} // namespace base
