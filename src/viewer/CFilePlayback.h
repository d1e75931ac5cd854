// The media-file playback graph the main frame owns.
#pragma once

#include "media/playback/win/CFilePlayback.h"

using playback::CFilePlayback;
