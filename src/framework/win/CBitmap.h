// A GDI bitmap owned by its object.
#pragma once

#include <windows.h>

class CBitmap {
public:
    CBitmap() = default;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;
    ~CBitmap() { DeleteObject(); }

    HBITMAP m_hObject = nullptr;
    operator HBITMAP() const { return m_hObject; }

    // Bitmap resource id of the application as a DIB section, so that 32-bit pixels keep their
    // alpha bytes.
    BOOL LoadDIBSection(UINT id);
    BOOL Attach(HBITMAP bitmap);
    HBITMAP Detach();
    int GetBitmap(BITMAP* info) const { return ::GetObjectW(m_hObject, sizeof(BITMAP), info); }
    BOOL DeleteObject();
};
