// The dispatcher's rules that need no window: recording file names, the timeshift button table,
// the volume steps.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace viewer {

// Characters a file name cannot hold (\ / : * ? " < > | and control characters) become '-'; a
// short date such as 1/2/2007 or a title such as "Who? What:" would otherwise fail the open.
std::u16string FileNamePart(std::u16string text);

// "channel - middle (date).mpg", each part made fit for a file name.
std::u16string RecordingFileName(const std::u16string& channel, const std::u16string& middle,
                                 const std::u16string& date);

// The path a new recording may take: path itself when free; else " - time" before ".mpg"; when
// that exists too (two starts in one second), " (2)", " (3)" ... after it. The file sink truncates
// what exists, so an existing name is never returned while a free one is left to find.
std::u16string FreeRecordingPath(const std::u16string& path, const std::u16string& time,
                                 const std::function<bool(const std::u16string&)>& exists);

// Play/pause in live mode, from the two flags of the current service's timeshift buffer.
enum class TimeshiftCall { None, Start, StopToLive, Stop };
TimeshiftCall TimeshiftCallFor(bool first, bool second);

// What the OSD shows after the call; stopped is the flag StopTimeshift hands back (only for
// TimeshiftCall::Stop). False when the OSD stays as it is.
struct TimeshiftView {
    int recordIcon;
    const char16_t* button;
};
bool TimeshiftViewAfter(TimeshiftCall call, bool stopped, TimeshiftView& view);

// Volume plus or minus a step, kept within 0 .. 100.
int SteppedVolume(int volume, int delta);

} // namespace viewer
