// A UTF-16 text value (wchar_t) for the programs' user-interface code. The core is
// platform-neutral; loading from string tables exists only in the Windows build.
#pragma once

#include <cstdarg>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

class CString {
public:
    CString() = default;
    CString(const wchar_t* text);
    CString(const wchar_t* text, int length);
    explicit CString(wchar_t ch, int repeat = 1);
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const wchar_t* text);
    CString& operator=(wchar_t ch);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    // Reading outside 0 .. GetLength() - 1 is a caller's fault: it aborts rather than
    // reading memory that is not the string's.
    wchar_t GetAt(int index) const;
    wchar_t operator[](int index) const { return GetAt(index); }
    void SetAt(int index, wchar_t ch);

    operator const wchar_t*() const { return m_text.c_str(); }
    const wchar_t* GetString() const { return m_text.c_str(); }

    CString& operator+=(const CString& text);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t ch);

    // Ordinal comparison by code unit: < 0, 0 or > 0.
    int Compare(const wchar_t* text) const;

    // printf-style formatting with the wide meaning of %s and %c (%hs, %S and %hc, %C take
    // narrow arguments); integer lengths h, l, ll, I32, I64, I, z, j, t.
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);

    // Counts and positions outside the string are clamped to it.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    // Index of the first match at or after start, -1 when there is none.
    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;

    // Number of replacements made; an empty search text replaces nothing.
    int Replace(wchar_t oldChar, wchar_t newChar);
    int Replace(const wchar_t* oldText, const wchar_t* newText);

    // White space (iswspace) removed at both ends, the start or the end.
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();

    CString& MakeUpper();
    CString& MakeLower();

    // A writable buffer of at least minLength characters plus a terminator. ReleaseBuffer
    // takes the new length, or -1 for the length up to the first NUL within the buffer.
    wchar_t* GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);

#ifdef _WIN32
    // The string from the string table of module, in the given language; 0 is the resource
    // loader's default order. FALSE (and an empty string) when it does not exist.
    BOOL LoadString(HINSTANCE module, UINT id, WORD language);
    BOOL LoadString(UINT id);
#endif

private:
    std::wstring m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const wchar_t* b);
CString operator+(const wchar_t* a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const wchar_t* b);
bool operator==(const wchar_t* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const wchar_t* b);
bool operator!=(const wchar_t* a, const CString& b);
bool operator<(const CString& a, const CString& b);
