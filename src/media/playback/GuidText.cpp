#include "media/playback/GuidText.h"

#include <cstdint>

namespace {

constexpr int kGuidTextLength = 38;
// Positions of the hyphens in the registry text, braces at 0 and 37.
constexpr int kHyphens[] = {9, 14, 19, 24};

int HexValue(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9')
        return ch - L'0';
    if (ch >= L'A' && ch <= L'F')
        return ch - L'A' + 10;
    if (ch >= L'a' && ch <= L'f')
        return ch - L'a' + 10;
    return -1;
}

} // namespace

CString GuidToString(const GUID& guid)
{
    CString text;
    text.Format(L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(guid.Data1),
                static_cast<unsigned>(guid.Data2), static_cast<unsigned>(guid.Data3), guid.Data4[0], guid.Data4[1],
                guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

GUID StringToGuid(const CString& text)
{
    GUID null{};
    if (text.GetLength() != kGuidTextLength || text[0] != L'{' || text[kGuidTextLength - 1] != L'}')
        return null;
    // The 32 digits in order, checked before any field is filled.
    uint8_t nibbles[32];
    int count = 0;
    int hyphen = 0;
    for (int i = 1; i < kGuidTextLength - 1; ++i) {
        if (hyphen < 4 && i == kHyphens[hyphen]) {
            if (text[i] != L'-')
                return null;
            ++hyphen;
            continue;
        }
        const int value = HexValue(text[i]);
        if (value < 0)
            return null;
        nibbles[count++] = static_cast<uint8_t>(value);
    }
    auto field = [&](int first, int digits) {
        uint32_t value = 0;
        for (int i = 0; i < digits; ++i)
            value = (value << 4) | nibbles[first + i];
        return value;
    };
    GUID guid{};
    guid.Data1 = field(0, 8);
    guid.Data2 = static_cast<uint16_t>(field(8, 4));
    guid.Data3 = static_cast<uint16_t>(field(12, 4));
    for (int i = 0; i < 8; ++i)
        guid.Data4[i] = static_cast<uint8_t>(field(16 + 2 * i, 2));
    return guid;
}
