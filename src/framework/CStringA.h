// An 8-bit text value in the system's ANSI code page, for programs that speak byte protocols
// (HTTP queries, hashes) and the ANSI entry points of the platform. Platform-neutral.
#pragma once

#include <cstdarg>
#include <string>

class CStringA {
public:
    CStringA() = default;
    CStringA(const char* text);
    CStringA(const char* text, int length);
    CStringA(const std::string& text) : m_text(text) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    operator const char*() const { return m_text.c_str(); }
    const char* GetString() const { return m_text.c_str(); }
    const std::string& Str() const { return m_text; }

    CStringA& operator+=(const CStringA& text);
    CStringA& operator+=(const char* text);
    CStringA& operator+=(char ch);

    // Byte-wise comparison: < 0, 0 or > 0.
    int Compare(const char* text) const;

    // printf-style formatting of the C library.
    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);

    // Counts and positions outside the string are clamped to it.
    CStringA Left(int count) const;
    CStringA Mid(int first) const;
    CStringA Mid(int first, int count) const;
    int Find(char ch, int start = 0) const;

    // The next token at or after start, delimited by any of the bytes of delimiters. Runs of
    // delimiters count as one, so empty fields are skipped. start moves past the token; when no
    // token is left the result is empty and start becomes -1.
    CStringA Tokenize(const char* delimiters, int& start) const;

    // White space (space, tab, CR, LF, VT, FF) removed at both ends, the start or the end.
    CStringA& Trim();
    CStringA& TrimLeft();
    CStringA& TrimRight();

private:
    std::string m_text;
};

CStringA operator+(const CStringA& a, const CStringA& b);
CStringA operator+(const CStringA& a, const char* b);
CStringA operator+(const char* a, const CStringA& b);
bool operator==(const CStringA& a, const CStringA& b);
bool operator==(const CStringA& a, const char* b);
bool operator!=(const CStringA& a, const CStringA& b);
bool operator!=(const CStringA& a, const char* b);
