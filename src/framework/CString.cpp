#include "framework/CString.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

namespace {

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

size_t Length(const wchar_t* text) { return text ? std::wcslen(text) : 0; }

} // namespace

CString::CString(const wchar_t* text) : m_text(text ? text : L"") {}

CString::CString(const wchar_t* text, int length)
{
    if (text && length > 0)
        m_text.assign(text, static_cast<size_t>(length));
}

CString::CString(wchar_t ch, int repeat)
{
    if (repeat > 0)
        m_text.assign(static_cast<size_t>(repeat), ch);
}

CString& CString::operator=(const wchar_t* text)
{
    if (text)
        m_text = std::wstring(text); // text may point into m_text itself
    else
        m_text.clear();
    return *this;
}

CString& CString::operator=(wchar_t ch)
{
    m_text.assign(1, ch);
    return *this;
}

wchar_t CString::GetAt(int index) const
{
    if (index < 0 || index >= GetLength())
        std::abort();
    return m_text[static_cast<size_t>(index)];
}

void CString::SetAt(int index, wchar_t ch)
{
    if (index < 0 || index >= GetLength())
        std::abort();
    m_text[static_cast<size_t>(index)] = ch;
}

CString& CString::operator+=(const CString& text)
{
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(const wchar_t* text)
{
    if (text)
        m_text += std::wstring(text);
    return *this;
}

CString& CString::operator+=(wchar_t ch)
{
    m_text += ch;
    return *this;
}

int CString::Compare(const wchar_t* text) const
{
    int result = m_text.compare(text ? text : L"");
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

CString CString::Left(int count) const
{
    return CString(m_text.c_str(), Clamp(count, 0, GetLength()));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(m_text.c_str() + first, count);
}

CString CString::Right(int count) const
{
    count = Clamp(count, 0, GetLength());
    return CString(m_text.c_str() + (GetLength() - count), count);
}

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    size_t at = m_text.find(ch, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength())
        return -1;
    size_t at = m_text.find(sub, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t at = m_text.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(wchar_t oldChar, wchar_t newChar)
{
    int count = 0;
    for (wchar_t& ch : m_text) {
        if (ch == oldChar) {
            ch = newChar;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText)
{
    size_t oldLength = Length(oldText);
    if (oldLength == 0)
        return 0;
    const std::wstring search(oldText);
    const std::wstring replacement(newText ? newText : L"");
    std::wstring result;
    int count = 0;
    size_t from = 0;
    for (size_t at; (at = m_text.find(search, from)) != std::wstring::npos; from = at + oldLength) {
        result.append(m_text, from, at - from);
        result += replacement;
        ++count;
    }
    if (count) {
        result.append(m_text, from, std::wstring::npos);
        m_text.swap(result);
    }
    return count;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft()
{
    size_t first = 0;
    while (first < m_text.size() && std::iswspace(static_cast<wint_t>(m_text[first])))
        ++first;
    m_text.erase(0, first);
    return *this;
}

CString& CString::TrimRight()
{
    size_t end = m_text.size();
    while (end > 0 && std::iswspace(static_cast<wint_t>(m_text[end - 1])))
        --end;
    m_text.resize(end);
    return *this;
}

CString& CString::MakeUpper()
{
    for (wchar_t& ch : m_text)
        ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    return *this;
}

CString& CString::MakeLower()
{
    for (wchar_t& ch : m_text)
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    return *this;
}

wchar_t* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_text.resize(static_cast<size_t>(minLength));
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength)
{
    // The caller wrote into the buffer: its length is found again, never beyond what it holds.
    size_t length = newLength < 0 ? std::wcslen(m_text.c_str())
                                  : std::min(static_cast<size_t>(newLength), m_text.size());
    m_text.resize(std::min(length, m_text.size()));
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, const wchar_t* b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const wchar_t* a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, wchar_t b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(wchar_t a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
