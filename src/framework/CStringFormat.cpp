// CString::Format: a formatter of our own, because the C runtimes disagree on %s in wide
// formats (mingw-w64's swprintf reads it as a narrow string) and the programs' formats follow
// the Windows meaning: %s and %c wide, %hs/%S and %hc/%C narrow, I64/I32/I length prefixes.
#include "framework/CString.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

enum class LengthKind { Default, Char, Short, Long, LongLong, Int32, Int64, Size, IntMax, PtrDiff, LongDouble, Wide };

struct Spec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1; // -1: none given
    LengthKind length = LengthKind::Default;
    wchar_t conversion = 0;
};

void Pad(std::wstring& out, size_t count, wchar_t ch) { out.append(count, ch); }

// Places body (and an optional sign or prefix before it) into the field width.
void Emit(std::wstring& out, const Spec& spec, const std::wstring& prefix, const std::wstring& body,
          bool zeroPadAllowed)
{
    size_t length = prefix.size() + body.size();
    size_t fill = spec.width > 0 && static_cast<size_t>(spec.width) > length ? spec.width - length : 0;
    if (spec.left) {
        out += prefix;
        out += body;
        Pad(out, fill, L' ');
    } else if (spec.zero && zeroPadAllowed) {
        out += prefix;
        Pad(out, fill, L'0');
        out += body;
    } else {
        Pad(out, fill, L' ');
        out += prefix;
        out += body;
    }
}

std::wstring Digits(uint64_t value, unsigned base, bool upper)
{
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::wstring text;
    do {
        text.insert(text.begin(), static_cast<wchar_t>(digits[value % base]));
        value /= base;
    } while (value);
    return text;
}

void FormatInteger(std::wstring& out, const Spec& spec, va_list& args)
{
    bool isSigned = spec.conversion == L'd' || spec.conversion == L'i';
    uint64_t magnitude = 0;
    bool negative = false;
    if (isSigned) {
        int64_t value;
        switch (spec.length) {
        case LengthKind::Char: value = static_cast<signed char>(va_arg(args, int)); break;
        case LengthKind::Short: value = static_cast<short>(va_arg(args, int)); break;
        case LengthKind::Long: value = va_arg(args, long); break;
        case LengthKind::LongLong:
        case LengthKind::Int64: value = va_arg(args, long long); break;
        case LengthKind::Size:
        case LengthKind::PtrDiff: value = va_arg(args, ptrdiff_t); break;
        case LengthKind::IntMax: value = va_arg(args, intmax_t); break;
        default: value = va_arg(args, int); break;
        }
        negative = value < 0;
        magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    } else {
        switch (spec.length) {
        case LengthKind::Char: magnitude = static_cast<unsigned char>(va_arg(args, unsigned)); break;
        case LengthKind::Short: magnitude = static_cast<unsigned short>(va_arg(args, unsigned)); break;
        case LengthKind::Long: magnitude = va_arg(args, unsigned long); break;
        case LengthKind::LongLong:
        case LengthKind::Int64: magnitude = va_arg(args, unsigned long long); break;
        case LengthKind::Size:
        case LengthKind::PtrDiff: magnitude = va_arg(args, size_t); break;
        case LengthKind::IntMax: magnitude = va_arg(args, uintmax_t); break;
        default: magnitude = va_arg(args, unsigned); break;
        }
    }
    unsigned base = 10;
    if (spec.conversion == L'x' || spec.conversion == L'X')
        base = 16;
    else if (spec.conversion == L'o')
        base = 8;
    std::wstring body = Digits(magnitude, base, spec.conversion == L'X');
    // A precision is the minimum number of digits; precision 0 prints nothing for 0.
    if (spec.precision == 0 && magnitude == 0)
        body.clear();
    if (spec.precision > 0 && body.size() < static_cast<size_t>(spec.precision))
        body.insert(0, spec.precision - body.size(), L'0');
    std::wstring prefix;
    if (isSigned) {
        if (negative)
            prefix = L"-";
        else if (spec.plus)
            prefix = L"+";
        else if (spec.space)
            prefix = L" ";
    } else if (spec.alternate && magnitude != 0) {
        if (base == 16)
            prefix = spec.conversion == L'X' ? L"0X" : L"0x";
        else if (base == 8 && body[0] != L'0')
            body.insert(body.begin(), L'0');
    }
    Emit(out, spec, prefix, body, spec.precision < 0);
}

void FormatFloat(std::wstring& out, const Spec& spec, va_list& args)
{
    // The digits of a floating-point number are ASCII: the C library's narrow formatting
    // gives them, with the flags, width and precision passed on unchanged.
    std::string format = "%";
    if (spec.left) format += '-';
    if (spec.plus) format += '+';
    if (spec.space) format += ' ';
    if (spec.alternate) format += '#';
    if (spec.zero) format += '0';
    if (spec.width > 0) format += std::to_string(spec.width);
    if (spec.precision >= 0) format += "." + std::to_string(spec.precision);
    int needed;
    std::string text;
    if (spec.length == LengthKind::LongDouble) {
        format += 'L';
        format += static_cast<char>(spec.conversion);
        long double value = va_arg(args, long double);
        needed = std::snprintf(nullptr, 0, format.c_str(), value);
        if (needed > 0) {
            text.resize(static_cast<size_t>(needed) + 1);
            std::snprintf(&text[0], text.size(), format.c_str(), value);
        }
    } else {
        format += static_cast<char>(spec.conversion);
        double value = va_arg(args, double);
        needed = std::snprintf(nullptr, 0, format.c_str(), value);
        if (needed > 0) {
            text.resize(static_cast<size_t>(needed) + 1);
            std::snprintf(&text[0], text.size(), format.c_str(), value);
        }
    }
    if (needed > 0)
        out.append(text.begin(), text.begin() + needed);
}

