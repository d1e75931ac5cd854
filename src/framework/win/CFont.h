// A GDI font owned by its object.
#pragma once

#include <windows.h>

class CFont {
public:
    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    ~CFont() { DeleteObject(); }

    HFONT m_hObject = nullptr;
    operator HFONT() const { return m_hObject; }

    // FALSE when the object holds a font already or the platform refused.
    BOOL CreateFontIndirect(const LOGFONTW* font)
    {
        if (m_hObject)
            return FALSE;
        m_hObject = ::CreateFontIndirectW(font);
        return m_hObject != nullptr;
    }
    // A font of height logical units (negative: character height) and the given face; the
    // other fields of LOGFONT as named.
    BOOL CreateFont(int height, int weight, BYTE charSet, BYTE quality, BYTE pitchAndFamily, LPCWSTR face);
    BOOL DeleteObject()
    {
        if (!m_hObject)
            return FALSE;
        ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return TRUE;
    }
};
