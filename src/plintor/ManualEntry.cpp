#include "plintor/ManualEntry.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace plintor {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }

// The field from its first non-blank character, as 8-bit text (anything outside ASCII ends it).
std::string Ascii(const std::u16string& field)
{
    size_t i = 0;
    while (i < field.size() && IsBlank(field[i]))
        ++i;
    std::string text;
    for (; i < field.size() && field[i] < 0x80; ++i)
        text.push_back(static_cast<char>(field[i]));
    return text;
}

} // namespace

bool ReadWholeNumber(const std::u16string& field, int32_t* value)
{
    const std::string text = Ascii(field);
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return false;
    int64_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1)
            return false;
    }
    v = negative ? -v : v;
    if (v > std::numeric_limits<int32_t>::max())
        return false;
    *value = static_cast<int32_t>(v);
    return true;
}

bool ReadFrequencyKHz(const std::u16string& field, int32_t* kHz)
{
    std::string text = Ascii(field);
    for (char& c : text)
        if (c == ',')
            c = '.';
    // Only plain decimal notation: strtod would also take hexadecimal, infinities and NaN.
    size_t length = 0;
    while (length < text.size() && ((text[length] >= '0' && text[length] <= '9') || text[length] == '.' ||
                                    (length == 0 && (text[0] == '+' || text[0] == '-'))))
        ++length;
    text.resize(length);
    if (text.empty())
        return false;
    char* end = nullptr;
    const double megahertz = std::strtod(text.c_str(), &end);
    if (end == text.c_str())
        return false;
    // Read in double and rounded: in float, or truncated, many whole-kilohertz values come out
    // one kilohertz low.
    const double value = std::round(megahertz * 1000.0);
    if (!(value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max()))
        return false;
    *kHz = static_cast<int32_t>(value);
    return true;
}

bool ReadIPv4(const std::u16string& field, uint8_t address[4])
{
    std::u16string rest = field;
    for (int i = 0; i < 4; ++i) {
        int32_t part = 0;
        if (!ReadWholeNumber(rest, &part) || part < 0 || part > 255)
            return false;
        address[i] = static_cast<uint8_t>(part);
        // Past the number, then the dot between parts.
        size_t p = 0;
        while (p < rest.size() && IsBlank(rest[p]))
            ++p;
        if (p < rest.size() && (rest[p] == u'+' || rest[p] == u'-'))
            ++p;
        while (p < rest.size() && rest[p] >= u'0' && rest[p] <= u'9')
            ++p;
        if (i < 3) {
            if (p >= rest.size() || rest[p] != u'.')
                return false;
            ++p;
        }
        rest = rest.substr(p);
    }
    return true;
}

bool IsManualEntryValid(int sourceType, const std::u16string& first, const std::u16string& second,
                        const std::u16string& third)
{
    int32_t a = 0, b = 0;
    const bool hasA = ReadWholeNumber(first, &a), hasB = ReadWholeNumber(second, &b);
    switch (sourceType) {
    case kSourceCable:
    case kSourceTerrestrial: return hasA && a >= 1 && hasB && b >= 1;
    case kSourceSatellite:
        return hasA && a >= 1 && hasB && b >= 1 &&
               (third == u"h" || third == u"H" || third == u"v" || third == u"V");
    case kSourceATSC: return (hasA && a > 0) || (hasB && b >= 1);
    case kSourceNetwork: {
        uint8_t address[4];
        return ReadIPv4(first, address) && hasB && b >= 0 && b <= 65535;
    }
    default: return false;
    }
}

} // namespace plintor
