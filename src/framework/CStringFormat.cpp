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

struct Directive {
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
void Emit(std::wstring& out, const Directive& directive, const std::wstring& prefix, const std::wstring& body,
          bool zeroPadAllowed)
{
    size_t length = prefix.size() + body.size();
    size_t fill = directive.width > 0 && static_cast<size_t>(directive.width) > length ? directive.width - length : 0;
    if (directive.left) {
        out += prefix;
        out += body;
        Pad(out, fill, L' ');
    } else if (directive.zero && zeroPadAllowed) {
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

void FormatInteger(std::wstring& out, const Directive& directive, va_list& args)
{
    bool isSigned = directive.conversion == L'd' || directive.conversion == L'i';
    uint64_t magnitude = 0;
    bool negative = false;
    if (isSigned) {
        int64_t value;
        switch (directive.length) {
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
        switch (directive.length) {
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
    if (directive.conversion == L'x' || directive.conversion == L'X')
        base = 16;
    else if (directive.conversion == L'o')
        base = 8;
    std::wstring body = Digits(magnitude, base, directive.conversion == L'X');
    // A precision is the minimum number of digits; precision 0 prints nothing for 0.
    if (directive.precision == 0 && magnitude == 0)
        body.clear();
    if (directive.precision > 0 && body.size() < static_cast<size_t>(directive.precision))
        body.insert(0, directive.precision - body.size(), L'0');
    std::wstring prefix;
    if (isSigned) {
        if (negative)
            prefix = L"-";
        else if (directive.plus)
            prefix = L"+";
        else if (directive.space)
            prefix = L" ";
    } else if (directive.alternate && magnitude != 0) {
        if (base == 16)
            prefix = directive.conversion == L'X' ? L"0X" : L"0x";
        else if (base == 8 && body[0] != L'0')
            body.insert(body.begin(), L'0');
    }
    Emit(out, directive, prefix, body, directive.precision < 0);
}

void FormatFloat(std::wstring& out, const Directive& directive, va_list& args)
{
    // The digits of a floating-point number are ASCII: the C library's narrow formatting
    // gives them, with the flags, width and precision passed on unchanged.
    std::string format = "%";
    if (directive.left) format += '-';
    if (directive.plus) format += '+';
    if (directive.space) format += ' ';
    if (directive.alternate) format += '#';
    if (directive.zero) format += '0';
    if (directive.width > 0) format += std::to_string(directive.width);
    if (directive.precision >= 0) format += "." + std::to_string(directive.precision);
    int needed;
    std::string text;
    if (directive.length == LengthKind::LongDouble) {
        format += 'L';
        format += static_cast<char>(directive.conversion);
        long double value = va_arg(args, long double);
        needed = std::snprintf(nullptr, 0, format.c_str(), value);
        if (needed > 0) {
            text.resize(static_cast<size_t>(needed) + 1);
            std::snprintf(&text[0], text.size(), format.c_str(), value);
        }
    } else {
        format += static_cast<char>(directive.conversion);
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

void FormatString(std::wstring& out, const Directive& directive, bool narrow, va_list& args)
{
    std::wstring body;
    if (narrow) {
        const char* text = va_arg(args, const char*);
        if (!text)
            text = "(null)";
        // Narrow arguments are taken byte by byte as Latin-1, as the C locale does.
        for (size_t i = 0; text[i] && (directive.precision < 0 || i < static_cast<size_t>(directive.precision)); ++i)
            body += static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    } else {
        const wchar_t* text = va_arg(args, const wchar_t*);
        if (!text)
            text = L"(null)";
        for (size_t i = 0; text[i] && (directive.precision < 0 || i < static_cast<size_t>(directive.precision)); ++i)
            body += text[i];
    }
    Emit(out, directive, std::wstring(), body, false);
}

void FormatChar(std::wstring& out, const Directive& directive, bool narrow, va_list& args)
{
    int value = va_arg(args, int);
    wchar_t ch = narrow ? static_cast<wchar_t>(static_cast<unsigned char>(value)) : static_cast<wchar_t>(value);
    Emit(out, directive, std::wstring(), std::wstring(1, ch), false);
}

void FormatPointer(std::wstring& out, const Directive& directive, va_list& args)
{
    // As Windows prints it: all hexadecimal digits of the pointer, upper case.
    uintptr_t value = reinterpret_cast<uintptr_t>(va_arg(args, void*));
    std::wstring body = Digits(value, 16, true);
    body.insert(0, sizeof(void*) * 2 - body.size(), L'0');
    Emit(out, directive, std::wstring(), body, false);
}

// Reads flags, width, precision and length after a '%'; returns the position after the
// conversion letter, or nullptr when the directive is incomplete.
const wchar_t* ParseDirective(const wchar_t* p, Directive& directive, va_list& args)
{
    for (;; ++p) {
        if (*p == L'-') directive.left = true;
        else if (*p == L'+') directive.plus = true;
        else if (*p == L' ') directive.space = true;
        else if (*p == L'#') directive.alternate = true;
        else if (*p == L'0') directive.zero = true;
        else break;
    }
    if (*p == L'*') {
        directive.width = va_arg(args, int);
        if (directive.width < 0) {
            directive.left = true;
            directive.width = directive.width == INT32_MIN ? 0 : -directive.width;
        }
        ++p;
    } else {
        for (; *p >= L'0' && *p <= L'9'; ++p)
            directive.width = directive.width > 100000 ? directive.width : directive.width * 10 + (*p - L'0');
    }
    if (*p == L'.') {
        ++p;
        directive.precision = 0;
        if (*p == L'*') {
            directive.precision = va_arg(args, int);
            if (directive.precision < 0)
                directive.precision = -1;
            ++p;
        } else {
            for (; *p >= L'0' && *p <= L'9'; ++p)
                directive.precision = directive.precision > 100000 ? directive.precision : directive.precision * 10 + (*p - L'0');
        }
    }
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') { directive.length = LengthKind::Int64; p += 3; }
    else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') { directive.length = LengthKind::Default; p += 3; }
    else if (p[0] == L'I') { directive.length = LengthKind::Size; p += 1; }
    else if (p[0] == L'h' && p[1] == L'h') { directive.length = LengthKind::Char; p += 2; }
    else if (p[0] == L'h') { directive.length = LengthKind::Short; p += 1; }
    else if (p[0] == L'l' && p[1] == L'l') { directive.length = LengthKind::LongLong; p += 2; }
    else if (p[0] == L'l') { directive.length = LengthKind::Long; p += 1; }
    else if (p[0] == L'w') { directive.length = LengthKind::Wide; p += 1; }
    else if (p[0] == L'L') { directive.length = LengthKind::LongDouble; p += 1; }
    else if (p[0] == L'z') { directive.length = LengthKind::Size; p += 1; }
    else if (p[0] == L'j') { directive.length = LengthKind::IntMax; p += 1; }
    else if (p[0] == L't') { directive.length = LengthKind::PtrDiff; p += 1; }
    if (*p == 0)
        return nullptr;
    directive.conversion = *p;
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
        Directive directive;
        const wchar_t* next = ParseDirective(p, directive, args);
        if (!next) { // an incomplete directive at the end is kept as text
            out.append(start);
            break;
        }
        p = next;
        bool shortPrefix = directive.length == LengthKind::Short;
        switch (directive.conversion) {
        case L'd': case L'i': case L'u': case L'o': case L'x': case L'X':
            FormatInteger(out, directive, args);
            break;
        case L'f': case L'F': case L'e': case L'E': case L'g': case L'G': case L'a': case L'A':
            FormatFloat(out, directive, args);
            break;
        case L's': FormatString(out, directive, shortPrefix, args); break;
        case L'S': FormatString(out, directive, directive.length != LengthKind::Long && directive.length != LengthKind::Wide, args); break;
        case L'c': FormatChar(out, directive, shortPrefix, args); break;
        case L'C': FormatChar(out, directive, directive.length != LengthKind::Long && directive.length != LengthKind::Wide, args); break;
        case L'p': FormatPointer(out, directive, args); break;
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
