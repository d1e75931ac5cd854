// A device context: either attached (not owned, as one that WM_DRAWITEM hands over) or made
// here as a memory context (owned, deleted with the object).
#pragma once

#include <windows.h>

#include "framework/CString.h"
#include "framework/win/CSize.h"

class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    ~CDC();

    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }

    BOOL Attach(HDC dc);
    HDC Detach();
    // A memory context compatible with dc (null: with the screen), owned by this object.
    BOOL CreateCompatibleDC(CDC* dc);

    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
    void FillSolidRect(const RECT& rect, COLORREF color);
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    BOOL TextOut(int x, int y, const CString& text)
    {
        return ::TextOutW(m_hDC, x, y, text, text.GetLength());
    }
    CSize GetTextExtent(const CString& text) const;
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sourceX, sourceY, rop);
    }

private:
    bool m_owned = false;
};
