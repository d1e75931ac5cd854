#include "framework/win/CBitmap.h"

#include "framework/win/CWinApp.h"

BOOL CBitmap::LoadDIBSection(UINT id)
{
    if (m_hObject)
        return FALSE;
    m_hObject = static_cast<HBITMAP>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return m_hObject != nullptr;
}

BOOL CBitmap::Attach(HBITMAP bitmap)
{
    if (m_hObject || !bitmap)
        return FALSE;
    m_hObject = bitmap;
    return TRUE;
}

HBITMAP CBitmap::Detach()
{
    HBITMAP bitmap = m_hObject;
    m_hObject = nullptr;
    return bitmap;
}

BOOL CBitmap::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return TRUE;
}
