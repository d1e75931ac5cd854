#include "plintor/win/PageFont.h"

BOOL CreateBoldTahoma(CFont& font, int points, BYTE quality)
{
    HDC screen = ::CreateCompatibleDC(nullptr);
    const int height = -MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::DeleteDC(screen);
    return font.CreateFont(height, FW_BOLD, DEFAULT_CHARSET, quality, VARIABLE_PITCH, L"Tahoma");
}
