#include "plintor/win/PageFont.h"

BOOL CreateBoldTahoma(CFont& font, int points, BYTE quality)
{
    HDC screen = ::CreateCompatibleDC(nullptr);
    const int height = -MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::DeleteDC(screen);
    return font.CreateFont(height, FW_BOLD, DEFAULT_CHARSET, quality, VARIABLE_PITCH, L"Tahoma");
}

BOOL CreateTahoma(CFont& font, int points, int weight, bool italic)
{
    HDC screen = ::CreateCompatibleDC(nullptr);
    LOGFONTW face = {};
    face.lfHeight = -MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::DeleteDC(screen);
    face.lfWeight = weight;
    face.lfItalic = italic ? TRUE : FALSE;
    face.lfCharSet = DEFAULT_CHARSET;
    face.lfQuality = CLEARTYPE_QUALITY;
    face.lfPitchAndFamily = VARIABLE_PITCH;
    lstrcpynW(face.lfFaceName, L"Tahoma", LF_FACESIZE);
    return font.CreateFontIndirect(&face);
}
