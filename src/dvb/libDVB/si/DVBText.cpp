#include "dvb/libDVB/si/DVBText.h"

#include <algorithm>

#include "dvb/libDVB/si/AnsiCodePage.h"
#include "dvb/libDVB/si/Iso6937Compositions.h"
#include "dvb/libDVB/si/Iso8859Tables.h"

namespace libDVB {

namespace {

constexpr char16_t kNone = 0;
constexpr char16_t kReplacement = 0xFFFD;

constexpr bool IsOneByteControl(uint8_t b) { return b >= 0x80 && b <= 0x9F; }
constexpr bool IsControlCodePoint(uint32_t c) { return (c >= 0x80 && c <= 0x9F) || (c >= 0xE080 && c <= 0xE09F); }
constexpr uint8_t kLineBreak = 0x8A;          // CR/LF in the one-byte tables
constexpr uint32_t kLineBreakPoint = 0xE08A;  // and in the two-byte table and UTF-8

// A control code: CR/LF becomes a line break, the others (emphasis on/off, user-defined) nothing.
void AppendControl(uint32_t code, std::u16string& text)
{
    if (code == kLineBreak || code == kLineBreakPoint)
        text += u"\r\n";
}
constexpr bool IsDiacriticalMark(uint8_t b) { return b >= 0xC1 && b <= 0xCF && b != 0xC9 && b != 0xCC; }

// Default table (table 00): identity but for these positions; the diacritical marks map to nothing.
struct CDefaultTable {
    char16_t map[256];
    constexpr CDefaultTable() : map()
    {
        for (int i = 0; i < 256; ++i)
            map[i] = static_cast<char16_t>(i);
        const char16_t upper[][2] = {
            {0xA8, 0x00A4}, {0xA9, 0x2018}, {0xAA, 0x201C}, {0xAC, 0x2190}, {0xAD, 0x2191}, {0xAE, 0x2192},
            {0xAF, 0x2193}, {0xB4, 0x00D7}, {0xB8, 0x00F7}, {0xB9, 0x2019}, {0xBA, 0x201D}, {0xD0, 0x2014},
            {0xD1, 0x00B9}, {0xD2, 0x00AE}, {0xD3, 0x00A9}, {0xD4, 0x2122}, {0xD5, 0x266A}, {0xD6, 0x00AC},
            {0xD7, 0x00A6}, {0xDC, 0x215B}, {0xDD, 0x215C}, {0xDE, 0x215D}, {0xDF, 0x215E}, {0xE0, 0x2126},
            {0xE1, 0x00C6}, {0xE2, 0x00D0}, {0xE3, 0x00AA}, {0xE4, 0x0126}, {0xE6, 0x0132}, {0xE7, 0x013F},
            {0xE8, 0x0141}, {0xE9, 0x00D8}, {0xEA, 0x0152}, {0xEB, 0x00BA}, {0xEC, 0x00DE}, {0xED, 0x0166},
            {0xEE, 0x014A}, {0xEF, 0x0149}, {0xF0, 0x0138}, {0xF1, 0x00E6}, {0xF2, 0x0111}, {0xF3, 0x00F0},
            {0xF4, 0x0127}, {0xF5, 0x0131}, {0xF6, 0x0133}, {0xF7, 0x0140}, {0xF8, 0x0142}, {0xF9, 0x00F8},
            {0xFA, 0x0153}, {0xFB, 0x00DF}, {0xFC, 0x00FE}, {0xFD, 0x0167}, {0xFE, 0x014B}, {0xFF, 0x00AD},
        };
        for (const auto& pair : upper)
            map[pair[0]] = pair[1];
        for (int i = 0xC1; i <= 0xCF; ++i)
            if (IsDiacriticalMark(static_cast<uint8_t>(i)))
                map[i] = kNone;
    }
};

constexpr CDefaultTable kDefaultTable;

char16_t Compose(uint8_t mark, uint8_t base)
{
    const CIso6937Composition* begin = kIso6937Compositions;
    const CIso6937Composition* end = kIso6937Compositions + kIso6937CompositionCount;
    const auto* it = std::lower_bound(begin, end, std::make_pair(mark, base),
                                      [](const CIso6937Composition& c, const std::pair<uint8_t, uint8_t>& key) {
                                          return c.mark != key.first ? c.mark < key.first
                                                                     : static_cast<uint8_t>(c.base) < key.second;
                                      });
    return it != end && it->mark == mark && static_cast<uint8_t>(it->base) == base ? it->composed : kNone;
}

void ConvertDefault(const uint8_t* data, size_t length, std::u16string& text)
{
    uint8_t mark = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t b = data[i];
        if (b == 0x00)
            break;
        if (IsOneByteControl(b)) {
            AppendControl(b, text);
            continue;
        }
        if (IsDiacriticalMark(b)) {
            mark = b; // a lone mark at the end adds nothing
            continue;
        }
        char16_t c = mark ? Compose(mark, b) : kNone;
        if (c == kNone)
            c = kDefaultTable.map[b];
        mark = 0;
        if (c != kNone)
            text.push_back(c);
    }
}

void ConvertIso8859(unsigned part, const uint8_t* data, size_t length, std::u16string& text)
{
    const char16_t* upper = kIso8859Upper[part];
    for (size_t i = 0; i < length; ++i) {
        const uint8_t b = data[i];
        if (b == 0x00)
            break;
        if (IsOneByteControl(b)) {
            AppendControl(b, text);
            continue;
        }
        const char16_t c = b < 0xA0 ? static_cast<char16_t>(b) : upper[b - 0xA0];
        if (c != kNone)
            text.push_back(c);
    }
}

void ConvertBmp(const uint8_t* data, size_t length, std::u16string& text)
{
    for (size_t i = 0; i + 1 < length; i += 2) {
        const char16_t c = static_cast<char16_t>((data[i] << 8) | data[i + 1]);
        if (c == 0)
            break;
        if (IsControlCodePoint(c)) {
            AppendControl(c, text);
            continue;
        }
        text.push_back(c >= 0xD800 && c <= 0xDFFF ? kReplacement : c); // no surrogates in UCS-2
    }
}

void AppendCodePoint(uint32_t c, std::u16string& text)
{
    if (c < 0x10000) {
        text.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        text.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

void ConvertUtf8(const uint8_t* data, size_t length, std::u16string& text)
{
    size_t i = 0;
    while (i < length) {
        const uint8_t lead = data[i];
        if (lead == 0x00)
            break;
        uint32_t c;
        size_t extra;
        uint32_t minimum;
        if (lead < 0x80) {
            text.push_back(lead);
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            c = lead & 0x1F, extra = 1, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            c = lead & 0x0F, extra = 2, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            c = lead & 0x07, extra = 3, minimum = 0x10000;
        } else {
            text.push_back(kReplacement);
            ++i;
            continue;
        }
        size_t taken = 1;
        while (taken <= extra && i + taken < length && (data[i + taken] & 0xC0) == 0x80) {
            c = (c << 6) | (data[i + taken] & 0x3F);
            ++taken;
        }
        i += taken;
        if (taken <= extra || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            text.push_back(kReplacement); // truncated, overlong or not a scalar value
            continue;
        }
        if (IsControlCodePoint(c))
            AppendControl(c, text);
        else
            AppendCodePoint(c, text);
    }
}

// With one-byte control codes, each run between them is converted on its own and the codes
// themselves are taken out (CR/LF becomes a line break).
void ConvertThroughAnsi(const uint8_t* data, size_t length, bool removeOneByteControls, std::u16string& text)
{
    std::string bytes;
    bytes.reserve(length);
    auto flush = [&] {
        if (!bytes.empty())
            text += GetAnsiConverter()(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        bytes.clear();
    };
    for (size_t i = 0; i < length && data[i] != 0x00; ++i) {
        if (removeOneByteControls && IsOneByteControl(data[i])) {
            flush();
            AppendControl(data[i], text);
        } else {
            bytes.push_back(static_cast<char>(data[i]));
        }
    }
    flush();
}

bool IsWhiteSpace(char16_t c) { return c == u' ' || (c >= 0x09 && c <= 0x0D); }

} // namespace

void TrimDVBText(std::u16string& text)
{
    size_t end = text.size();
    while (end > 0 && IsWhiteSpace(text[end - 1]))
        --end;
    size_t begin = 0;
    while (begin < end && IsWhiteSpace(text[begin]))
        ++begin;
    if (begin > 0 || end < text.size())
        text = text.substr(begin, end - begin);
}

std::u16string ConvertDVBText(const uint8_t* data, size_t length, bool trim)
{
    std::u16string text;
    if (!data || length == 0)
        return text;
    text.reserve(length);
    const uint8_t selector = data[0];
    if (selector >= 0x20 || selector == 0x00) {
        ConvertDefault(data, length, text);
    } else if (selector <= 0x0B && selector != 0x08) {
        ConvertIso8859(selector + 4u, data + 1, length - 1, text); // 0x01 = part 5 ... 0x0B = part 15
    } else if (selector == 0x10) {
        if (length < 3)
            return text;
        const unsigned part = (data[1] << 8) | data[2];
        if (part >= 1 && part <= 15 && part != 12)
            ConvertIso8859(part, data + 3, length - 3, text);
        else
            ConvertThroughAnsi(data + 3, length - 3, true, text);
    } else if (selector == 0x11) {
        ConvertBmp(data + 1, length - 1, text);
    } else if (selector == 0x15) {
        ConvertUtf8(data + 1, length - 1, text);
    } else if (selector >= 0x12 && selector <= 0x14) {
        // KS X 1001, GB 2312 and Big5 are double-byte codings whose bytes may lie in 0x80-0x9F.
        ConvertThroughAnsi(data + 1, length - 1, false, text);
    } else {
        ConvertThroughAnsi(data + 1, length - 1, true, text);
    }
    if (trim)
        TrimDVBText(text);
    return text;
}

std::u16string ReadDVBText(base::CByteReader& reader, bool trim)
{
    if (reader.Empty())
        return std::u16string();
    const size_t declared = reader.U8();
    const size_t count = std::min(declared, reader.Remaining());
    const uint8_t* bytes = reader.Take(count);
    return ConvertDVBText(bytes, count, trim);
}

std::string ReadLengthPrefixedString(base::CByteReader& reader)
{
    if (reader.Empty())
        return std::string();
    const size_t declared = reader.U8();
    const size_t count = std::min(declared, reader.Remaining());
    const uint8_t* bytes = reader.Take(count);
    return count ? std::string(reinterpret_cast<const char*>(bytes), count) : std::string();
}

} // namespace libDVB
