// Drawing a page icon or a row image onto a row: 32-bit bitmaps blended by their alpha over what
// the row shows, others copied as they are, or with a transparent colour when they have one.
#pragma once

#include <windows.h>

void DrawPageIcon(HDC target, int x, int y, HBITMAP icon);

// Like DrawPageIcon, but a bitmap without alpha that has a transparent colour (not CLR_INVALID)
// leaves the row showing wherever it holds that colour.
void DrawRowImage(HDC target, int x, int y, HBITMAP image, COLORREF transparent);
