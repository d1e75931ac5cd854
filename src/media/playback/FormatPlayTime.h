// The position display's text of a playing time: "hh:mm.ss".
#pragma once

#include "framework/CString.h"

// Negative or not-a-number times show as zero; times beyond the range of the display's
// integers are clamped.
void FormatPlayTime(double seconds, CString& text);
