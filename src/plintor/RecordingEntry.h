// What the recording dialog derives from its fields: the duration of a start and end time of
// day, the description taken from the target file's name, and a job name no other recording has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dvb/DVBPlaybackCore/JobName.h"

namespace plintor {

// Seconds from the start to the end time of day (seconds since midnight, whole minutes): an end
// at or before the start ends the next day, so equal times give 24 hours.
int64_t RecordingDuration(int32_t startOfDay, int32_t endOfDay);

// The file name of a path without its folder and extension: the text after the last '\' up to
// the last '.' of that name. A name without '.' is kept whole, also under a dotted folder.
std::u16string DescriptionFromPath(const std::u16string& path);

// Job names free among the records and the jobs.
using DVBPlaybackCore::FreeJobName;

// Which of the three plural forms a count takes: 1 for one, 2 for two to four, 3 otherwise.
int PluralForm(uint32_t count);

// The user's time format without its seconds: when "ss" occurs after the first character, the
// separator before it goes with it ("HH:mm:ss" gives "HH:mm").
std::u16string TimeFormatWithoutSeconds(const std::u16string& format);

// The repeat a record gets from the dialog: kind 0 (once), 1 (daily) or 2 (weekly), the interval
// and the weekday mask (bit 0 Sunday .. bit 6 Saturday). Simple mode always records once.
struct CRecordingRepeat {
    uint32_t kind = 0;
    uint16_t interval = 0;
    uint16_t weekDays = 0;
};

// False when the choice cannot be recorded: weekly without a weekday. `repeatChoice` is the
// repeat list's position (0 once, 1 daily, 2 weekly); an interval below 1 counts as 1.
bool ComposeRepeat(bool advanced, int repeatChoice, int interval, uint16_t weekDays, CRecordingRepeat* out);

} // namespace plintor
