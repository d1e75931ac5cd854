// The bold "Tahoma" of the page headings and the page list, sized in points for the screen.
#pragma once

#include <windows.h>

#include "framework/win/CFont.h"

BOOL CreateBoldTahoma(CFont& font, int points, BYTE quality);
