#include "framework/win/CFont.h"

BOOL CFont::CreateFont(int height, int weight, BYTE charSet, BYTE quality, BYTE pitchAndFamily, LPCWSTR face)
{
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = charSet;
    font.lfQuality = quality;
    font.lfPitchAndFamily = pitchAndFamily;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirect(&font);
}
