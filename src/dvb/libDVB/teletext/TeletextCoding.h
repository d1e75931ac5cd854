// Byte coding of EBU teletext as it arrives in DVB PES packets (ETSI EN 300 472, EN 300 706):
// every byte is sent most significant bit first, so it is bit-reversed before use; address and
// control bytes are Hamming 8/4 coded (EN 300 706, 8.2), character bytes carry odd parity.
#pragma once

#include <cstdint>

namespace libDVB {

uint8_t TeletextReverseBits(uint8_t value);
// The 4-bit value of a Hamming 8/4 byte in teletext bit order, a single-bit error corrected;
// 15 when two or more bits are wrong.
uint8_t TeletextHamming84(uint8_t value);
// True when the byte has odd parity (a character byte received intact).
bool TeletextOddParity(uint8_t value);

} // namespace libDVB
