// Byte builders for SI tests: descriptors, loops with 12-bit lengths, short sections with a CRC.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/TSPacketBuilder.h"
#include "support/TestCrc.h"

namespace test {

using Bytes = std::vector<uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    size_t total = 0;
    for (const auto& p : parts)
        total += p.size();
    Bytes out(total);
    size_t at = 0;
    for (const auto& p : parts)
        for (uint8_t b : p)
            out[at++] = b;
    return out;
}

inline Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A descriptor: tag, length, payload.
inline Bytes Descriptor(uint8_t tag, const Bytes& payload)
{
    return Cat({{tag, static_cast<uint8_t>(payload.size())}, payload});
}

// A length-prefixed text field.
inline Bytes Text(const Bytes& chars)
{
    return Cat({{static_cast<uint8_t>(chars.size())}, chars});
}
inline Bytes Text(const std::string& s) { return Text(Str(s)); }

// 4 reserved bits (set) and a 12-bit length, then the loop.
inline Bytes Loop12(const Bytes& loop, int lengthAdjust = 0)
{
    const uint32_t n = static_cast<uint32_t>(static_cast<int>(loop.size()) + lengthAdjust);
    return Cat({{static_cast<uint8_t>(0xF0 | ((n >> 8) & 0x0F)), static_cast<uint8_t>(n & 0xFF)}, loop});
}

// A short-form section (section_syntax_indicator 0); with `crc` a CRC_32 is appended and counted.
inline Bytes ShortSection(uint8_t tableId, const Bytes& body, bool crc)
{
    const size_t sectionLength = body.size() + (crc ? 4 : 0);
    Bytes s = Cat({{tableId, static_cast<uint8_t>(0x70 | ((sectionLength >> 8) & 0x0F)),
                    static_cast<uint8_t>(sectionLength & 0xFF)},
                   body, Bytes(crc ? 4 : 0)});
    if (crc) {
        const uint32_t c = MpegCrc32(s.data(), s.size() - 4);
        for (int i = 0; i < 4; ++i)
            s[s.size() - 4 + i] = static_cast<uint8_t>(c >> (24 - 8 * i));
    }
    return s;
}

// Recomputes the CRC of a long section after its bytes were changed.
inline void FixCrc(Bytes& s)
{
    const uint32_t c = MpegCrc32(s.data(), s.size() - 4);
    for (int i = 0; i < 4; ++i)
        s[s.size() - 4 + i] = static_cast<uint8_t>(c >> (24 - 8 * i));
}

// 40-bit MJD + BCD time.
inline Bytes MjdTime(uint16_t mjd, uint8_t h, uint8_t m, uint8_t s)
{
    auto bcd = [](uint8_t v) { return static_cast<uint8_t>(((v / 10) << 4) | (v % 10)); };
    return {static_cast<uint8_t>(mjd >> 8), static_cast<uint8_t>(mjd), bcd(h), bcd(m), bcd(s)};
}

inline std::u16string U(const char16_t* s) { return std::u16string(s); }

} // namespace test
