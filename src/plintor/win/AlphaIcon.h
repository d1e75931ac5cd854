// Drawing a 32 x 32 page icon onto a row: 32-bit icons blended by their alpha over what the row
// shows, others copied as they are.
#pragma once

#include <windows.h>

void DrawPageIcon(HDC target, int x, int y, HBITMAP icon);
