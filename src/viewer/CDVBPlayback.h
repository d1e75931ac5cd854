// The live playback graph the main frame owns.
#pragma once

#include "media/playback/win/CDVBPlayback.h"

using playback::CDVBPlayback;
