// The "Tahoma" fonts of the pages, sized in points for the screen: the bold one of the page
// headings and the page list, and those of the lists.
#pragma once

#include <windows.h>

#include "framework/win/CFont.h"

BOOL CreateBoldTahoma(CFont& font, int points, BYTE quality);
// The "Tahoma" of the channel and scheduler lists (ClearType) in any weight, italic or not.
BOOL CreateTahoma(CFont& font, int points, int weight, bool italic);
