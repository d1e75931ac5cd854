// An image decoded from a file (PNG, BMP, JPEG, GIF through GDI+) into a top-down 32-bit DIB
// section. Pixels keep straight alpha: a file with an alpha channel keeps it as stored, others get
// alpha 0xFF.
#pragma once

#include <windows.h>

class CImage {
public:
    CImage() = default;
    ~CImage() { Destroy(); }
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    HRESULT Load(const wchar_t* path);
    void Destroy();
    bool IsNull() const { return m_bitmap == nullptr; }

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // 32 for images with an alpha channel, the source depth otherwise.
    int GetBPP() const { return m_bpp; }
    // Row y of the 32-bit pixels (B, G, R, A in memory).
    const BYTE* GetRow(int y) const { return m_bits + static_cast<size_t>(y) * m_width * 4; }
    HBITMAP GetBitmap() const { return m_bitmap; }
    // Copies the pixels into a device context at (x, y), alpha included.
    BOOL Draw(HDC dc, int x, int y) const;

private:
    HBITMAP m_bitmap = nullptr;
    BYTE* m_bits = nullptr;
    int m_width = 0, m_height = 0, m_bpp = 0;
};
