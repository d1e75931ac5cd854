#include "dvb/libDVB/si/Crc32.h"

#include <array>

namespace libDVB {

namespace {

// Four tables, built by the compiler: table k gives the CRC contribution of a byte followed by k
// zero bytes, so four bytes are folded in with four look-ups ("slicing by four").
using CTables = std::array<std::array<uint32_t, 256>, 4>;

constexpr CTables MakeTables()
{
    CTables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        t[0][i] = crc;
    }
    for (size_t k = 1; k < 4; ++k)
        for (uint32_t i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] << 8) ^ t[0][t[k - 1][i] >> 24];
    return t;
}

constexpr CTables kTables = MakeTables();

} // namespace

uint32_t Crc32Mpeg(const uint8_t* data, size_t length, uint32_t crc)
{
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        crc ^= (uint32_t(data[i]) << 24) | (uint32_t(data[i + 1]) << 16) | (uint32_t(data[i + 2]) << 8) | data[i + 3];
        crc = kTables[3][crc >> 24] ^ kTables[2][(crc >> 16) & 0xFF] ^ kTables[1][(crc >> 8) & 0xFF] ^
              kTables[0][crc & 0xFF];
    }
    for (; i < length; ++i)
        crc = (crc << 8) ^ kTables[0][((crc >> 24) ^ data[i]) & 0xFF];
    return crc;
}

} // namespace libDVB
