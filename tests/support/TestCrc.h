// An independent MPEG CRC-32 (bit by bit, polynomial 0x04C11DB7) for checking and building sections.
#pragma once

#include <cstddef>
#include <cstdint>

namespace test {

uint32_t MpegCrc32(const uint8_t* data, size_t length);

} // namespace test
