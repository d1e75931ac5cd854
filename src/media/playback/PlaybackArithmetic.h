// The arithmetic of the playback objects, kept apart from the graphs so it can be checked alone:
// volume levels, frame times, seek positions and the position display's values.
#pragma once

#include <cstdint>

#include "framework/CString.h"

namespace playback {

// IBasicAudio level in hundredths of a decibel for a volume in percent:
// -(10 ^ (4 x sqrt(1 - percent / 100))), truncated toward zero. Percent is clamped to 0..100, so
// the level stays within -10000..-1 (outside that range the root would be of a negative number,
// or the level below what the audio renderer takes).
int32_t VolumeLevel(int percent);

// A frame's start time (100 ns) back on the stream's 90 kHz time line of the given base.
int64_t PresentationTime(int64_t start, int64_t referenceBase);

// The position (100 ns) a seek to a fraction of the duration (seconds) goes to; the fraction is
// clamped to 0..1 (not-a-number counts as 0).
int64_t SeekPosition(double fraction, double durationSeconds);

// The played fraction the position display shows: 0 for a duration of (about) 0.
float PlayedFraction(double positionSeconds, double durationSeconds);

// The file name shown for a path: everything after its last backslash.
CString FileNameOfPath(const CString& path);

} // namespace playback
