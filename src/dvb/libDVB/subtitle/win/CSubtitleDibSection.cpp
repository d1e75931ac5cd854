#include "dvb/libDVB/subtitle/win/CSubtitleDibSection.h"

#include <cstring>

namespace libDVB {

CSubtitleDibSection::CSubtitleDibSection()
{
    m_dc = CreateCompatibleDC(nullptr);
    if (!m_dc)
        return;
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight; // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_bitmap || !bits)
        return;
    m_pixels = static_cast<uint32_t*>(bits);
    std::memset(m_pixels, 0, sizeof(uint32_t) * kWidth * kHeight);
    m_previous = SelectObject(m_dc, m_bitmap);
}

CSubtitleDibSection::~CSubtitleDibSection()
{
    if (m_dc && m_previous)
        SelectObject(m_dc, m_previous);
    if (m_bitmap)
        DeleteObject(m_bitmap);
    if (m_dc)
        DeleteDC(m_dc);
}

} // namespace libDVB
