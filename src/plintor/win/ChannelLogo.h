// A channel's logo in a list row: loaded from its file on first use and kept with the channel,
// scaled to the row with its aspect kept and blended over the row's background.
#pragma once

#include <windows.h>

#include "dvb/DVBPlaybackCore/CQORService.h"

// Draws the logo right-aligned 5 pixels inside cell, height rowHeight - 2, vertically centred.
// A channel without a logo, or whose logo failed to load, draws nothing.
void DrawChannelLogo(HDC dc, DVBPlaybackCore::CQORService* channel, const RECT& cell, COLORREF background);
