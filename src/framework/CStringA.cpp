#include "framework/CStringA.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

// The C locale's white space, independent of the process's locale.
bool IsSpace(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

} // namespace

CStringA::CStringA(const char* text) : m_text(text ? text : "") {}

CStringA::CStringA(const char* text, int length)
{
    if (text && length > 0)
        m_text.assign(text, static_cast<size_t>(length));
}

CStringA& CStringA::operator+=(const CStringA& text)
{
    m_text += text.m_text;
    return *this;
}

CStringA& CStringA::operator+=(const char* text)
{
    if (text)
        m_text += std::string(text); // text may point into m_text itself
    return *this;
}

CStringA& CStringA::operator+=(char ch)
{
    m_text += ch;
    return *this;
}

int CStringA::Compare(const char* text) const { return m_text.compare(text ? text : ""); }

void CStringA::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CStringA::FormatV(const char* format, va_list args)
{
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) {
        m_text.clear();
        return;
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    m_text.swap(text);
}

CStringA CStringA::Left(int count) const { return Mid(0, count); }

CStringA CStringA::Mid(int first) const { return Mid(first, GetLength()); }

CStringA CStringA::Mid(int first, int count) const
{
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CStringA(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

int CStringA::Find(char ch, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    const size_t at = m_text.find(ch, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

CStringA CStringA::Tokenize(const char* delimiters, int& start) const
{
    if (start < 0 || start >= GetLength() || !delimiters) {
        start = -1;
        return CStringA();
    }
    const size_t first = m_text.find_first_not_of(delimiters, static_cast<size_t>(start));
    if (first == std::string::npos) {
        start = -1;
        return CStringA();
    }
    size_t end = m_text.find_first_of(delimiters, first);
    if (end == std::string::npos)
        end = m_text.size();
    start = static_cast<int>(end < m_text.size() ? end + 1 : end);
    return CStringA(m_text.substr(first, end - first));
}

CStringA& CStringA::Trim() { return TrimRight().TrimLeft(); }

CStringA& CStringA::TrimLeft()
{
    size_t first = 0;
    while (first < m_text.size() && IsSpace(m_text[first]))
        ++first;
    m_text.erase(0, first);
    return *this;
}

CStringA& CStringA::TrimRight()
{
    size_t end = m_text.size();
    while (end > 0 && IsSpace(m_text[end - 1]))
        --end;
    m_text.resize(end);
    return *this;
}

CStringA operator+(const CStringA& a, const CStringA& b)
{
    CStringA result(a);
    result += b;
    return result;
}

CStringA operator+(const CStringA& a, const char* b)
{
    CStringA result(a);
    result += b;
    return result;
}

CStringA operator+(const char* a, const CStringA& b)
{
    CStringA result(a);
    result += b;
    return result;
}

bool operator==(const CStringA& a, const CStringA& b) { return a.Str() == b.Str(); }
bool operator==(const CStringA& a, const char* b) { return a.Compare(b) == 0; }
bool operator!=(const CStringA& a, const CStringA& b) { return !(a == b); }
bool operator!=(const CStringA& a, const char* b) { return !(a == b); }
