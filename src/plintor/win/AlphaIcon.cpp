#include "plintor/win/AlphaIcon.h"

#include "plintor/IconCompositing.h"

namespace {

// A top-down 32-bit DIB section of width x height and its pixels.
HBITMAP MakeSection(HDC dc, int width, int height, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

} // namespace

void DrawPageIcon(HDC target, int x, int y, HBITMAP icon)
{
    BITMAP info = {};
    if (!icon || !::GetObjectW(icon, sizeof(info), &info))
        return;
    const int width = info.bmWidth;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    HDC source = ::CreateCompatibleDC(target);
    if (!source)
        return;
    if (info.bmBitsPixel != 32) {
        HGDIOBJ old = ::SelectObject(source, icon);
        ::BitBlt(target, x, y, width, height, source, 0, 0, SRCCOPY);
        ::SelectObject(source, old);
        ::DeleteDC(source);
        return;
    }
    void* iconBits = nullptr;
    void* rowBits = nullptr;
    HBITMAP iconCopy = MakeSection(target, width, height, &iconBits);
    HBITMAP rowCopy = MakeSection(target, width, height, &rowBits);
    HDC work = ::CreateCompatibleDC(target);
    if (iconCopy && rowCopy && work) {
        HGDIOBJ oldSource = ::SelectObject(source, icon);
        HGDIOBJ oldWork = ::SelectObject(work, iconCopy);
        ::BitBlt(work, 0, 0, width, height, source, 0, 0, SRCCOPY);
        ::SelectObject(work, rowCopy);
        ::BitBlt(work, 0, 0, width, height, target, x, y, SRCCOPY);
        ::GdiFlush();
        plintor::CompositeIconOver(static_cast<const uint8_t*>(iconBits), static_cast<uint8_t*>(rowBits),
                                   static_cast<size_t>(width) * static_cast<size_t>(height));
        ::BitBlt(target, x, y, width, height, work, 0, 0, SRCCOPY);
        ::SelectObject(work, oldWork);
        ::SelectObject(source, oldSource);
    }
    if (work)
        ::DeleteDC(work);
    if (iconCopy)
        ::DeleteObject(iconCopy);
    if (rowCopy)
        ::DeleteObject(rowCopy);
    ::DeleteDC(source);
}

void DrawRowImage(HDC target, int x, int y, HBITMAP image, COLORREF transparent)
{
    BITMAP info = {};
    if (!image || !::GetObjectW(image, sizeof(info), &info))
        return;
    if (info.bmBitsPixel == 32 || transparent == CLR_INVALID) {
        DrawPageIcon(target, x, y, image);
        return;
    }
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    HDC source = ::CreateCompatibleDC(target);
    if (!source)
        return;
    HGDIOBJ old = ::SelectObject(source, image);
    ::TransparentBlt(target, x, y, info.bmWidth, height, source, 0, 0, info.bmWidth, height, transparent);
    ::SelectObject(source, old);
    ::DeleteDC(source);
}
