#include "dvb/libDVB/si/AnsiCodePage.h"

#include <atomic>

namespace libDVB {

namespace {

constexpr char16_t kWindows1252Row8And9[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::atomic<AnsiToUtf16Function> g_converter{nullptr};

} // namespace

void SetAnsiConverter(AnsiToUtf16Function converter) { g_converter.store(converter, std::memory_order_release); }

AnsiToUtf16Function GetAnsiConverter()
{
    const AnsiToUtf16Function converter = g_converter.load(std::memory_order_acquire);
    return converter ? converter : &FixedAnsiToUtf16;
}

std::u16string FixedAnsiToUtf16(const uint8_t* data, size_t length)
{
    std::u16string text;
    text.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        const uint8_t b = data[i];
        text.push_back(b >= 0x80 && b < 0xA0 ? kWindows1252Row8And9[b - 0x80] : static_cast<char16_t>(b));
    }
    return text;
}

} // namespace libDVB
