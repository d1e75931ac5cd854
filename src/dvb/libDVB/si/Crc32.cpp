#include "dvb/libDVB/si/Crc32.h"

#include <array>

namespace libDVB {

namespace {

// Byte-at-a-time table, built by the compiler: a section costs one look-up per byte.
constexpr std::array<uint32_t, 256> MakeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        table[i] = crc;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

} // namespace

uint32_t Crc32Mpeg(const uint8_t* data, size_t length, uint32_t crc)
{
    for (size_t i = 0; i < length; ++i)
        crc = (crc << 8) ^ kTable[((crc >> 24) ^ data[i]) & 0xFF];
    return crc;
}

} // namespace libDVB
