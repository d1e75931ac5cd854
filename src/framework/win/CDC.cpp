#include "framework/win/CDC.h"

CDC::~CDC()
{
    if (m_owned && m_hDC)
        ::DeleteDC(m_hDC);
}

BOOL CDC::Attach(HDC dc)
{
    if (m_hDC || !dc)
        return FALSE;
    m_hDC = dc;
    m_owned = false;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    m_hDC = nullptr;
    m_owned = false;
    return dc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (m_hDC)
        return FALSE;
    m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    m_owned = m_hDC != nullptr;
    return m_owned;
}

void CDC::FillSolidRect(const RECT& rect, COLORREF color)
{
    // The opaque background of an empty text is the cheapest solid fill.
    COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

CSize CDC::GetTextExtent(const CString& text) const
{
    SIZE size = {};
    ::GetTextExtentPoint32W(m_hDC, text, text.GetLength(), &size);
    return CSize(size);
}
