#include "framework/win/CImage.h"

#include <gdiplus.h>

#include <cstring>
#include <mutex>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// GDI+ is started once for the process and left running: shutting it down while another thread
// decodes would pull the library from under it.
bool StartGdiplus()
{
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        GdiplusStartupInput input;
        ULONG_PTR token = 0;
        started = GdiplusStartup(&token, &input, nullptr) == Ok;
    });
    return started;
}

} // namespace

HRESULT CImage::Load(const wchar_t* path)
{
    Destroy();
    if (!path || !StartGdiplus())
        return E_FAIL;
    GpBitmap* source = nullptr;
    if (GdipCreateBitmapFromFile(path, &source) != Ok || !source)
        return E_FAIL;
    UINT width = 0, height = 0;
    PixelFormat format = 0;
    GdipGetImageWidth(source, &width);
    GdipGetImageHeight(source, &height);
    GdipGetImagePixelFormat(source, &format);
    HRESULT hr = E_FAIL;
    if (width > 0 && height > 0 && width <= 16384 && height <= 16384) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = static_cast<LONG>(width);
        info.bmiHeader.biHeight = -static_cast<LONG>(height); // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
        BitmapData data{};
        // Non-premultiplied ARGB: the file's alpha stays as it is.
        if (bitmap && GdipBitmapLockBits(source, &rect, ImageLockModeRead, PixelFormat32bppARGB, &data) == Ok) {
            for (UINT y = 0; y < height; ++y)
                std::memcpy(static_cast<BYTE*>(bits) + static_cast<size_t>(y) * width * 4,
                            static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride, width * 4);
            GdipBitmapUnlockBits(source, &data);
            m_bitmap = bitmap;
            m_bits = static_cast<BYTE*>(bits);
            m_width = static_cast<int>(width);
            m_height = static_cast<int>(height);
            m_bpp = (format & PixelFormatAlpha) ? 32 : static_cast<int>((format >> 8) & 0xFF);
            hr = S_OK;
        } else if (bitmap) {
            DeleteObject(bitmap);
        }
    }
    GdipDisposeImage(source);
    return hr;
}

void CImage::Destroy()
{
    if (m_bitmap)
        DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_bits = nullptr;
    m_width = m_height = m_bpp = 0;
}

BOOL CImage::Draw(HDC dc, int x, int y) const
{
    if (!m_bitmap || !dc)
        return FALSE;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, m_bitmap);
    const BOOL ok = BitBlt(dc, x, y, m_width, m_height, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    return ok;
}