void FormatString(std::wstring& out, const Spec& spec, bool narrow, va_list& args)
{
    std::wstring body;
    if (narrow) {
        const char* text = va_arg(args, const char*);
        if (!text)
            text = "(null)";
        // Narrow arguments are taken byte by byte as Latin-1, as the C locale does.
        for (size_t i = 0; text[i] && (spec.precision < 0 || i < static_cast<size_t>(spec.precision)); ++i)
            body += static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    } else {
        const wchar_t* text = va_arg(args, const wchar_t*);
        if (!text)
            text = L"(null)";
        for (size_t i = 0; text[i] && (spec.precision < 0 || i < static_cast<size_t>(spec.precision)); ++i)
            body += text[i];
    }
    Emit(out, spec, std::wstring(), body, false);
}

void FormatChar(std::wstring& out, const Spec& spec, bool narrow, va_list& args)
{
    int value = va_arg(args, int);
    wchar_t ch = narrow ? static_cast<wchar_t>(static_cast<unsigned char>(value)) : static_cast<wchar_t>(value);
    Emit(out, spec, std::wstring(), std::wstring(1, ch), false);
}

void FormatPointer(std::wstring& out, const Spec& spec, va_list& args)
{
    // As Windows prints it: all hexadecimal digits of the pointer, upper case.
    uintptr_t value = reinterpret_cast<uintptr_t>(va_arg(args, void*));
    std::wstring body = Digits(value, 16, true);
    body.insert(0, sizeof(void*) * 2 - body.size(), L'0');
    Emit(out, spec, std::wstring(), body, false);
}

// Reads flags, width, precision and length after a '%'; returns the position after the
// conversion letter, or nullptr when the directive is incomplete.
const wchar_t* ParseSpec(const wchar_t* p, Spec& spec, va_list& args)
{
    for (;; ++p) {
        if (*p == L'-') spec.left = true;
        else if (*p == L'+') spec.plus = true;
        else if (*p == L' ') spec.space = true;
        else if (*p == L'#') spec.alternate = true;
        else if (*p == L'0') spec.zero = true;
        else break;
    }
    if (*p == L'*') {
        spec.width = va_arg(args, int);
        if (spec.width < 0) {
            spec.left = true;
            spec.width = spec.width == INT32_MIN ? 0 : -spec.width;
        }
        ++p;
    } else {
        for (; *p >= L'0' && *p <= L'9'; ++p)
            spec.width = spec.width > 100000 ? spec.width : spec.width * 10 + (*p - L'0');
    }
    if (*p == L'.') {
        ++p;
        spec.precision = 0;
        if (*p == L'*') {
            spec.precision = va_arg(args, int);
            if (spec.precision < 0)
                spec.precision = -1;
            ++p;
        } else {
            for (; *p >= L'0' && *p <= L'9'; ++p)
                spec.precision = spec.precision > 100000 ? spec.precision : spec.precision * 10 + (*p - L'0');
        }
    }
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') { spec.length = LengthKind::Int64; p += 3; }
    else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') { spec.length = LengthKind::Default; p += 3; }
    else if (p[0] == L'I') { spec.length = LengthKind::Size; p += 1; }
    else if (p[0] == L'h' && p[1] == L'h') { spec.length = LengthKind::Char; p += 2; }
    else if (p[0] == L'h') { spec.length = LengthKind::Short; p += 1; }
    else if (p[0] == L'l' && p[1] == L'l') { spec.length = LengthKind::LongLong; p += 2; }
    else if (p[0] == L'l') { spec.length = LengthKind::Long; p += 1; }
    else if (p[0] == L'w') { spec.length = LengthKind::Wide; p += 1; }
    else if (p[0] == L'L') { spec.length = LengthKind::LongDouble; p += 1; }
    else if (p[0] == L'z') { spec.length = LengthKind::Size; p += 1; }
    else if (p[0] == L'j') { spec.length = LengthKind::IntMax; p += 1; }
    else if (p[0] == L't') { spec.length = LengthKind::PtrDiff; p += 1; }
    if (*p == 0)
        return nullptr;
    spec.conversion = *p;
    return p + 1;
}

} // namespace

void CString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list argList)
{
    va_list args;
    va_copy(args, argList);
    std::wstring out;
    const wchar_t* p = format ? format : L"";
    while (*p) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        const wchar_t* start = p++;
        if (*p == L'%') {
            out += L'%';
            ++p;
            continue;
        }
        Spec spec;
        const wchar_t* next = ParseSpec(p, spec, args);
        if (!next) { // an incomplete directive at the end is kept as text
            out.append(start);
            break;
        }
        p = next;
        bool shortPrefix = spec.length == LengthKind::Short;
        switch (spec.conversion) {
        case L'd': case L'i': case L'u': case L'o': case L'x': case L'X':
            FormatInteger(out, spec, args);
            break;
        case L'f': case L'F': case L'e': case L'E': case L'g': case L'G': case L'a': case L'A':
            FormatFloat(out, spec, args);
            break;
        case L's': FormatString(out, spec, shortPrefix, args); break;
        case L'S': FormatString(out, spec, spec.length != LengthKind::Long && spec.length != LengthKind::Wide, args); break;
        case L'c': FormatChar(out, spec, shortPrefix, args); break;
        case L'C': FormatChar(out, spec, spec.length != LengthKind::Long && spec.length != LengthKind::Wide, args); break;
        case L'p': FormatPointer(out, spec, args); break;
        default:
            // %n and unknown conversions write nothing and consume no argument: the
            // directive stays visible in the text.
            out.append(start, p);
            break;
        }
    }
    va_end(args);
    m_text.swap(out);
}
