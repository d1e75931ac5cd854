// CRC-32 of ISO/IEC 13818-1 annex A (polynomial 0x04C11DB7, initial value 0xFFFFFFFF, no reflection,
// no final inversion). Run over a whole section including its CRC_32 field it yields 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace libDVB {

uint32_t Crc32Mpeg(const uint8_t* data, size_t length, uint32_t crc = 0xFFFFFFFF);

} // namespace libDVB
